#include "bilan_csv.h"
#include "bilan_fichier.h"
#include "support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

exercise::Seance seance(int calculs) {
    exercise::Seance s;
    s.nom = u"maths"_s;
    s.calculs = calculs;
    return s;
}

// Three calculations as a child might have answered them: a good one, one the clock judged with nothing
// keyed, a poor one.
exercise::Bilan bilanDeTrois() {
    exercise::Bilan b;
    b.debut = QDateTime(QDate(2026, 12, 7), QTime(9, 5, 30));
    b.prenom = u"Léa"_s;
    b.lignes = {
        {1, u"345 × 21"_s, u"7000"_s, 7245, 0.0338f, 10, u"jaune"_s, 12},
        {2, u"5 929 : 7"_s, QString(), 847, 1.0f, -5, u"blanc"_s, 30},
        {3, u"12 345 + 67 890"_s, u"60000"_s, 80235, 0.2522f, 0, u"noir"_s, 7},
    };
    return b;
}

QByteArray lire(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QByteArray entete = "\xEF\xBB\xBF"
                          "date;heure;séance;compte;prénom;n°;calcul;estimation;résultat exact;"
                          "écart en %;points;anneau;secondes\r\n"_ba;

} // namespace

class BilanTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The spreadsheet's text, byte for byte.
    void csv_data() {
        QTest::addColumn<int>("garder"); // how many of the three rows were played
        QTest::addColumn<bool>("interrompu");
        QTest::addColumn<QString>("prenom");
        QTest::addColumn<QString>("compte");
        QTest::addColumn<QByteArray>("attendu");
        const QByteArray trois =
            "2026-12-07;09:05;maths;eleve3;Léa;1;345 × 21;7000;7245;3,4;10;jaune;12\r\n"
            "2026-12-07;09:05;maths;eleve3;Léa;2;5 929 : 7;;847;;-5;blanc;30\r\n"
            "2026-12-07;09:05;maths;eleve3;Léa;3;12 345 + 67 890;60000;80235;25,2;0;noir;7\r\n"_ba;
        QTest::newRow("complete") << 3 << false << u"Léa"_s << u"eleve3"_s << entete + trois;
        QTest::newRow("interrupted after one")
            << 1 << true << u"Léa"_s << u"eleve3"_s
            << entete + trois.left(trois.indexOf('\n') + 1) +
                   "2026-12-07;09:05;maths;eleve3;Léa;;séance interrompue après 1 calcul sur 3;;;;;;\r\n"_ba;
        QTest::newRow("interrupted before any")
            << 0 << true << QString() << u"eleve3"_s
            << entete +
                   "2026-12-07;09:05;maths;eleve3;;;séance interrompue après 0 calcul sur 3;;;;;;\r\n"_ba;
        QTest::newRow("a name with the separator, an account like a formula")
            << 1 << false << u"Jean \"Jo\"; B."_s << u"=1+1"_s
            << entete +
                   "2026-12-07;09:05;maths;'=1+1;\"Jean \"\"Jo\"\"; B.\";1;345 × 21;7000;7245;3,4;10;jaune;12\r\n"_ba;
    }
    void csv() {
        QFETCH(int, garder);
        QFETCH(bool, interrompu);
        QFETCH(QString, prenom);
        QFETCH(QString, compte);
        QFETCH(QByteArray, attendu);
        exercise::Bilan b = bilanDeTrois();
        b.lignes = b.lignes.mid(0, garder);
        b.interrompu = interrompu;
        b.prenom = prenom;
        QCOMPARE(exercise::bilan_csv(b, seance(3), compte), attendu);
    }

    void fileName_data() {
        QTest::addColumn<QString>("seance");
        QTest::addColumn<QString>("compte");
        QTest::addColumn<QString>("attendu");
        QTest::newRow("plain") << u"maths"_s << u"eleve3"_s << u"2026-12-07_09h05_maths_eleve3.csv"_s;
        QTest::newRow("what a file name cannot hold")
            << u"a:b"_s << u"ECOLE\\eleve"_s << u"2026-12-07_09h05_a_b_ECOLE_eleve.csv"_s;
    }
    void fileName() {
        QFETCH(QString, seance);
        QFETCH(QString, compte);
        QFETCH(QString, attendu);
        QCOMPARE(exercise::nom_fichier_bilan(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 59)), seance, compte),
                 attendu);
    }

    // Never over a file that is there: the same name three times gives three files, whole.
    void noOverwrite() {
        const QTemporaryDir dossier;
        QFile autre(dossier.filePath(u"b.csv"_s));
        QVERIFY(autre.open(QIODevice::WriteOnly));
        autre.write("someone else's");
        autre.close();
        QStringList chemins;
        for (const QByteArray& texte : {"un"_ba, "deux"_ba}) {
            const shell::Enregistrement e = shell::enregistrerFichier(dossier.path(), u"b.csv"_s, texte);
            QVERIFY2(e.reussi, qPrintable(e.erreur));
            QCOMPARE(lire(e.chemin), texte);
            chemins << QFileInfo(e.chemin).fileName();
        }
        QCOMPARE(chemins, (QStringList{u"b-2.csv"_s, u"b-3.csv"_s}));
        QCOMPARE(lire(autre.fileName()), "someone else's"_ba);
        // Nothing half-written is left beside them.
        QCOMPARE(QDir(dossier.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 (QStringList{u"b-2.csv"_s, u"b-3.csv"_s, u"b.csv"_s}));
    }

    // The folder checked before play.
    void folder_data() {
        QTest::addColumn<QString>("quoi");
        QTest::addColumn<QString>("message");
        QTest::newRow("writable") << u"ici"_s << QString();
        QTest::newRow("missing") << u"absent"_s
                                 << u"n'existe pas ; créez-le, ou nommez-en un autre, avant de jouer."_s;
        QTest::newRow("a file") << u"fichier"_s
                                << u"n'est pas un dossier ; nommez un dossier pour les bilans."_s;
#ifdef Q_OS_LINUX
        // Not even root writes there.
        QTest::newRow("not writable")
            << u"/proc"_s
            << u"ne peut pas être écrit ; donnez à ce compte le droit d'y écrire, ou "
               "nommez-en un autre."_s;
#endif
    }
    void folder() {
        QFETCH(QString, quoi);
        QFETCH(QString, message);
        const QTemporaryDir tmp;
        QString dossier = quoi.startsWith(u'/') ? quoi : tmp.filePath(quoi);
        if (quoi == u"ici") {
            dossier = tmp.path();
        } else if (quoi == u"fichier") {
            QFile f(dossier);
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        const QString faute = shell::verifierDossierBilan(dossier);
        QCOMPARE(faute, message.isEmpty() ? QString()
                                          : u"Les Kovrant : le dossier du bilan « %1 » "_s.arg(
                                                QDir::toNativeSeparators(dossier)) +
                                                message);
        if (quoi == u"ici") {
            QVERIFY(QDir(dossier).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        }
    }

    // The programme saves once, at the bilan screen's call or as the program ends, and a failure leaves
    // the bilan to be saved again. `avant`: what happens to the folder before saving.
    void programme_data() {
        QTest::addColumn<int>("joues");
        QTest::addColumn<bool>("fin");    // saved as the program ends rather than by the bilan screen
        QTest::addColumn<bool>("retire"); // the folder is gone when it is saved
        QTest::addColumn<int>("lignes");  // rows written after the header, 0 when nothing is
        QTest::newRow("finished, saved by the bilan") << 3 << false << false << 3;
        QTest::newRow("finished, saved at the end") << 3 << true << false << 3;
        QTest::newRow("left after one") << 1 << true << false << 2;
        QTest::newRow("the folder removed") << 3 << false << true << 0;
        QTest::newRow("the folder removed, at the end") << 2 << true << true << 0;
    }
    void programme() {
        QFETCH(int, joues);
        QFETCH(bool, fin);
        QFETCH(bool, retire);
        QFETCH(int, lignes);
        QTemporaryDir tmp;
        const QString dossier = tmp.filePath(u"bilans"_s);
        QVERIFY(QDir().mkpath(dossier));
        exercise::Reglages reglages;
        reglages.seance = seance(3);
        reglages.dossier_bilan = dossier;
        testsupport::Game game(1, false, reglages);
        shell::Programme& p = game.programme;
        p.bilan = bilanDeTrois();
        p.bilan.lignes = p.bilan.lignes.mid(0, joues);
        if (retire) {
            QVERIFY(QDir(dossier).removeRecursively());
        }
        qputenv("USER", "eleve3");
        const bool ok = fin ? p.enregistrer_avant_de_quitter() : p.enregistrer_bilan();
        QCOMPARE(ok, !retire);
        QCOMPARE(p.bilan.enregistre, !retire);
        QCOMPARE(p.bilan.interrompu, fin && joues < 3);
        QCOMPARE(p.derniere_erreur().isEmpty(), !retire);
        if (retire) {
            // Tried again once the share is back: the same bilan is written.
            QVERIFY(QDir().mkpath(dossier));
            QVERIFY(p.enregistrer_bilan());
        }
        const QString nom = u"2026-12-07_09h05_maths_eleve3.csv"_s;
        const QByteArray texte = lire(QDir(dossier).filePath(nom));
        QCOMPARE(texte, exercise::bilan_csv(p.bilan, reglages.seance, u"eleve3"_s));
        QCOMPARE(texte.count('\n'), 1 + (retire ? joues + (fin && joues < 3) : lignes));
        // Saved once: the bilan screen's second call and the end of the program write nothing more.
        QVERIFY(p.enregistrer_bilan());
        QVERIFY(p.enregistrer_avant_de_quitter());
        QCOMPARE(QDir(dossier).entryList(QDir::Files | QDir::Hidden), QStringList{nom});
    }

    // Without a folder, or without a séance, nothing is written and nothing fails.
    void nothingToWrite() {
        QTemporaryDir tmp;
        exercise::Reglages reglages;
        reglages.dossier_bilan = tmp.path(); // no séance
        testsupport::Game game(1, false, reglages);
        QVERIFY(game.programme.enregistrer_avant_de_quitter());
        QVERIFY(QDir(tmp.path()).isEmpty());
    }
};

QTEST_MAIN(BilanTest)
#include "tst_bilan.moc"
