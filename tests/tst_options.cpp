#include "options.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The seconds allowed, 0 for no limit, -1 when nothing was chosen.
int secondes(std::optional<exercise::TempsAccorde> temps) {
    return !temps ? -1 : temps->illimite() ? 0 : temps->secondes();
}

QStringList ligne(const QString& arguments) {
    return QStringList{u"kovrant"_s} + arguments.split(u' ', Qt::SkipEmptyParts);
}

const QString valeurs = u"un nombre entier de secondes de 30 à 300, ou « aucune »"_s;
const QString mauvaiseDuree =
    u"Les Kovrant : « %1 » n'est pas une durée possible pour --temps : "_s + valeurs + u'.';

} // namespace

class OptionsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // `statut` -1: the game starts. For the help (0) `message` is a part of what it says.
    void commandLine_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("temps");
        QTest::addColumn<int>("statut");
        QTest::addColumn<QString>("message");
        QTest::newRow("none") << u""_s << -1 << -1 << QString();
        QTest::newRow("lowest") << u"--temps 30"_s << 30 << -1 << QString();
        QTest::newRow("highest, glued") << u"--temps=300"_s << 300 << -1 << QString();
        QTest::newRow("no limit") << u"--temps aucune"_s << 0 << -1 << QString();
        QTest::newRow("among Qt's options")
            << u"-platform offscreen --temps 40 -style=fusion --session 1a -reverse"_s << 40 << -1
            << QString();
        QTest::newRow("help") << u"--help"_s << -1 << 0 << u"--temps DURÉE"_s;
        QTest::newRow("help on a séance") << u"--help"_s << -1 << 0 << u"--bilan DOSSIER"_s;
        QTest::newRow("below") << u"--temps 29"_s << -1 << 2 << mauvaiseDuree.arg(u"29");
        QTest::newRow("above") << u"--temps 301"_s << -1 << 2 << mauvaiseDuree.arg(u"301");
        QTest::newRow("signed") << u"--temps +40"_s << -1 << 2 << mauvaiseDuree.arg(u"+40");
        QTest::newRow("a fraction") << u"--temps=1.5"_s << -1 << 2 << mauvaiseDuree.arg(u"1.5");
        QTest::newRow("missing") << u"--temps"_s << -1 << 2
                                 << u"Les Kovrant : il manque la durée après --temps : "_s + valeurs + u'.';
        const QString accepte =
            u" ; le jeu accepte une séance (fichier .kovrant), --temps suivi d'une durée : "_s + valeurs +
            u", --bilan suivi d'un dossier, --pave (voir kovrant --help)."_s;
        QTest::newRow("unknown, help not given")
            << u"--vite --help"_s << -1 << 2 << u"Les Kovrant : option inconnue « --vite »"_s + accepte;
        QTest::newRow("not an option") << u"--temps 40 quarante"_s << -1 << 2
                                       << u"Les Kovrant : argument inattendu « quarante »"_s + accepte;
        QTest::newRow("two séances")
            << u"a.kovrant b.kovrant"_s << -1 << 2
            << u"Les Kovrant : deux séances, « a.kovrant » et « b.kovrant » ; le jeu en "
               "ouvre une à la fois."_s;
        QTest::newRow("bilan without its folder")
            << u"--bilan"_s << -1 << 2 << u"Les Kovrant : il manque le dossier après --bilan."_s;
        QTest::newRow("pave, a bad value")
            << u"--pave=peut-etre"_s << -1 << 2
            << u"Les Kovrant : « peut-etre » ne convient pas pour --pave ; il faut oui ou non."_s;
    }
    void commandLine() {
        QFETCH(QString, arguments);
        QFETCH(int, temps);
        QFETCH(int, statut);
        QFETCH(QString, message);
        const shell::Demande demande = shell::lireLigneDeCommande(ligne(arguments));
        QCOMPARE(demande.statut.value_or(-1), statut);
        QCOMPARE(secondes(demande.temps), temps);
        if (statut == 0) {
            QVERIFY2(demande.texte.contains(message), qPrintable(demande.texte));
        } else {
            QCOMPARE(demande.texte, message);
        }
    }

    // What else the command line names: the séance, the bilan's folder, the pad (1 yes, 0 no, -1 unsaid).
    void seanceLine_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("seance");
        QTest::addColumn<QString>("bilan");
        QTest::addColumn<int>("pave");
        QTest::newRow("nothing") << u""_s << QString() << QString() << -1;
        QTest::newRow("a séance") << u"maths.kovrant"_s << u"maths.kovrant"_s << QString() << -1;
        QTest::newRow("everything") << u"--bilan /srv/b --pave maths.kovrant --temps 40"_s
                                    << u"maths.kovrant"_s << u"/srv/b"_s << 1;
        QTest::newRow("pave non") << u"--pave non m.kovrant"_s << u"m.kovrant"_s << QString() << 0;
        QTest::newRow("glued") << u"--bilan=/srv/b --pave=non"_s << QString() << u"/srv/b"_s << 0;
    }
    void seanceLine() {
        QFETCH(QString, arguments);
        QFETCH(QString, seance);
        QFETCH(QString, bilan);
        QFETCH(int, pave);
        const shell::Demande demande = shell::lireLigneDeCommande(ligne(arguments));
        QVERIFY2(!demande.statut, qPrintable(demande.texte));
        QCOMPARE(demande.seance, seance);
        QCOMPARE(demande.bilan, bilan);
        QCOMPARE(demande.pave ? int(*demande.pave) : -1, pave);
    }

    // The three places an adult sets things, in their order: the command line over the séance, the séance
    // over the machine. `dossier` is the bilan's folder the game keeps ("" for none), relative to the
    // test's folder; `statut` 2 with a part of its line, when the game does not start.
    void preparer_data() {
        QTest::addColumn<QByteArray>("machine");
        QTest::addColumn<QByteArray>("seance"); // the file's text; null for no séance
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("temps");
        QTest::addColumn<QString>("dossier");
        QTest::addColumn<int>("pave");
        QTest::addColumn<int>("statut");
        QTest::addColumn<QString>("message");
        QTest::newRow("the game as designed") << "bilan=%1/machine\npave=oui\n"_ba << QByteArray() << u""_s
                                              << 30 << u""_s << 1 << -1 << QString();
        QTest::newRow("the machine's")
            << "temps=50\nbilan=%1/machine\npave=non\n"_ba
            << "titre=t\n"_ba << u""_s << 50 << u"machine"_s << 0 << -1 << QString();
        QTest::newRow("the séance's over the machine's")
            << "temps=50\nbilan=%1/machine\npave=non\n"_ba
            << "temps=60\nbilan=classe\npave=oui\n"_ba << u""_s << 60 << u"classe"_s << 1 << -1 << QString();
        QTest::newRow("the command line's over the séance's")
            << "temps=50\n"_ba
            << "temps=60\nbilan=classe\npave=oui\n"_ba << u"--temps aucune --bilan %1/ligne --pave non"_s << 0
            << u"ligne"_s << 0 << -1 << QString();
        QTest::newRow("nobody said") << QByteArray() << "titre=t\n"_ba << u""_s << 30 << u""_s << -1 << -1
                                     << QString();
        QTest::newRow("a bad pave on the machine")
            << "pave=peut-etre\n"_ba
            << "titre=t\n"_ba << u""_s << 30 << u""_s << -1 << -1
            << u"le réglage pave de cet ordinateur vaut « peut-etre », or il faut oui ou non"_s;
        QTest::newRow("the machine's folder missing, with a séance")
            << "bilan=%1/absent\n"_ba
            << "titre=t\n"_ba << u""_s << 30 << u""_s << -1 << 2
            << u"le dossier du bilan « %1/absent » n'existe pas"_s;
        QTest::newRow("a mistake in the séance")
            << QByteArray() << "niveau=9\n"_ba << u""_s << 30 << u""_s << -1 << 2
            << u"maths.kovrant, ligne 1 : « 9 » ne convient pas pour niveau"_s;
        // The machine's time alone: read as written, blanks kept by quotes; anything else is one warning.
        QTest::newRow("blanks kept by quotes")
            << "temps=\" 40 \"\n"_ba << QByteArray() << u""_s << 40 << u""_s << -1 << -1 << QString();
        QTest::newRow("out of range") << "temps=12\n"_ba << QByteArray() << u""_s << 30 << u""_s << -1 << -1
                                      << u"vaut « 12 », or il faut "_s + valeurs;
        QTest::newRow("a list") << "temps=40, 50\n"_ba << QByteArray() << u""_s << 30 << u""_s << -1 << -1
                                << u"« 40, 50 »"_s;
        QTest::newRow("a broken file") << "[General\ntemps=40\n"_ba << QByteArray() << u""_s << 30 << u""_s
                                       << -1 << -1 << u"ne se lisent pas"_s;
    }
    void preparer() {
        QFETCH(QByteArray, machine);
        QFETCH(QByteArray, seance);
        QFETCH(QString, arguments);
        QFETCH(int, temps);
        QFETCH(QString, dossier);
        QFETCH(int, pave);
        QFETCH(int, statut);
        QFETCH(QString, message);
        const QTemporaryDir tmp;
        for (const char* nom : {"machine", "classe", "ligne"}) {
            QVERIFY(QDir(tmp.path()).mkdir(QString::fromLatin1(nom)));
        }
        const QString conf = tmp.filePath(u"kovrant.conf"_s);
        if (!machine.isNull()) {
            QFile f(conf);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(machine.replace("%1", tmp.path().toUtf8()));
        }
        QStringList args = ligne(arguments.contains(u"%1") ? arguments.arg(tmp.path()) : arguments);
        if (!seance.isNull()) {
            QFile f(tmp.filePath(u"maths.kovrant"_s));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(seance);
            args << f.fileName();
        }
        const QSettings reglages(conf, QSettings::IniFormat);
        const shell::Preparation p = shell::preparer(shell::lireLigneDeCommande(args), reglages);
        QCOMPARE(p.statut.value_or(-1), statut);
        if (statut == 2) {
            QVERIFY2(p.erreur.contains(QDir::toNativeSeparators(message.arg(tmp.path()))) &&
                         !p.erreur.contains(u'\n'),
                     qPrintable(p.erreur));
            return;
        }
        QCOMPARE(p.avertissements.join(u'\n').contains(message), true);
        QCOMPARE(p.avertissements.isEmpty(), message.isEmpty());
        QCOMPARE(p.reglages.seance.active(), !seance.isNull());
        QCOMPARE(secondes(p.reglages.temps), temps);
        QCOMPARE(p.reglages.dossier_bilan, dossier.isEmpty() ? QString() : tmp.filePath(dossier));
        QCOMPARE(p.pave ? int(*p.pave) : -1, pave);
        // Reading leaves nothing behind.
        QCOMPARE(QFile::exists(conf), !machine.isNull());
    }

    // The pad when nobody said: shown on a touch screen only.
    void pave_data() {
        QTest::addColumn<int>("demande");
        QTest::addColumn<bool>("tactile");
        QTest::addColumn<bool>("voulu");
        QTest::newRow("unsaid, touch") << -1 << true << true;
        QTest::newRow("unsaid, no touch") << -1 << false << false;
        QTest::newRow("refused, touch") << 0 << true << false;
        QTest::newRow("asked, no touch") << 1 << false << true;
    }
    void pave() {
        QFETCH(int, demande);
        QFETCH(bool, tactile);
        QFETCH(bool, voulu);
        QCOMPARE(shell::paveVoulu(demande < 0 ? std::nullopt : std::optional<bool>(demande == 1), tactile),
                 voulu);
    }
};

QTEST_GUILESS_MAIN(OptionsTest)
#include "tst_options.moc"
