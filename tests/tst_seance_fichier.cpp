#include "seance_fichier.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// What a séance read holds, in one line: only what was set appears.
QString resume(const shell::SeanceLue& lue) {
    const exercise::Seance& s = lue.seance;
    QStringList r;
    if (!s.titre.isEmpty()) {
        r << u"titre=" + s.titre;
    }
    if (s.operations) {
        r << u"operations=%1%2%3"_s.arg((*s.operations)[1].value())
                 .arg((*s.operations)[2].value())
                 .arg((*s.operations)[3].value());
    }
    if (s.calculs != 0) {
        r << u"calculs=%1"_s.arg(s.calculs);
    }
    if (s.niveau != 0) {
        r << u"niveau=%1"_s.arg(s.niveau);
    }
    if (lue.temps) {
        r << u"temps=%1"_s.arg(lue.temps->illimite() ? 0 : lue.temps->secondes());
    }
    if (!lue.bilan.isEmpty()) {
        r << u"bilan=" + lue.bilan;
    }
    if (s.prenom) {
        r << u"prenom"_s;
    }
    if (lue.pave) {
        r << u"pave=%1"_s.arg(*lue.pave ? u"oui" : u"non");
    }
    for (const exercise::CalculDonne& c : s.liste) {
        r << QString::number(qint64(c.nombre1)) + QChar(u" +x:-"[int(c.operation)]) +
                 QString::number(qint64(c.nombre2));
    }
    return r.join(u'|');
}

const QString lignePrefixe = u"Les Kovrant : maths.kovrant, ligne %1 : "_s;

} // namespace

class SeanceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A good file and what it sets.
    void good_data() {
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<QString>("attendu");
        QTest::newRow("empty") << ""_ba << QString();
        QTest::newRow("comments, blanks, CRLF, BOM")
            << "\xEF\xBB\xBF# le cours\r\n\r\n   \r\ntitre = Ordre de grandeur # du tableau\r\n"_ba
            << u"titre=Ordre de grandeur"_s;
        QTest::newRow("every key")
            << "titre=Tables\noperations = multiplications, divisions\ncalculs = 50\n"
               "niveau = 4\ntemps = aucune\nbilan = bilans\nprenom = oui\npave = non\n"_ba
            << u"titre=Tables|operations=011|calculs=50|niveau=4|temps=0|"
               "bilan=/classe/bilans|prenom|pave=non"_s;
        QTest::newRow("accents and capitals in keys and words")
            << "Opérations = Additions\nPrénom = OUI\npavé = Oui\nniveau = 1\ncalculs = 1\ntemps = 300\n"_ba
            << u"operations=100|calculs=1|niveau=1|temps=300|prenom|pave=oui"_s;
        QTest::newRow("subtractions are family 1, singular words")
            << "operations = soustraction, division\n"_ba << u"operations=101"_s;
#ifndef Q_OS_WIN
        // A folder from the root is absolute only where paths have no drive letter.
        QTest::newRow("an absolute folder, a title of 60")
            << ("bilan = /srv/bilans/CM2\ntitre = " + QByteArray(60, 'a') + "\n")
            << u"titre="_s + QString(60, u'a') + u"|bilan=/srv/bilans/CM2"_s;
#endif
        QTest::newRow("every way of writing a calculation")
            << "345 × 21\n345 x 21\n345 X 21\n345*21\n5 929 : 7\n5929 / 7\n5929 ÷ 7\n12 345 + 67 890\n"
               "9 000 - 1 234\n9\xC2\xA0"
               "000 \xE2\x88\x92 1\xE2\x80\xAF"
               "234\n"_ba
            << u"345x21|345x21|345x21|345x21|5929:7|5929:7|5929:7|12345+67890|9000-1234|9000-1234"_s;
        QTest::newRow("at the limits")
            << "99999 + 99999\n99 999 - 99 998\n9999 × 999\n1 × 1\n999 999 : 999\n1 : 1\n"_ba
            << u"99999+99999|99999-99998|9999x999|1x1|999999:999|1:1"_s;
        QTest::newRow("a list with titre, temps, bilan, prenom, pave")
            << "titre = Du tableau\ntemps=40\n345 × 21\nprenom=oui\n"_ba
            << u"titre=Du tableau|temps=40|prenom|345x21"_s;
        QTest::newRow("fifty calculations")
            << "12 × 12\n"_ba.repeated(50) << QStringList(50, u"12x12"_s).join(u'|');
    }
    void good() {
        QFETCH(QByteArray, contenu);
        QFETCH(QString, attendu);
        const shell::SeanceLue lue = shell::lireSeance(contenu, u"maths.kovrant"_s, u"maths"_s, u"/classe"_s);
        QCOMPARE(lue.erreur, QString());
        QCOMPARE(resume(lue), attendu);
        QCOMPARE(lue.seance.nom, u"maths"_s);
    }

    // Each mistake, on the line where it is: one line, naming the file, the line and what is expected.
    void bad_data() {
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<int>("ligne");
        QTest::addColumn<QString>("message");
        QTest::newRow("the example") << "titre = Divisions\n\n# du tableau\n5 929 : 8\n"_ba << 4
                                     << u"« 5 929 : 8 » ne tombe pas juste ; une division de la séance doit "
                                        "tomber juste."_s;
        QTest::newRow("unknown key")
            << "calcul = 10\n"_ba << 1
            << u"« calcul » n'est pas un réglage de séance ; les réglages sont titre, operations, calculs, "
               "niveau, temps, bilan, prenom et pave."_s;
        QTest::newRow("given twice")
            << "niveau = 2\ntemps = 40\nniveau = 3\n"_ba << 3
            << u"« niveau » est déjà donné ligne 1 ; une séance le donne une seule fois."_s;
        QTest::newRow("no value") << "calculs =\n"_ba << 1
                                  << u"« calculs » n'a pas de valeur ; il faut un nombre entier de 1 à 50."_s;
        QTest::newRow("calculs 0")
            << "calculs = 0\n"_ba << 1
            << u"« 0 » ne convient pas pour calculs ; il faut un nombre entier de 1 à 50."_s;
        QTest::newRow("calculs 51")
            << "calculs = 51\n"_ba << 1
            << u"« 51 » ne convient pas pour calculs ; il faut un nombre entier de 1 à 50."_s;
        QTest::newRow("niveau 5")
            << "niveau = 5\n"_ba << 1
            << u"« 5 » ne convient pas pour niveau ; il faut un nombre entier de 1 à 4."_s;
        QTest::newRow("temps")
            << "temps = 20\n"_ba << 1
            << u"« 20 » ne convient pas pour temps ; il faut un nombre entier de secondes de "
               "30 à 300, ou « aucune »."_s;
        QTest::newRow("a word for operations")
            << "operations = additions, fractions\n"_ba << 1
            << u"« additions, fractions » ne convient pas pour operations ; il faut additions, "
               u"multiplications "
               "ou divisions, séparées par des virgules (additions comprend les soustractions)."_s;
        QTest::newRow("prenom") << "prenom = peut-être\n"_ba << 1
                                << u"« peut-être » ne convient pas pour prenom ; il faut oui ou non."_s;
        QTest::newRow("title of 61")
            << ("titre = " + QByteArray(61, 'a') + "\n") << 1
            << u"« "_s + QString(61, u'a') +
                   u" » ne convient pas pour titre ; il faut un texte d'au plus 60 caractères."_s;
        QTest::newRow("neither")
            << "titre = x\nbonjour\n"_ba << 2
            << u"« bonjour » n'est ni un réglage (clé = valeur) ni un calcul (comme 345 × 21)."_s;
        QTest::newRow("badly grouped thousands")
            << "12 34 + 5\n"_ba << 1
            << u"« 12 34 + 5 » n'est ni un réglage (clé = valeur) ni un calcul (comme 345 × 21)."_s;
        QTest::newRow("negative")
            << "1 234 - 9 000\n"_ba << 1
            << u"« 1 234 - 9 000 » ne donne pas un résultat positif ; une soustraction de la "
               "séance enlève un nombre plus petit que le premier."_s;
        QTest::newRow("nothing left")
            << "345 - 345\n"_ba << 1
            << u"« 345 - 345 » ne donne pas un résultat positif ; une soustraction de la "
               "séance enlève un nombre plus petit que le premier."_s;
        const QString addition =
            u" sort des nombres du jeu ; une addition de la séance prend des nombres de 1 à "
            "99 999."_s;
        QTest::newRow("addend too large") << "100 000 + 1\n"_ba << 1 << u"« 100 000 + 1 »"_s + addition;
        QTest::newRow("zero") << "0 + 5\n"_ba << 1 << u"« 0 + 5 »"_s + addition;
        QTest::newRow("digits beyond every type")
            << "99999999999999999999 + 1\n"_ba << 1 << u"« 99999999999999999999 + 1 »"_s + addition;
        const QString produit =
            u" sort des nombres du jeu ; une multiplication de la séance prend des nombres de "
            "1 à 9 999, pour un produit sous 10 000 000."_s;
        QTest::newRow("product too large") << "3 125 × 3 200\n"_ba << 1 << u"« 3 125 × 3 200 »"_s + produit;
        QTest::newRow("times zero") << "345 x 0\n"_ba << 1 << u"« 345 x 0 »"_s + produit;
        const QString division =
            u" sort des nombres du jeu ; une division de la séance prend un nombre de 1 à "
            "999 999 divisé par un nombre de 1 à 999."_s;
        QTest::newRow("by zero") << "5 : 0\n"_ba << 1 << u"« 5 : 0 »"_s + division;
        QTest::newRow("dividend too large") << "1 000 002 : 2\n"_ba << 1 << u"« 1 000 002 : 2 »"_s + division;
        const QString liste =
            u"une séance qui liste ses calculs les pose tous, dans l'ordre, et rien d'autre."_s;
        QTest::newRow("calculs before a list")
            << "calculs = 10\n\n345 × 21\n"_ba << 3
            << u"« 345 × 21 » : un calcul ne va pas avec « calculs » (ligne 1) ; "_s + liste;
        QTest::newRow("operations after a list")
            << "345 × 21\noperations = additions\n"_ba << 2
            << u"« operations » ne va pas avec les calculs listés dès la ligne 1 ; "_s + liste;
        QTest::newRow("niveau after a list")
            << "titre = t\n345 × 21\n12 + 13\nniveau = 2\n"_ba << 4
            << u"« niveau » ne va pas avec les calculs listés dès la ligne 2 ; "_s + liste;
        QTest::newRow("fifty-one calculations")
            << "12 × 12\n"_ba.repeated(51) << 51
            << u"« 12 × 12 » fait plus de 50 calculs ; une séance en pose au plus 50."_s;
        const QString pasTexte =
            u"cette ligne n'est pas du texte (UTF-8) ; une séance s'écrit dans un éditeur de texte."_s;
        QTest::newRow("Latin-1") << "titre = ok\ntitre = D\xE9"
                                    "cimal\n"_ba
                                 << 2 << pasTexte;
        QTest::newRow("a NUL byte") << QByteArray("12 + 13\n\n1\0002 + 3\n", 14) << 3 << pasTexte;
    }
    void bad() {
        QFETCH(QByteArray, contenu);
        QFETCH(int, ligne);
        QFETCH(QString, message);
        const shell::SeanceLue lue = shell::lireSeance(contenu, u"maths.kovrant"_s, u"maths"_s, u"/classe"_s);
        QCOMPARE(lue.erreur, lignePrefixe.arg(ligne) + message);
        QVERIFY(!lue.seance.active());
    }

    // The file itself: found, read, text, small enough. `message` follows the file's name.
    void file_data() {
        QTest::addColumn<QString>("quoi");
        QTest::addColumn<QString>("message");
        QTest::newRow("good") << u"bon"_s << QString();
        QTest::newRow("missing") << u"absent"_s << u"ce fichier n'existe pas."_s;
        QTest::newRow("a folder") << u"dossier"_s << u"c'est un dossier ; il faut un fichier de séance."_s;
        QTest::newRow("too large") << u"gros"_s
                                   << u"ce fichier fait plus de 64 Ko ; une séance est un court texte."_s;
        QTest::newRow("at the limit") << u"limite"_s << QString();
        QTest::newRow("unreadable") << u"illisible"_s << u"ce fichier ne se lit pas (droits d'accès ?)."_s;
    }
    void file() {
        QFETCH(QString, quoi);
        QFETCH(QString, message);
        const QTemporaryDir dossier;
        const QString chemin = dossier.filePath(u"maths.kovrant"_s);
        QByteArray contenu = "titre = t\n";
        if (quoi == u"gros" || quoi == u"limite") {
            contenu += QByteArray(shell::tailleMaxSeance - contenu.size() + (quoi == u"gros" ? 1 : 0), '\n');
        }
        if (quoi == u"dossier") {
            QVERIFY(QDir(dossier.path()).mkdir(u"maths.kovrant"_s));
        } else if (quoi != u"absent") {
            QFile f(chemin);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(contenu);
            f.close();
            if (quoi == u"illisible") {
                QVERIFY(f.setPermissions(QFileDevice::WriteOwner));
                if (QFile(chemin).open(QIODevice::ReadOnly)) {
                    QSKIP("this account reads any file");
                }
            }
        }
        const shell::SeanceLue lue = shell::lireSeance(chemin);
        if (message.isEmpty()) {
            QCOMPARE(lue.erreur, QString());
            QCOMPARE(lue.seance.nom, u"maths"_s);
            QCOMPARE(lue.seance.titre, u"t"_s);
        } else {
            QCOMPARE(lue.erreur, u"Les Kovrant : %1 : "_s.arg(QDir::toNativeSeparators(chemin)) + message);
        }
    }
};

QTEST_GUILESS_MAIN(SeanceTest)
#include "tst_seance_fichier.moc"
