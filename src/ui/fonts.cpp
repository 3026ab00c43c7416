#include "fonts.h"

#include "units.h"

#include <QFontDatabase>
#include <QResource>
#include <QStringList>
#include <array>
#include <cmath>
#include <cstdio>
#include <mutex>

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

// What Qt's font database made of one substitute's files: -1 for a file it could not read.
struct Registration {
    std::once_flag once;
    std::array<int, 2> ids{-1, -1};
};

// Qt keeps one font database for the whole process, and a face added twice is listed twice: font matching
// then searches an ever longer list, for every programme ever built. So each bundled face is added once
// per process, by the first programme that needs it, and every later one uses what that one added.
std::array<Registration, substitutes.size()>& registrations() {
    static std::array<Registration, substitutes.size()> added;
    return added;
}

int addFace(const char* file) {
    const QResource resource(QString::fromLatin1(file));
    if (!resource.isValid()) {
        return -1;
    }
    if (resource.compressionAlgorithm() == QResource::NoCompression) {
        return QFontDatabase::addApplicationFontFromData(QByteArray::fromRawData(
            reinterpret_cast<const char*>(resource.data()), static_cast<qsizetype>(resource.size())));
    }
    return QFontDatabase::addApplicationFont(resource.fileName());
}

// The bundled family that stands in for a design family name, or the name itself when none does.
QString substituteFamily(const QString& designName) {
    const Substitute* s = findSubstitute(designName);
    return s != nullptr ? QLatin1String(s->family) : designName;
}

void report(QStringList& failures, const QString& file, const char* why) {
    failures << file;
    std::fprintf(stderr, "Les Kovrant : police %s %s\n", qUtf8Printable(file), why);
}

} // namespace

Fonts::Fonts() : registered_(substitutes.size(), false) {
    // Substitutions are kept by Qt for the whole process; inserting the same one again changes nothing.
    for (const Substitute& s : substitutes) {
        QFont::insertSubstitution(QLatin1String(s.design), QLatin1String(s.family));
    }
}

void Fonts::checkPresent() {
    for (const Substitute& s : substitutes) {
        for (const char* file : s.files) {
            if (file != nullptr && !QResource(QString::fromLatin1(file)).isValid()) {
                report(failures_, QString::fromLatin1(file), "absente du programme");
            }
        }
    }
}

// Straight from the program's own (uncompressed) resources: no copy of the font data is made.
void Fonts::registerFamily(std::size_t index) {
    if (registered_[index]) {
        return;
    }
    registered_[index] = true;
    Registration& added = registrations()[index];
    const std::array<const char*, 2>& files = substitutes[index].files;
    std::call_once(added.once, [&] {
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (files[i] != nullptr) {
                added.ids[i] = addFace(files[i]);
            }
        }
    });
    // Each programme hears of a face that could not be read, not only the first one.
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (files[i] != nullptr && added.ids[i] < 0) {
            report(failures_, QString::fromLatin1(files[i]), "illisible");
        }
    }
}

void Fonts::setSize(QFont& font, double points) {
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(units::pixelsFromPoints(points)))));
}

QFont Fonts::make(const QString& designName, double points, bool bold, bool italic, bool underline) {
    const Substitute* s = findSubstitute(designName);
    if (s != nullptr) {
        registerFamily(std::size_t(s - substitutes.data()));
    }
    QFont font;
    QStringList families;
    families << substituteFamily(designName) << designName;
    font.setFamilies(families);
    setSize(font, points);
    font.setBold(bold);
    font.setItalic(italic && (s == nullptr || !s->inherentlyItalic));
    font.setUnderline(underline);
    // Unhinted outlines keep text the same shape and width at every scale of the window.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace ui
