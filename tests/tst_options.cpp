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
        QTest::newRow("below") << u"--temps 29"_s << -1 << 2 << mauvaiseDuree.arg(u"29");
        QTest::newRow("above") << u"--temps 301"_s << -1 << 2 << mauvaiseDuree.arg(u"301");
        QTest::newRow("word") << u"--temps abc"_s << -1 << 2 << mauvaiseDuree.arg(u"abc");
        QTest::newRow("signed") << u"--temps +40"_s << -1 << 2 << mauvaiseDuree.arg(u"+40");
        QTest::newRow("a fraction") << u"--temps=1.5"_s << -1 << 2 << mauvaiseDuree.arg(u"1.5");
        QTest::newRow("missing") << u"--temps"_s << -1 << 2
                                 << u"Les Kovrant : il manque la durée après --temps : "_s + valeurs + u'.';
        QTest::newRow("unknown, help not given")
            << u"--vite --help"_s << -1 << 2
            << u"Les Kovrant : option inconnue « --vite » ; le jeu accepte --temps suivi d'une durée : "_s +
                   valeurs + u" (voir kovrant --help)."_s;
        QTest::newRow("not an option")
            << u"--temps 40 quarante"_s << -1 << 2
            << u"Les Kovrant : argument inattendu « quarante » ; le jeu accepte --temps "
               "suivi d'une durée : "_s +
                   valeurs + u" (voir kovrant --help)."_s;
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

    // The machine's setting under the command line's: `fichier` is the settings file (none when null),
    // `temps` as above, 30 when nothing was chosen; `avertit`, a part of the one line of warning, if any.
    void machineSetting_data() {
        QTest::addColumn<QByteArray>("fichier");
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("temps");
        QTest::addColumn<QString>("avertit");
        QTest::newRow("no file") << QByteArray() << u""_s << 30 << QString();
        QTest::newRow("honoured") << "temps=aucune\n"_ba << u""_s << 0 << QString();
        QTest::newRow("blanks kept by quotes") << "temps=\" 40 \"\n"_ba << u""_s << 40 << QString();
        QTest::newRow("command line wins") << "temps=40\n"_ba << u"--temps aucune"_s << 0 << QString();
        QTest::newRow("out of range")
            << "temps=12\n"_ba << u""_s << 30 << u"vaut « 12 », or il faut "_s + valeurs;
        QTest::newRow("a list") << "temps=40, 50\n"_ba << u""_s << 30 << u"« 40, 50 »"_s;
        QTest::newRow("a broken file") << "[General\ntemps=40\n"_ba << u""_s << 30 << u"ne se lisent pas"_s;
        QTest::newRow("a bad one under the command line")
            << "temps=12\n"_ba << u"--temps 300"_s << 300 << QString();
    }
    void machineSetting() {
        QFETCH(QByteArray, fichier);
        QFETCH(QString, arguments);
        QFETCH(int, temps);
        QFETCH(QString, avertit);
        // A folder of its own for each row: Qt keeps the files it read, and would not see a rewrite. The
        // file stands for the machine's settings on every platform, the registry's on Windows included.
        const QTemporaryDir machine;
        const QString chemin = machine.filePath(u"kovrant.conf"_s);
        if (!fichier.isNull()) {
            QFile file(chemin);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(fichier);
        }
        const QSettings reglages(chemin, QSettings::IniFormat);
        const shell::TempsChoisi choisi =
            shell::choisirTemps(shell::lireLigneDeCommande(ligne(arguments)), reglages);
        QCOMPARE(secondes(choisi.temps), temps);
        QCOMPARE(choisi.avertissement.isEmpty(), avertit.isEmpty());
        QVERIFY2(choisi.avertissement.contains(avertit) && !choisi.avertissement.contains(u'\n'),
                 qPrintable(choisi.avertissement));
        // Reading leaves nothing behind.
        QCOMPARE(QDir(machine.path()).isEmpty(), fichier.isNull());
    }
};

QTEST_GUILESS_MAIN(OptionsTest)
#include "tst_options.moc"
