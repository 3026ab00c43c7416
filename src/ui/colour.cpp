#include "colour.h"

#include <array>

namespace ui {

QColor toQColor(base::Colour c) {
    if ((c.ole & 0x80000000u) != 0) {
        // System colours follow the usual light desktop scheme on every machine, so that a classroom
        // with a dark theme still sees the screens as designed.
        switch (c.ole & 0xFFu) {
        case 0x05: // window background
            return Qt::white;
        case 0x0F: // button face
            return QColor(240, 240, 240);
        default: // window text, button text and the rest
            return Qt::black;
        }
    }
    return QColor(int(c.ole & 0xFFu), int((c.ole >> 8) & 0xFFu), int((c.ole >> 16) & 0xFFu));
}

QColor paletteColour(base::Integer index) {
    static constexpr std::array<QRgb, 16> palette = {
        qRgb(0, 0, 0),       qRgb(0, 0, 128),   qRgb(0, 128, 0),   qRgb(0, 128, 128),
        qRgb(128, 0, 0),     qRgb(128, 0, 128), qRgb(128, 128, 0), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(0, 0, 255),   qRgb(0, 255, 0),   qRgb(0, 255, 255),
        qRgb(255, 0, 0),     qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(255, 255, 255),
    };
    if (index.value() < 0 || index.value() > 15) {
        base::runtimeError(base::ErrorCode::InvalidCall);
    }
    return QColor::fromRgb(palette[static_cast<std::size_t>(index.value())]);
}

} // namespace ui
