#include "fonts.h"

#include <QFontDatabase>
#include <QStringList>
#include <array>
#include <cmath>

namespace ui {

namespace {

struct Substitute {
    const char* design;
    const char* family;
    bool inherentlyItalic; // a script face must not be slanted once more
};

constexpr std::array<Substitute, 7> substitutes = {{
    {"Times New Roman", "Liberation Serif", false},
    {"Arial", "Liberation Sans", false},
    {"Arial Narrow", "Liberation Sans Narrow", false},
    {"Verdana", "DejaVu Sans", false},
    {"Trebuchet MS", "Open Sans", false},
    {"Tahoma", "Tahoma", false},
    {"Brush Script MT", "Kaushan Script", true},
}};

constexpr std::array<const char*, 11> bundledFiles = {
    ":/fonts/LiberationSerif-Bold.ttf",
    ":/fonts/LiberationSans-Regular.ttf",
    ":/fonts/LiberationSans-Bold.ttf",
    ":/fonts/LiberationSansNarrow-Regular.ttf",
    ":/fonts/LiberationSansNarrow-Bold.ttf",
    ":/fonts/DejaVuSans.ttf",
    ":/fonts/DejaVuSans-Bold.ttf",
    ":/fonts/OpenSans-Regular.ttf",
    ":/fonts/OpenSans-Bold.ttf",
    ":/fonts/WineTahoma.ttf",
    ":/fonts/KaushanScript-Regular.otf",
};

const Substitute* findSubstitute(const QString& designName) {
    for (const Substitute& s : substitutes) {
        if (designName.compare(QLatin1String(s.design), Qt::CaseInsensitive) == 0) {
            return &s;
        }
    }
    return nullptr;
}

} // namespace

void registerBundledFonts() {
    static const bool registered = [] {
        for (const char* file : bundledFiles) {
            QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        }
        for (const Substitute& s : substitutes) {
            QFont::insertSubstitution(QLatin1String(s.design), QLatin1String(s.family));
        }
        return true;
    }();
    Q_UNUSED(registered);
}

QString substituteFamily(const QString& designName) {
    const Substitute* s = findSubstitute(designName);
    return s != nullptr ? QLatin1String(s->family) : designName;
}

QFont makeFont(const QString& designName, double points, bool bold, bool italic, bool underline) {
    registerBundledFonts();
    const Substitute* s = findSubstitute(designName);
    QFont font;
    QStringList families;
    families << substituteFamily(designName) << designName;
    font.setFamilies(families);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))));
    font.setBold(bold);
    font.setItalic(italic && (s == nullptr || !s->inherentlyItalic));
    font.setUnderline(underline);
    // Unhinted outlines keep text the same shape and width at every scale of the window.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace ui
