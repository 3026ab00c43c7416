// The ways from one screen to another as a player takes them, and what each programme keeps to itself:
// its screens, its variables, its random source, its window system's activations.

#include "kovrant.h"
#include "regles.h"
#include "support.h"

#include <QKeyEvent>
#include <QTest>
#include <optional>

using namespace Qt::StringLiterals;
using namespace shell;
using testsupport::answer;
using testsupport::clickControl;
using testsupport::clickEmptyPart;
using testsupport::Game;
using testsupport::typeKey;

namespace {

// The programme of the test case that runs, made afresh by init().
std::optional<testsupport::Game> game;

bool inPause(const exercise::Kovrant& k) {
    return k.modele().phase() == exercise::Exercice::Phase::Pause;
}

// Opens FIN the way the game does: a score above 99 when the next question is due.
ui::Form& reachEnd(exercise::Kovrant& k) {
    answer(k);
    game->module11.score = 100;
    typeKey(k, Qt::Key_Space, u" "_s);
    return game->fin().get();
}

// The calculation a fresh random source seeded with `seed` poses first.
exercise::Calcul firstCalculation(std::uint32_t seed, std::initializer_list<int> families) {
    base::Random hasard;
    hasard.seed(seed);
    exercise::Familles choisies;
    for (int f : families) {
        choisies[f] = 1;
    }
    return exercise::tirer_calcul(hasard, choisies, 0);
}

void sendActivation(ui::Form& form) {
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&form, &activate);
}

} // namespace

class TransitionsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { game.reset(); }
    void init() { game.emplace(); }

    // The stop sign, shown only in the pause, leads to the farewell; the exercise clicked back over it
    // poses a new question. A score above 99 reached in the middle of a question changes nothing until
    // the next one is due; then FIN stands in front, and the exercise clicked back over it poses a new
    // question and takes the keys typed on FIN.
    void stopAndEndThenBackToTheExercise() {
        exercise::Kovrant& k = game->playFromStart({1});
        clickControl(k, u"arret");
        QVERIFY(game->isActive(game->kovrant()));
        answer(k);
        clickControl(k, u"arret");
        QVERIFY(game->isActive(game->aurevoir()));
        clickEmptyPart(k, QPointF(100, 30));
        QVERIFY(game->isActive(game->kovrant()) && !inPause(k));
        game->module11.score = 100;
        answer(k);
        QVERIFY(!game->fin().isLoaded());
        game->module11.score = 100;
        typeKey(k, Qt::Key_5, u"5"_s);
        QVERIFY(game->isActive(game->fin()) && inPause(k));
        QCOMPARE(game->module11.score.value(), 0);
        clickEmptyPart(k, QPointF(100, 30));
        QVERIFY(game->isActive(game->kovrant()) && !inPause(k));
        testsupport::typeText(game->fin().get(), u"7"_s);
        QCOMPARE(game->module11.reponse, u"7"_s);
    }

    void endScreenKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("farewell");
        QTest::addColumn<int>("scoreAfter");
        QTest::newRow("right arrow") << int(Qt::Key_Right) << QString() << true << 0;
        QTest::newRow("Enter") << int(Qt::Key_Return) << u"\r"_s << true << 0;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << u"\x1b"_s << true << 0;
        QTest::newRow("a letter resets the score only") << int(Qt::Key_A) << u"a"_s << false << 0;
        QTest::newRow("left arrow types nothing") << int(Qt::Key_Left) << QString() << false << 7;
    }
    void endScreenKeys() {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(bool, farewell);
        QFETCH(int, scoreAfter);
        exercise::Kovrant& k = game->playFromStart({1});
        reachEnd(k);
        game->module11.score = 7;
        // Typed where the compositor may leave the keyboard, on the exercise behind: the keys go to the
        // screen in front.
        typeKey(k, Qt::Key(key), text);
        QCOMPARE(game->isActive(game->aurevoir()), farewell);
        QVERIFY(game->fin().isLoaded());
        QCOMPARE(game->module11.score.value(), scoreAfter);
        // Showing FIN again does not run its Load a second time.
        game->module11.score = 30;
        game->fin().show();
        QCOMPARE(game->module11.score.value(), 30);
    }

    // The farewell screen's arrow ends the program, clicked or taken by Enter, which the window behind
    // passes on, and closes every screen, whichever were open. The other ways to the farewell screen are
    // checked where they are taken.
    void farewellArrowEndsTheProgram_data() {
        QTest::addColumn<bool>("fromPresentation");
        QTest::newRow("presentation stop, then Enter on the presentation behind") << true;
        QTest::newRow("end screen arrow, then the farewell arrow clicked") << false;
    }
    void farewellArrowEndsTheProgram() {
        QFETCH(bool, fromPresentation);
        ui::Form* behind = nullptr;
        if (fromPresentation) {
            game->accueil().show();
            behind = &game->presentation().get();
            clickControl(*behind, u"arret");
        } else {
            clickControl(reachEnd(game->playFromStart({1})), u"flèche");
        }
        QVERIFY(game->isActive(game->aurevoir()));
        if (behind == nullptr) {
            clickControl(game->aurevoir().get(), u"flèche");
        } else {
            // Only the press: the window it is sent to goes with the others.
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
            QCoreApplication::sendEvent(behind, &enter);
        }
        QVERIFY(game->ended());
        QVERIFY(!game->presentation().isLoaded() && !game->kovrant().isLoaded() && !game->fin().isLoaded() &&
                !game->aurevoir().isLoaded());
        // Nothing shows once the program has ended.
        game->fin().show();
        QVERIFY(!game->fin().isLoaded());
    }

    // Two programmes in one process share nothing: screens, variables, random source, active window. Each
    // load of the exercise window starts a new game from a fresh seed, whatever was drawn before.
    void twoGamesSideBySide() {
        Game a(11), b(22);
        a.programme.hasard().next();
        exercise::Kovrant& ka = a.playFromStart({1});
        exercise::Kovrant& kb = b.playFromStart({2});
        const QString first = firstCalculation(22, {2}).texte_calcul;
        QCOMPARE(ka.champs().calcul.texte_calcul, firstCalculation(11, {1}).texte_calcul);
        QCOMPARE(kb.champs().calcul.texte_calcul, first);
        QVERIFY(a.isActive(a.kovrant()) && b.isActive(b.kovrant()));
        testsupport::answer(kb, 1.0);
        QCOMPARE(b.module11.score.value(), 10);
        QCOMPARE(a.module11.score.value(), 0);
        QCOMPARE(a.module11.attente_reponse.value(), 1);
        // Ending one leaves the other playing.
        testsupport::typeKey(ka, Qt::Key_Escape, u"\x1b"_s);
        clickControl(a.aurevoir().get(), u"flèche");
        QVERIFY(a.ended() && !b.ended() && b.kovrant().isLoaded());
        testsupport::typeText(kb, u" 5"_s);
        QCOMPARE(b.module11.reponse, u"5"_s);
        b.kovrant().unload();
        b.kovrant().show();
        QCOMPARE(b.exercise().champs().calcul.texte_calcul, first);
    }

    // What the window system does to activation, at the one place where its events enter the runtime.
    void windowSystemActivations_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<bool>("reactivated");
        QTest::newRow("exercise brought back in front of the farewell") << u"exercise"_s << true;
        QTest::newRow("stale: exercise, as the farewell was shown") << u"stale"_s << false;
        QTest::newRow("the window already active") << u"active"_s << false;
    }
    void windowSystemActivations() {
        QFETCH(QString, route);
        QFETCH(bool, reactivated);
        Game game(5, true);
        // Whatever the offscreen platform does of the program's own requests is caught up first.
        exercise::Kovrant& k = game.playFromStart({1});
        QCoreApplication::processEvents();
        if (route != u"active") {
            if (route == u"stale") {
                game.runtime().expectWindowSystemActivation(game.aurevoir().get());
            }
            testsupport::typeKey(k, Qt::Key_Escape, u"\x1b"_s);
            if (route != u"stale") {
                QCoreApplication::processEvents();
            }
        }
        const QString calculBefore = k.champs().calcul.texte_calcul;
        const std::size_t drawnBefore = k.surface().operationCount();
        sendActivation(k);
        QCOMPARE(game.isActive(game.kovrant()), reactivated || route == u"active");
        // The exercise's Activate redraws the target and poses a new calculation; a stale or repeated
        // activation leaves the window as it was.
        QCOMPARE(k.surface().operationCount() != drawnBefore ||
                     k.champs().calcul.texte_calcul != calculBefore,
                 reactivated);
        if (route == u"stale") {
            QVERIFY(game.isActive(game.aurevoir()));
            // Once the stale one is spent, the player's own switch counts.
            sendActivation(k);
            QVERIFY(game.isActive(game.kovrant()));
        }
    }

    // A picture or font that cannot be read is reported; the game's own all load.
    void everyPictureAndFontLoads() {
        Game game;
        for (ui::FormSlot* slot : game.screens()) {
            slot->get().render(1.0);
        }
        game.runtime().fonts().checkPresent();
        QCOMPARE(game.runtime().pictures().failures(), QStringList());
        QCOMPARE(game.runtime().fonts().failures(), QStringList());
        game.runtime().pictures().checkPresent(u":/pictures/absente.svg"_s);
        QVERIFY(game.runtime().pictures().get(u":/pictures/absente.svg"_s).isNull());
        QCOMPARE(game.runtime().pictures().failures(), QStringList{u":/pictures/absente.svg"_s});
    }
};

QTEST_MAIN(TransitionsTest)
#include "tst_transitions.moc"
