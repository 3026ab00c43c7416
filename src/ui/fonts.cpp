#include "fonts.h"

#include <QFontDatabase>
#include <QResource>
#include <QStringList>
#include <array>
#include <cmath>

namespace ui {

namespace {

struct Substitute {
    const char* design;
    const char* family;
    bool inherentlyItalic; // a script face must not be slanted once more
    std::array<const char*, 2> files;
};

const std::array<Substitute, 7> substitutes = {{
    {"Times New Roman", "Liberation Serif", false, {":/fonts/LiberationSerif-Bold.ttf", nullptr}},
    {"Arial",
     "Liberation Sans",
     false,
     {":/fonts/LiberationSans-Regular.ttf", ":/fonts/LiberationSans-Bold.ttf"}},
    {"Arial Narrow",
     "Liberation Sans Narrow",
     false,
     {":/fonts/LiberationSansNarrow-Regular.ttf", ":/fonts/LiberationSansNarrow-Bold.ttf"}},
    {"Verdana", "DejaVu Sans", false, {":/fonts/DejaVuSans.ttf", ":/fonts/DejaVuSans-Bold.ttf"}},
    {"Trebuchet MS", "Open Sans", false, {":/fonts/OpenSans-Regular.ttf", ":/fonts/OpenSans-Bold.ttf"}},
    {"Tahoma", "Tahoma", false, {":/fonts/WineTahoma.ttf", nullptr}},
    {"Brush Script MT", "Kaushan Script", true, {":/fonts/KaushanScript-Regular.otf", nullptr}},
}};

const Substitute* findSubstitute(const QString& designName) {
    for (const Substitute& s : substitutes) {
        if (designName.compare(QLatin1String(s.design), Qt::CaseInsensitive) == 0) {
            return &s;
        }
    }
    return nullptr;
}

// A family's files are registered the first time a font of it is asked for, straight from the program's
// own (uncompressed) resources: no copy of the font data is made, and a window that never shows a
// family never pays for it.
void registerFamily(const Substitute& s) {
    static std::array<bool, substitutes.size()> registered{};
    bool& done = registered[std::size_t(&s - substitutes.data())];
    if (done) {
        return;
    }
    done = true;
    for (const char* file : s.files) {
        if (file == nullptr) {
            continue;
        }
        const QResource resource(QString::fromLatin1(file));
        if (resource.compressionAlgorithm() == QResource::NoCompression) {
            QFontDatabase::addApplicationFontFromData(QByteArray::fromRawData(
                reinterpret_cast<const char*>(resource.data()), static_cast<qsizetype>(resource.size())));
        } else {
            QFontDatabase::addApplicationFont(resource.fileName());
        }
    }
}

} // namespace

void registerBundledFonts() {
    static const bool registered = [] {
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
    if (s != nullptr) {
        registerFamily(*s);
    }
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
