// Plays a short, seeded game offscreen and saves each screen as the player sees it, scene for scene at
// scale 1; then the rules and the clock with 40 seconds allowed and with no limit, into temps/. The same
// seed always gives the same pictures, so a change in them is a change in the game.
//
//   kovrant-screenshots [directory]      (docs/screenshots by default)
//   kovrant-screenshots --compare EXPECTED WRITTEN
//
// --compare checks that every picture of EXPECTED (its own and temps/) was written again with the same
// pixels: what the pictures show, not how a PNG library packed them.

#include "kovrant.h"
#include "programme.h"
#include "runtime.h"
#include "temps_accorde.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextStream>
#include <cmath>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

// The programme that main() builds.
shell::Programme* programme = nullptr;

QString outputDir;
bool failed = false;

void save(const ui::Form& form, const char* name) {
    const QString path = outputDir + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png");
    // The scene is opaque: no alpha channel, smaller files.
    if (!form.render(1.0).convertToFormat(QImage::Format_RGB32).save(path, "PNG")) {
        QTextStream(stderr) << "cannot write " << path << '\n';
        failed = true;
    }
}

// The whole window as shown, beyond the scene.
void saveWidget(ui::Form& form, const QString& path) {
    if (!form.grab().toImage().convertToFormat(QImage::Format_RGB32).save(path, "PNG")) {
        QTextStream(stderr) << "cannot write " << path << '\n';
        failed = true;
    }
}

void press(ui::Form& form, Qt::Key key, const QString& text) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&form, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&form, &up);
}

void type(ui::Form& form, const QString& digits) {
    for (const QChar c : digits) {
        press(form, Qt::Key(Qt::Key_0 + c.digitValue()), QString(c));
    }
}

void enter(ui::Form& form) {
    press(form, Qt::Key_Return, QStringLiteral("\r"));
}

void click(ui::Form& form, QStringView control, int index = 0) {
    const ui::Control* c = form.findControl(control, index);
    if (c == nullptr) {
        QTextStream(stderr) << "no control " << control.toString() << '\n';
        std::exit(1);
    }
    const QPointF at = form.widgetPointForTwips(QRectF(c->twips()).center());
    const QPointF global = form.mapToGlobal(at);
    QMouseEvent down(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &up);
}

exercise::Kovrant& kovrant() {
    return programme->kovrant().as<exercise::Kovrant>();
}

QString exactResult() {
    return QString::number(std::llround(double(kovrant().champs().calcul.resultat)));
}

// An estimate five times too small: far enough off to lose points and be shown the help line.
QString farOffEstimate() {
    const long long fifth = std::llround(double(kovrant().champs().calcul.resultat) / 5.0);
    return QString::number(fifth < 1 ? 1 : fifth);
}

// A sensible estimate: the result with every digit after the first two set to zero.
QString goodEstimate() {
    QString digits = exactResult();
    for (qsizetype i = 2; i < digits.size(); ++i) {
        digits[i] = QLatin1Char('0');
    }
    return digits;
}

// The exercise with its number pad, as a whiteboard or a laptop shows it: the whole window, the pad
// beside or below the scene, a question with an answer keyed on the pad, then its verdict.
void savePad(const QString& dir) {
    exercise::Reglages reglages;
    reglages.pave = true;
    shell::Programme jeu({.graine = [] { return 1u; }, .fin = [] {}, .reglages = reglages});
    jeu.runtime().setFollowWindowSystem(false);
    jeu.hasard().seed(1);
    jeu.module11.operations_choisies[2] = 1;
    jeu.kovrant().show();
    auto& k = jeu.kovrant().as<exercise::Kovrant>();
    k.setWindowState(Qt::WindowNoState);
    const QString result = QString::number(std::llround(double(k.champs().calcul.resultat)));
    const QSize sizes[] = {QSize(1920, 1080), QSize(1280, 800)};
    const auto saveAll = [&](const QString& what) {
        for (const QSize size : sizes) {
            k.resize(size);
            saveWidget(k,
                       u"%1/exercice-%2x%3-%4.png"_s.arg(dir).arg(size.width()).arg(size.height()).arg(what));
        }
    };
    for (const QChar digit : result.left(2)) {
        click(k, QString(digit));
    }
    for (int second = 0; second < 4; ++second) {
        k.timer1().fire();
    }
    saveAll(u"question"_s);
    for (const QChar digit : result.mid(2)) {
        click(k, QString(digit));
    }
    click(k, u"valider");
    for (int tick = 0; tick <= 170; ++tick) {
        k.timer2().fire();
    }
    saveAll(u"verdict"_s);
    jeu.runtime().shutdown();
}

// The rules and the clock for an adult's time allowance: the rules as the child reads them, then a
// question left unanswered but for a 0 as long as `seconds` ticks, the verdict's blink over.
void playTimeAllowed(exercise::TempsAccorde temps, const char* rules, const char* clock, int seconds) {
    exercise::Reglages reglages;
    reglages.temps = temps;
    shell::Programme programmeTemps({.graine = [] { return 1u; }, .fin = [] {}, .reglages = reglages});
    programme = &programmeTemps;
    programmeTemps.runtime().setFollowWindowSystem(false);
    programmeTemps.accueil().show();
    ui::Form& presentation = programme->presentation().get();
    save(presentation, rules);
    click(presentation, u"Table", 1);
    click(presentation, u"flèche");
    ui::Form& game = kovrant();
    type(game, QStringLiteral("0"));
    for (int second = 0; second < seconds; ++second) {
        kovrant().timer1().fire();
    }
    for (int tick = 0; tick <= 170; ++tick) {
        kovrant().timer2().fire();
    }
    save(game, clock);
    programmeTemps.runtime().shutdown();
    programme = nullptr;
}

