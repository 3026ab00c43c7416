#include "exercise/kovrant.h"
#include "shell/module11.h"
#include "shell/screens.h"
#include "support.h"

#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace shell;
using testsupport::clickControl;
using testsupport::typeKey;

namespace {

bool isActive(ui::FormSlot& slot) {
    return slot.isLoaded() && ui::Runtime::instance().activeForm() == &slot.get();
}

// Starts the program and goes through the presentation screen with additions ticked.
exercise::Kovrant& startGame() {
    screens::accueil().show();
    clickControl(screens::presentation().get(), u"Table", 1);
    clickControl(screens::presentation().get(), u"flèche");
    return screens::kovrant().as<exercise::Kovrant>();
}

bool inPause(const exercise::Kovrant& k) {
    return k.image(u"flèche").isVisible() && k.image(u"arret").isVisible();
}

// Answers the question on show, which leaves the window in the pause.
void answer(exercise::Kovrant& k) {
    testsupport::typeText(k, u"1"_s);
    typeKey(k, Qt::Key_Return, u"\r"_s);
}

// Opens FIN the way the game does: a score above 99 when the next question is due.
ui::Form& reachEnd(exercise::Kovrant& k) {
    answer(k);
    module11.score = 100;
    typeKey(k, Qt::Key_Space, u" "_s);
    return screens::fin().get();
}

// A press on an empty part of a window, as a player brings it to the front.
void clickEmptyPart(ui::Form& form, QPointF units) {
    QTest::mouseClick(&form, Qt::LeftButton, {}, form.widgetPointForUnits(units).toPoint());
}

} // namespace

class TransitionsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { testsupport::resetProgram(); }

    void startNeedsAChosenFamily() {
        screens::accueil().show();
        QVERIFY(!screens::accueil().isLoaded());
        QVERIFY(isActive(screens::presentation()));
        ui::Form& presentation = screens::presentation().get();
        clickControl(presentation, u"flèche");
        QVERIFY(!screens::kovrant().isLoaded());
        clickControl(presentation, u"Table", 3);
        module11.score = 42;
        clickControl(presentation, u"flèche");
        QVERIFY(isActive(screens::kovrant()) && !screens::presentation().isLoaded());
        QCOMPARE(screens::kovrant().as<exercise::Kovrant>().champs().operation,
                 exercise::Operation::Division);
        QCOMPARE(module11.score.value(), 0);
        QCOMPARE(module11.attente_reponse.value(), 1);
    }

    void stopThenBackToTheExercise() {
        exercise::Kovrant& k = startGame();
        clickControl(k, u"arret"); // hidden during a question
        QVERIFY(isActive(screens::kovrant()));
        answer(k);
        clickControl(k, u"arret");
        QVERIFY(isActive(screens::aurevoir()));
        clickEmptyPart(k, QPointF(100, 30));
        QVERIFY(isActive(screens::kovrant()) && !inPause(k));
        QCOMPARE(module11.attente_reponse.value(), 1);
    }

    void endOfGameAtTheNextQuestion_data() {
        QTest::addColumn<int>("score");
        QTest::newRow("99 plays on") << 99;
        QTest::newRow("100 ends") << 100;
    }
    void endOfGameAtTheNextQuestion() {
        QFETCH(int, score);
        const bool ends = score > 99;
        exercise::Kovrant& k = startGame();
        // A score reached in the middle of a question changes nothing until the next one is due.
        module11.score = score;
        answer(k);
        QVERIFY(!screens::fin().isLoaded());
        module11.score = score;
        typeKey(k, Qt::Key_5, u"5"_s);
        QCOMPARE(isActive(screens::fin()), ends);
        QCOMPARE(inPause(k), ends); // no question was posed
        QCOMPARE(module11.score.value(), ends ? 0 : score);
        if (ends) {
            // Back to the exercise over FIN: a new question.
            clickEmptyPart(k, QPointF(100, 30));
            QVERIFY(isActive(screens::kovrant()) && !inPause(k));
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
        ui::Form& fin = reachEnd(startGame());
        module11.score = 7;
        typeKey(fin, Qt::Key(key), text);
        QCOMPARE(isActive(screens::aurevoir()), farewell);
        QVERIFY(screens::fin().isLoaded());
        QCOMPARE(module11.score.value(), scoreAfter);
        // Showing FIN again does not run its Load a second time.
        module11.score = 30;
        screens::fin().show();
        QCOMPARE(module11.score.value(), 30);
    }

    void presentationReactivatedClearsTheChoice() {
        screens::accueil().show();
        ui::Form& presentation = screens::presentation().get();
        clickControl(presentation, u"Table", 2);
        clickControl(presentation, u"arret");
        QVERIFY(isActive(screens::aurevoir()));
        clickEmptyPart(presentation, QPointF(100, 450));
        QVERIFY(isActive(screens::presentation()));
        QCOMPARE(module11.operations_choisies[2].value(), 0);
        QVERIFY(!presentation.checkBox(u"Table", 2).isChecked());
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
        exercise::Kovrant& k = startGame();
        if (situation.startsWith(u"end screen")) {
            reachEnd(k);
            typeKey(k, Qt::Key_Return, u"\r"_s);
            QVERIFY(isActive(screens::aurevoir()));
        } else if (situation.startsWith(u"farewell")) {
            typeKey(k, Qt::Key_Escape, u"\x1b"_s);
            testsupport::typeText(k, u"5"_s);
            typeKey(k, Qt::Key_Return, u"\r"_s);
            QVERIFY(isActive(screens::aurevoir()));
            QCOMPARE(module11.attente_reponse.value(), 1);
            QVERIFY(module11.reponse.isEmpty());
        } else {
            ui::Form& fin = reachEnd(k);
            clickEmptyPart(k, QPointF(100, 30));
            testsupport::typeText(fin, u"7"_s);
            QCOMPARE(module11.reponse, u"7"_s);
        }
    }

    // What the window system says about activation arrives late, out of date or never, after the
    // program opened the farewell screen over the exercise in its pause: only a switch the player makes
    // afterwards brings the exercise back (and a new question with it).
    void windowSystemActivations_data() {
        QTest::addColumn<QStringList>("activated");
        QTest::addColumn<bool>("backToTheExercise");
        QTest::newRow("never") << QStringList{} << false;
        QTest::newRow("late") << QStringList{u"Aurevoir"_s} << false;
        QTest::newRow("the old window first") << QStringList{u"Kovrant"_s, u"Aurevoir"_s} << false;
        QTest::newRow("then the player switches back") << QStringList{u"Aurevoir"_s, u"Kovrant"_s} << true;
    }
    void windowSystemActivations() {
        QFETCH(QStringList, activated);
        QFETCH(bool, backToTheExercise);
        exercise::Kovrant& k = startGame();
        answer(k);
        QCoreApplication::processEvents(); // the offscreen platform's own activations
        ui::Runtime& rt = ui::Runtime::instance();
        rt.setFollowWindowSystem(true);
        clickControl(k, u"arret");
        for (const QString& name : activated) {
            rt.activatedFromOutside(name == u"Kovrant" ? static_cast<ui::Form&>(k)
                                                       : screens::aurevoir().get());
        }
        QCOMPARE(isActive(screens::kovrant()), backToTheExercise);
        QCOMPARE(inPause(k), !backToTheExercise);
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
            screens::accueil().show();
            clickControl(screens::presentation().get(), u"arret");
        } else if (route.startsWith(u"exercise") || route.startsWith(u"Escape")) {
            exercise::Kovrant& k = startGame();
            if (route.startsWith(u"exercise")) {
                answer(k);
                clickControl(k, u"arret");
            } else {
                typeKey(k, Qt::Key_Escape, u"\x1b"_s);
            }
        } else {
            ui::Form& fin = reachEnd(startGame());
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
        QVERIFY(isActive(screens::aurevoir()));
        ui::Runtime::instance().setEndHandler({});
        QTimer::singleShot(0, [] { clickControl(screens::aurevoir().get(), u"flèche"); });
        QTimer::singleShot(10000, [] { QCoreApplication::exit(1); }); // rather than hang if it never ends
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!screens::presentation().isLoaded() && !screens::kovrant().isLoaded() &&
                !screens::fin().isLoaded() && !screens::aurevoir().isLoaded());
        // Nothing shows once the program has ended.
        screens::fin().show();
        QVERIFY(!screens::fin().isLoaded());
    }
};

QTEST_MAIN(TransitionsTest)
#include "tst_transitions.moc"
