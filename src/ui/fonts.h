#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <vector>

namespace ui {

// A font as the layouts name it: the design's family name and its size in points.
struct FontSpec {
    const char* name = "Arial";
    double size = 8.25;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// The bundled fonts of one program. Every design family name maps to its bundled substitute, so measured
// widths (and the placement that depends on them) do not change from one classroom to the next. A
// substitute's files are loaded when a font of that family is first made: a window that never shows a
// family never pays for it. Qt's font database is the process's, so a face is added to it once per
// process, whichever programme needs it first; each programme still hears of a face that cannot be read.
class Fonts {
public:
    Fonts();
    Fonts(const Fonts&) = delete;
    Fonts& operator=(const Fonts&) = delete;

    // The font for a design name and size. Sizes are turned into whole pixels at 96 dpi, as the original
    // platform did (16 pt gives 21 pixels), and the result is independent of the screen's own dpi.
    QFont make(const QString& designName, double points, bool bold, bool italic = false,
               bool underline = false);
    QFont make(const FontSpec& font) {
        return make(QString::fromUtf8(font.name), font.size, font.bold, font.italic, font.underline);
    }
    // Gives `font` a size in points, in whole pixels at 96 dpi like `make`.
    static void setSize(QFont& font, double points);

    // Bundled font files that could not be loaded, as resource paths; each was also reported on stderr.
    const QStringList& failures() const { return failures_; }
    // Checks that every bundled font file is present, without loading any: what start-up can afford.
    void checkPresent();

private:
    void registerFamily(std::size_t substitute);

    std::vector<bool> registered_; // families this programme has asked for
    QStringList failures_;
};

} // namespace ui
