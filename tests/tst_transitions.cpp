#include "exercise/kovrant.h"
#include "support.h"

#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <optional>

using namespace Qt::StringLiterals;
using namespace shell;
using testsupport::answer;
using testsupport::clickControl;
using testsupport::clickEmptyPart;
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

} // namespace

class TransitionsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { game.reset(); }
    void init() { game.emplace(); }

    void stopThenBackToTheExercise() {
        exercise::Kovrant& k = game->playFromStart({1});
        clickControl(k, u"arret"); // hidden during a question
        QVERIFY(game->isActive(game->kovrant()));
        answer(k);
        clickControl(k, u"arret");
        QVERIFY(game->isActive(game->aurevoir()));
        clickEmptyPart(k, QPointF(100, 30));
        QVERIFY(game->isActive(game->kovrant()) && !inPause(k));
        QCOMPARE(game->module11.attente_reponse.value(), 1);
    }

    // A score above 99 reached in the middle of a question changes nothing until the next one is due; then
    // FIN stands in front, and the exercise clicked back over it poses a new question and takes the keys
    // typed on FIN.
    void endOfGameAtTheNextQuestion() {
        exercise::Kovrant& k = game->playFromStart({1});
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
    // passes on; the program leaves its event loop with status 0 as the real program does and closes every
    // screen, whichever were open. The other ways to the farewell screen are checked where they are taken.
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
        game->runtime().setEndHandler({});
        QTimer::singleShot(0, [behind] {
            if (behind == nullptr) {
                clickControl(game->aurevoir().get(), u"flèche");
                return;
            }
            // Only the press: the window it is sent to goes with the others.
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
            QCoreApplication::sendEvent(behind, &enter);
        });
        QTimer::singleShot(10000, [] { QCoreApplication::exit(1); }); // rather than hang if it never ends
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!game->presentation().isLoaded() && !game->kovrant().isLoaded() && !game->fin().isLoaded() &&
                !game->aurevoir().isLoaded());
        // Nothing shows once the program has ended.
        game->fin().show();
        QVERIFY(!game->fin().isLoaded());
    }
};

QTEST_MAIN(TransitionsTest)
#include "tst_transitions.moc"
