#include "deroulement.h"
#include "ecran_bilan.h"
#include "support.h"

#include <QTest>
#include <algorithm>
#include <optional>

using exercise::CalculDonne;
using exercise::Operation;
using namespace Qt::StringLiterals;
using testsupport::clickControl;
using testsupport::label;

Q_DECLARE_METATYPE(Operation)

namespace {

std::optional<testsupport::Game> game;

exercise::Reglages seance(QList<CalculDonne> liste = {}, int calculs = 0, bool prenom = false) {
    exercise::Reglages r;
    r.seance.nom = u"maths"_s;
    r.seance.titre = u"Ordre de grandeur"_s;
    const bool tires = liste.isEmpty();
    r.seance.liste = std::move(liste);
    r.seance.calculs = calculs;
    r.seance.prenom = prenom;
    if (tires) {
        exercise::Familles f;
        f[2] = 1;
        r.seance.operations = f;
    }
    return r;
}

const QList<CalculDonne> troisCalculs = {{Operation::Multiplication, 345, 21},
                                         {Operation::Division, 5929, 7},
                                         {Operation::Soustraction, 9000, 1234}};

// Answers a question as the test's letter says: e exact, t the clock runs out with nothing keyed, n
// keyed half the result then the clock, p 92 % of the result, f twice it, x Escape to leave.
void repondre(exercise::Kovrant& k, QChar comment) {
    if (comment == u'x') {
        testsupport::typeKey(k, Qt::Key_Escape, u"\x1b"_s);
        return;
    }
    if (comment == u'e' || comment == u'p' || comment == u'f') {
        testsupport::answer(k, comment == u'e' ? 1.0 : comment == u'p' ? 0.92 : 2.0);
        return;
    }
    if (comment == u'n') {
        testsupport::typeText(k, QString::number(std::lround(k.champs().calcul.resultat / 2)));
    }
    for (int i = 0; i < 30; ++i) {
        k.timer1().fire();
    }
}

// Plays the séance from its presentation, answering as `reponses` says, each verdict followed by a key.
exercise::Kovrant& jouer(const exercise::Reglages& r, const QString& reponses) {
    game.emplace(7, false, r);
    exercise::Kovrant& k = game->playFromStart({});
    for (const QChar c : reponses) {
        repondre(k, c);
        if (c != u'x') {
            testsupport::typeKey(k, Qt::Key_Space, u" "_s);
        }
    }
    return k;
}

} // namespace

class SeanceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { game.reset(); }

    // Each listed calculation is posed as written, with the result, help and points its operands give.
    void listedCalculationsArePosedInOrder_data() {
        QTest::addColumn<CalculDonne>("donne");
        QTest::addColumn<QString>("texte");
        QTest::addColumn<float>("resultat");
        QTest::newRow("product") << CalculDonne{Operation::Multiplication, 3470, 62} << u"3 470 × 62"_s
                                 << 215140.f;
        QTest::newRow("division") << CalculDonne{Operation::Division, 7440, 62} << u"7 440 : 62"_s << 120.f;
        QTest::newRow("sum") << CalculDonne{Operation::Addition, 3470, 620} << u"3 470 + 620"_s << 4090.f;
        QTest::newRow("difference") << CalculDonne{Operation::Soustraction, 5200, 1900} << u"5 200 - 1 900"_s
                                    << 3300.f;
    }
    void listedCalculationsArePosedInOrder() {
        QFETCH(CalculDonne, donne);
        QFETCH(QString, texte);
        QFETCH(float, resultat);
        // The calculation second in its list, after one answered exactly: posed after it, not drawn.
        const CalculDonne premier{Operation::Addition, 12345, 67890};
        exercise::Kovrant& k = jouer(seance({premier, donne}), u"e"_s);
        QCOMPARE(k.champs().calcul.texte_calcul, texte);
        QCOMPARE(k.champs().calcul.resultat, resultat);
        QCOMPARE(label(k, u"Calcul").caption(), texte + u"        ?"_s);
        testsupport::answer(k, 2.0);
        // The help of these operands, as the rules work it out (their own suite checks the lines).
        QCOMPARE(k.champs().aide.texte(),
                 exercise::ligne_aide(donne.operation, donne.nombre1, donne.nombre2).texte());
        QCOMPARE(label(k, u"Titre_aide").isVisible(), true);
        QCOMPARE(game->module11.score.value(), 10);
        const auto& lignes = game->programme.bilan.lignes;
        QCOMPARE(lignes.size(), 2);
        QCOMPARE(lignes[1].calcul, texte);
        QCOMPARE(lignes[1].resultat, resultat);
        QCOMPARE(lignes[1].points, 0);
        QCOMPARE(lignes[1].anneau, u"noir"_s);
    }

    // The level holds multiplications and divisions at one band's sizes, whatever the score.
    void levelHoldsItsBand_data() {
        QTest::addColumn<int>("niveau");
        QTest::addColumn<int>("score");
        // Bounds of the larger and smaller factor, then of the divisor and the quotient.
        QTest::addColumn<QList<int>>("bornes");
        QTest::newRow("1 at a high score") << 1 << 95 << QList<int>{11, 99, 11, 99, 2, 9, 101, 999};
        QTest::newRow("2 at no score") << 2 << 0 << QList<int>{101, 999, 11, 99, 11, 99, 101, 9999};
        QTest::newRow("3 at a high score") << 3 << 80 << QList<int>{101, 999, 101, 999, 11, 99, 101, 9999};
        QTest::newRow("4 at no score") << 4 << 0 << QList<int>{11, 9999, 11, 999, 11, 999, 2, 9999};
        QTest::newRow("none follows the score") << 0 << 15 << QList<int>{101, 999, 11, 99, 11, 99, 101, 9999};
    }
    void levelHoldsItsBand() {
        QFETCH(int, niveau);
        QFETCH(int, score);
        QFETCH(QList<int>, bornes);
        base::Random hasard;
        hasard.seed(99);
        exercise::Familles f;
        f[2] = f[3] = 1;
        QList<int> vus{100000, 0, 100000, 0, 100000, 0, 100000, 0};
        auto voir = [&vus](int i, float x) {
            vus[i] = std::min(vus[i], int(x));
            vus[i + 1] = std::max(vus[i + 1], int(x));
        };
        for (int i = 0; i < 4000; ++i) {
            const exercise::Calcul c = exercise::tirer_calcul(hasard, f, score, niveau);
            if (c.operation == Operation::Multiplication) {
                voir(0, std::max(c.nombre1, c.nombre2));
                voir(2, std::min(c.nombre1, c.nombre2));
            } else {
                voir(4, c.nombre2);
                voir(6, c.resultat);
            }
        }
        for (int i = 0; i < 8; i += 2) {
            QVERIFY2(vus[i] >= bornes[i] && vus[i + 1] <= bornes[i + 1], qPrintable(QString::number(i)));
        }
        // The band's top is reached, not merely respected (four thousand draws): a smaller band fails.
        QVERIFY(vus[1] > bornes[1] * 9 / 10);
    }

    // The bilan counts what the game counted, the clock's verdicts and a séance left early included.
    void bilanTotalsFollowTheAnswers_data() {
        QTest::addColumn<QString>("reponses");
        QTest::addColumn<int>("score");
        QTest::addColumn<QList<int>>("anneaux");
        QTest::addColumn<QStringList>("estimations");
        QTest::addColumn<bool>("interrompu");
        QTest::newRow("exact, clock, close") << u"etp"_s << 10 << QList<int>{1, 1, 0, 0, 1}
                                             << QStringList{u"7245"_s, u""_s, u"7145"_s} << false;
        QTest::newRow("a loss from nothing stays at nothing")
            << u"tee"_s << 20 << QList<int>{2, 0, 0, 0, 1} << QStringList{u""_s, u"847"_s, u"7766"_s}
            << false;
        QTest::newRow("half keyed, the clock judges it")
            << u"nfe"_s << 10 << QList<int>{1, 0, 0, 2, 0} << QStringList{u"3623"_s, u"1694"_s, u"7766"_s}
            << false;
        QTest::newRow("left by Escape after one")
            << u"ex"_s << 10 << QList<int>{1, 0, 0, 0, 0} << QStringList{u"7245"_s} << true;
    }
    void bilanTotalsFollowTheAnswers() {
        QFETCH(QString, reponses);
        QFETCH(int, score);
        QFETCH(QList<int>, anneaux);
        QFETCH(QStringList, estimations);
        QFETCH(bool, interrompu);
        jouer(seance(troisCalculs), reponses);
        const exercise::Bilan& bilan = game->programme.bilan;
        QVERIFY(bilan.debut.isValid());
        QCOMPARE(bilan.lignes.size(), estimations.size());
        for (qsizetype i = 0; i < bilan.lignes.size(); ++i) {
            QCOMPARE(bilan.lignes[i].numero, i + 1);
            QCOMPARE(bilan.lignes[i].estimation, estimations[i]);
        }
        const exercise::Totaux t = exercise::totaux(bilan);
        QCOMPARE(t.score, score);
        QCOMPARE(QList<int>(t.par_anneau.begin(), t.par_anneau.end()), anneaux);
        QCOMPARE(bilan.interrompu, interrompu);
        QCOMPARE(game->isActive(game->programme.ecran_bilan()), !interrompu);
        QCOMPARE(game->isActive(game->aurevoir()), interrompu);
    }

    // The séance ends with its calculations, whatever the score; the bilan's rows, totals and pages, and
    // its arrow to the congratulations above 99 points, to the farewell otherwise.
    void bilanScreen_data() {
        QTest::addColumn<int>("calculs");
        QTest::addColumn<QString>("reponses");
        QTest::addColumn<QString>("score");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("suite");
        QTest::newRow("three drawn") << 3 << u"ept"_s << u"Score : 10"_s << 1 << u"Aurevoir"_s;
        QTest::newRow("twelve, on past 99") << 12 << u"eeeeeeeeeeee"_s << u"Score : 120"_s << 2 << u"FIN"_s;
    }
    void bilanScreen() {
        QFETCH(int, calculs);
        QFETCH(QString, reponses);
        QFETCH(QString, score);
        QFETCH(int, pages);
        QFETCH(QString, suite);
        exercise::Kovrant& k = jouer(seance({}, calculs), reponses);
        QVERIFY(!game->fin().isLoaded());
        QVERIFY(game->isActive(game->programme.ecran_bilan()));
        auto& b = game->programme.ecran_bilan().as<shell::EcranBilan>();
        QCOMPARE(b.pages(), pages);
        QCOMPARE(label(b, u"score").caption(), score);
        const exercise::LigneBilan& premiere = game->programme.bilan.lignes.first();
        QCOMPARE(label(b, u"calcul1").caption(), premiere.calcul);
        QCOMPARE(label(b, u"anneau1").caption(), u"jaune"_s);
        QCOMPARE(label(b, u"points1").caption(), u"+10"_s);
        QCOMPARE(label(b, u"titre").caption(), u"Ordre de grandeur"_s);
        if (pages > 1) {
            QVERIFY(!label(b, u"numéro3").caption().isEmpty() && label(b, u"numéro10").isVisible());
            testsupport::typeKey(b, Qt::Key_PageDown);
            QCOMPARE(label(b, u"numéro1").caption(), u"11"_s);
            QVERIFY(label(b, u"numéro2").isVisible() && !label(b, u"numéro3").isVisible());
        } else {
            QCOMPARE(label(b, u"estimation3").caption(), u"pas de réponse"_s);
            QCOMPARE(label(b, u"total_blanc").caption(), u"blanc : 1"_s);
            QCOMPARE(label(b, u"total_rouge").caption(), u"rouge : 1"_s);
            QVERIFY(!label(b, u"numéro4").isVisible());
        }
        // Back on the exercise, the séance stays over: the bilan comes to the front again.
        testsupport::clickEmptyPart(k, QPointF(100, 480));
        QVERIFY(game->isActive(game->programme.ecran_bilan()));
        clickControl(b, u"flèche");
        QVERIFY(game->isActive(game->screen(suite)));
    }

    // The teacher's families are ticked and locked; the first name is asked for and kept.
    void presentationOfASeance_data() {
        QTest::addColumn<bool>("prenom");
        QTest::addColumn<QString>("tape");
        QTest::addColumn<bool>("commence");
        QTest::newRow("no name asked") << false << QString() << true;
        QTest::newRow("name typed") << true << u"Léa"_s << true;
        QTest::newRow("no name typed") << true << QString() << false;
        QTest::newRow("blanks are no name") << true << u"  "_s << false;
        QTest::newRow("typed then erased") << true << u"Zo\b\b"_s << false;
    }
    void presentationOfASeance() {
        QFETCH(bool, prenom);
        QFETCH(QString, tape);
        QFETCH(bool, commence);
        game.emplace(7, false, seance({}, 5, prenom));
        game->accueil().show();
        ui::Form& p = game->presentation().get();
        QCOMPARE(label(p, u"titre_séance").caption(), u"Ordre de grandeur"_s);
        QVERIFY(label(p, u"titre_séance").isVisible());
        // Clicks on the boxes change nothing; the keyboard starts on the name, or on the arrow.
        for (int i = 1; i <= 3; ++i) {
            clickControl(p, u"Table", i);
        }
        QCOMPARE(testsupport::checkBox(p, 2).isChecked(), true);
        QCOMPARE(testsupport::checkBox(p, 1).isChecked(), false);
        QCOMPARE(game->module11.operations_choisies[2].value(), 1);
        QCOMPARE(
            game->module11.operations_choisies[1].value() + game->module11.operations_choisies[3].value(), 0);
        QCOMPARE(p.focusedControl()->name(), prenom ? u"prénom"_s : u"flèche"_s);
        if (prenom) {
            for (const QChar c : tape) {
                testsupport::typeKey(p, c == u'\b' ? Qt::Key_Backspace : Qt::Key_unknown, QString(c));
            }
            testsupport::typeKey(p, Qt::Key_Tab);
            QCOMPARE(p.focusedControl()->name(), u"flèche"_s);
        }
        // Pressed only: the window is gone before the key comes up once the game starts.
        QTest::keyPress(&p, Qt::Key_Return);
        QCOMPARE(game->kovrant().isLoaded(), commence);
        QCOMPARE(game->programme.bilan.prenom, commence && prenom ? tape : QString());
    }

    // A séance's count of calculations, and none without one.
    void countOfCalculations() {
        exercise::Kovrant& k = jouer(seance(troisCalculs), u"e"_s);
        QVERIFY(label(k, u"compte").isVisible());
        QCOMPARE(label(k, u"compte").caption(), u"2 / 3"_s);
        testsupport::answer(k, 1.0);
        QCOMPARE(label(k, u"compte").caption(), u"2 / 3"_s);
        game.emplace();
        QVERIFY(!label(game->playFromStart({1}), u"compte").isVisible());
    }
};

QTEST_MAIN(SeanceTest)
#include "tst_seance.moc"
