#include "exercise/kovrant.h"
#include "support.h"

#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <optional>

using namespace Qt::StringLiterals;
using namespace shell;
using testsupport::clickControl;
using testsupport::inPause;
using testsupport::typeKey;

namespace {

// The programme of the test case that runs, made afresh by init().
std::optional<testsupport::Game> game;

// Answers the question on show, which leaves the window in the pause.
void answer(exercise::Kovrant& k) {
    testsupport::typeText(k, u"1"_s);
    typeKey(k, Qt::Key_Return, u"\r"_s);
}

// Opens FIN the way the game does: a score above 99 when the next question is due.
ui::Form& reachEnd(exercise::Kovrant& k) {
    answer(k);
    game->module11.score = 100;
    typeKey(k, Qt::Key_Space, u" "_s);
    return game->fin().get();
}

// A press on an empty part of a window, as a player brings it to the front.
void clickEmptyPart(ui::Form& form, QPointF units) {
    QTest::mouseClick(&form, Qt::LeftButton, {}, form.widgetPointForUnits(units).toPoint());
}

} // namespace

class TransitionsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { game.reset(); }
    void init() { game.emplace(); }

    void startNeedsAChosenFamily() {
        game->accueil().show();
        QVERIFY(!game->accueil().isLoaded());
        QVERIFY(game->isActive(game->presentation()));
        ui::Form& presentation = game->presentation().get();
        clickControl(presentation, u"flèche");
        QVERIFY(!game->kovrant().isLoaded());
        clickControl(presentation, u"Table", 3);
        game->module11.score = 42;
        clickControl(presentation, u"flèche");
        QVERIFY(game->isActive(game->kovrant()) && !game->presentation().isLoaded());
        QCOMPARE(game->kovrant().as<exercise::Kovrant>().champs().calcul.operation,
                 exercise::Operation::Division);
        QCOMPARE(game->module11.score.value(), 0);
        QCOMPARE(game->module11.attente_reponse.value(), 1);
    }

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

    void endOfGameAtTheNextQuestion_data() {
        QTest::addColumn<int>("score");
        QTest::newRow("99 plays on") << 99;
        QTest::newRow("100 ends") << 100;
    }
    void endOfGameAtTheNextQuestion() {
        QFETCH(int, score);
        const bool ends = score > 99;
        exercise::Kovrant& k = game->playFromStart({1});
        // A score reached in the middle of a question changes nothing until the next one is due.
        game->module11.score = score;
        answer(k);
        QVERIFY(!game->fin().isLoaded());
        game->module11.score = score;
        typeKey(k, Qt::Key_5, u"5"_s);
        QCOMPARE(game->isActive(game->fin()), ends);
        QCOMPARE(inPause(k), ends); // no question was posed
        QCOMPARE(game->module11.score.value(), ends ? 0 : score);
        if (ends) {
            // Back to the exercise over FIN: a new question.
            clickEmptyPart(k, QPointF(100, 30));
            QVERIFY(game->isActive(game->kovrant()) && !inPause(k));
        }
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
        ui::Form& fin = reachEnd(game->playFromStart({1}));
        game->module11.score = 7;
        typeKey(fin, Qt::Key(key), text);
        QCOMPARE(game->isActive(game->aurevoir()), farewell);
        QVERIFY(game->fin().isLoaded());
        QCOMPARE(game->module11.score.value(), scoreAfter);
        // Showing FIN again does not run its Load a second time.
        game->module11.score = 30;
        game->fin().show();
        QCOMPARE(game->module11.score.value(), 30);
    }

    void presentationReactivatedClearsTheChoice() {
        game->accueil().show();
        ui::Form& presentation = game->presentation().get();
        clickControl(presentation, u"Table", 2);
        clickControl(presentation, u"arret");
        QVERIFY(game->isActive(game->aurevoir()));
        clickEmptyPart(presentation, QPointF(100, 450));
        QVERIFY(game->isActive(game->presentation()));
        QCOMPARE(game->module11.operations_choisies[2].value(), 0);
        QVERIFY(!testsupport::checkBox(presentation, 2).isChecked());
    }

    // The compositor may leave the keyboard on a window behind the screen the program showed last, or
    // the player may have clicked a window behind: either way the keys go to the screen in front.
    void keysGoToTheScreenInFront_data() {
        QTest::addColumn<QString>("situation");
        for (const char* s : {"end screen over the exercise", "farewell over the exercise",
                              "exercise clicked over the end screen"}) {
            QTest::newRow(s) << QString::fromLatin1(s);
        }
    }
    void keysGoToTheScreenInFront() {
        QFETCH(QString, situation);
        exercise::Kovrant& k = game->playFromStart({1});
        if (situation.startsWith(u"end screen")) {
            reachEnd(k);
            typeKey(k, Qt::Key_Return, u"\r"_s);
            QVERIFY(game->isActive(game->aurevoir()));
        } else if (situation.startsWith(u"farewell")) {
            typeKey(k, Qt::Key_Escape, u"\x1b"_s);
            testsupport::typeText(k, u"5"_s);
            QVERIFY(game->module11.reponse.isEmpty());
            // Enter on the farewell screen, whose arrow has the focus, ends the program. Only the press:
            // the window it is sent to goes with the others.
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
            QCoreApplication::sendEvent(&k, &enter);
            QVERIFY(game->ended());
        } else {
            ui::Form& fin = reachEnd(k);
            clickEmptyPart(k, QPointF(100, 30));
            testsupport::typeText(fin, u"7"_s);
            QCOMPARE(game->module11.reponse, u"7"_s);
        }
    }

    // Every way to the farewell screen, then its arrow: the program ends, and leaves its event loop with
    // status 0 as the real program does.
    void farewellArrowEndsTheProgram_data() {
        QTest::addColumn<QString>("route");
        for (const char* route :
             {"presentation stop", "exercise stop in the pause", "Escape during a question",
              "end screen arrow", "end screen right arrow", "end screen Enter", "end screen Escape"}) {
            QTest::newRow(route) << QString::fromLatin1(route);
        }
    }
    void farewellArrowEndsTheProgram() {
        QFETCH(QString, route);
        if (route == u"presentation stop") {
            game->accueil().show();
            clickControl(game->presentation().get(), u"arret");
        } else if (route.startsWith(u"exercise") || route.startsWith(u"Escape")) {
            exercise::Kovrant& k = game->playFromStart({1});
            if (route.startsWith(u"exercise")) {
                answer(k);
                clickControl(k, u"arret");
            } else {
                typeKey(k, Qt::Key_Escape, u"\x1b"_s);
            }
        } else {
            ui::Form& fin = reachEnd(game->playFromStart({1}));
            if (route.endsWith(u"right arrow")) {
                typeKey(fin, Qt::Key_Right);
            } else if (route.endsWith(u"Enter")) {
                typeKey(fin, Qt::Key_Return, u"\r"_s);
            } else if (route.endsWith(u"Escape")) {
                typeKey(fin, Qt::Key_Escape, u"\x1b"_s);
            } else {
                clickControl(fin, u"flèche");
            }
        }
        QVERIFY(game->isActive(game->aurevoir()));
        game->runtime().setEndHandler({});
        QTimer::singleShot(0, [] { clickControl(game->aurevoir().get(), u"flèche"); });
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
