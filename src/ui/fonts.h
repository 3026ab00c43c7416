#pragma once

#include <QFont>
#include <QString>

namespace ui {

// A font as the layouts name it: the design's family name and its size in points.
struct FontSpec {
    const char* name = "Arial";
    double size = 8.25;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// Maps every design family name to its bundled substitute, once; the substitute's files are loaded when
// a font of that family is first made. Every design name then resolves to the same substitute on every
// system, so measured widths (and the placement that depends on them) do not change from one classroom
// to the next.
void registerBundledFonts();

// The bundled family that stands in for a design family name, or the name itself when none does.
QString substituteFamily(const QString& designName);

// The font for a design name and size. Sizes are turned into whole pixels at 96 dpi, as the original
// platform did (16 pt gives 21 pixels), and the result is independent of the screen's own dpi.
QFont makeFont(const QString& designName, double points, bool bold, bool italic = false,
               bool underline = false);
inline QFont makeFont(const FontSpec& font) {
    return makeFont(QString::fromUtf8(font.name), font.size, font.bold, font.italic, font.underline);
}

} // namespace ui
