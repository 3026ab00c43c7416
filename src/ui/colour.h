#pragma once

#include "integer.h"

#include <QColor>

namespace ui {

// A colour as the layouts write it: &HBBGGRR&, or a system colour when the top bit is set.
struct Colour {
    quint32 ole = 0;
    friend constexpr bool operator==(Colour, Colour) = default;
};

namespace colours {
constexpr Colour black{0x000000};
constexpr Colour white{0xFFFFFF};
constexpr Colour windowBackground{0x80000005};
constexpr Colour windowText{0x80000008};
constexpr Colour labelText{0x80000012};
} // namespace colours

QColor toQColor(Colour c);

// The classic sixteen-colour palette, indexes 0 to 15; any other index is an invalid call.
QColor paletteColour(Integer index);

} // namespace ui