// Every picture of `expected` and its temps/ folder against the one of the same name in `written`.
int compare(const QString& expected, const QString& written) {
    int differ = 0;
    for (const QString& folder :
         {QString(), QStringLiteral("temps/"), QStringLiteral("seance/"), QStringLiteral("pave/")}) {
        const QDir dir(expected + QLatin1Char('/') + folder);
        for (const QString& name : dir.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name)) {
            const QImage before(dir.filePath(name));
            const QImage after(written + QLatin1Char('/') + folder + name);
            if (after.isNull()) {
                QTextStream(stderr) << folder << name << ": not written\n";
                ++differ;
            } else if (before.convertToFormat(QImage::Format_RGB32) !=
                       after.convertToFormat(QImage::Format_RGB32)) {
                QTextStream(stderr) << folder << name << ": not the picture in " << expected
                                    << "; the new one is in " << written << '\n';
                ++differ;
            }
        }
    }
    return differ == 0 ? 0 : 1;
}

// A teacher's séance, seeded the same way: its presentation with a first name typed, and its bilan.
bool seance(const QString& dir) {
    using exercise::Operation;
    exercise::Reglages reglages;
    reglages.seance.nom = QStringLiteral("produits");
    reglages.seance.titre = QStringLiteral("Ordre de grandeur d'un produit");
    reglages.seance.prenom = true;
    reglages.seance.liste = {{Operation::Multiplication, 345, 21},
                             {Operation::Division, 5929, 7},
                             {Operation::Soustraction, 9000, 1234},
                             {Operation::Addition, 12345, 67890},
                             {Operation::Multiplication, 48, 52}};
    shell::Programme jeu({.graine = [] { return 1u; }, .fin = [] {}, .reglages = reglages});
    programme = &jeu;
    jeu.runtime().setFollowWindowSystem(false);
    jeu.hasard().seed(1);
    jeu.accueil().show();
    ui::Form& presentation = jeu.presentation().get();
    for (const QChar c : QStringLiteral("Léa")) {
        press(presentation, Qt::Key_unknown, QString(c));
    }
    save(presentation, "seance/presentation");
    click(presentation, u"flèche");

    ui::Form& game = kovrant();
    // Exact; the clock with nothing keyed; close; too far; exact.
    const char* const estimates[] = {"7245", "", "7000", "60000", "2496"};
    for (const char* estimate : estimates) {
        if (*estimate == '\0') {
            for (int second = 0; second < 30; ++second) {
                kovrant().timer1().fire();
            }
        } else {
            type(game, QString::fromLatin1(estimate));
            enter(game);
        }
        press(game, Qt::Key_Space, QStringLiteral(" "));
    }
    if (!jeu.ecran_bilan().isLoaded()) {
        QTextStream(stderr) << "the séance did not reach its bilan\n";
        return false;
    }
    save(jeu.ecran_bilan().get(), "seance/bilan");
    jeu.runtime().shutdown();
    programme = nullptr;
    return QDir(dir).exists();
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--compare") {
        return compare(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    outputDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    if (!QDir().mkpath(outputDir + QStringLiteral("/temps")) ||
        !QDir().mkpath(outputDir + QStringLiteral("/seance"))) {
        QTextStream(stderr) << "cannot create " << outputDir << '\n';
        return 1;
    }

    shell::Programme programmeJeu({.graine = [] { return 1u; }, .fin = [] {}});
    programme = &programmeJeu;
    programmeJeu.runtime().setFollowWindowSystem(false);
    programmeJeu.hasard().seed(1);

    // The welcome window lasts only until its Activate shows the presentation; it is caught loaded.
    save(programme->accueil().get(), "accueil");
    programme->accueil().show();

    ui::Form& presentation = programme->presentation().get();
    click(presentation, u"Table", 2);
    save(presentation, "presentation");
    click(presentation, u"flèche");

    ui::Form& game = kovrant();
    type(game, goodEstimate());
    for (int second = 0; second < 7; ++second) {
        kovrant().timer1().fire();
    }
    save(game, "kovrant-question");

    press(game, Qt::Key_Backspace, QStringLiteral("\b"));
    type(game, farOffEstimate());
    enter(game);
    // Past the last blink, the mark stays in its final colour.
    for (int tick = 0; tick <= 170; ++tick) {
        kovrant().timer2().fire();
    }
    save(game, "kovrant-aide");

    // Exact answers, ten points each, until the score passes 99 and the next key ends the game.
    for (int question = 0; question < 50 && programme->kovrant().isLoaded() && !programme->fin().isLoaded();
         ++question) {
        press(game, Qt::Key_Space, QStringLiteral(" "));
        if (programme->fin().isLoaded()) {
            break;
        }
        type(game, exactResult());
        enter(game);
    }
    if (!programme->fin().isLoaded()) {
        QTextStream(stderr) << "the game did not reach its end\n";
        return 1;
    }
    ui::Form& fin = programme->fin().get();
    save(fin, "fin");

    enter(fin);
    save(programme->aurevoir().get(), "aurevoir");
    click(programme->aurevoir().get(), u"flèche");

    programmeJeu.runtime().shutdown();

    const QString padDir = outputDir + QStringLiteral("/pave");
    if (!QDir().mkpath(padDir)) {
        QTextStream(stderr) << "cannot create " << padDir << '\n';
        return 1;
    }
    savePad(padDir);

    playTimeAllowed(*exercise::TempsAccorde::enSecondes(40), "temps/presentation-40",
                    "temps/exercice-40-juge", 40);
    playTimeAllowed(exercise::TempsAccorde::sansLimite(), "temps/presentation-sans-limite",
                    "temps/exercice-sans-limite-306s", 306);
    if (!seance(outputDir)) {
        return 1;
    }
    return failed ? 1 : 0;
}
