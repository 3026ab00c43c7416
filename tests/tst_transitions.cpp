#include "exercise/kovrant.h"
#include "shell/module11.h"
#include "shell/screens.h"
#include "support.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace shell;
using testsupport::clickControl;
using testsupport::typeKey;

namespace {

ui::Form* active() {
    return ui::Runtime::instance().activeForm();
}

bool isActive(ui::FormSlot& slot) {
    return slot.isLoaded() && active() == &slot.get();
}

// Starts the program and goes through the presentation screen with the given families ticked.
exercise::Kovrant& startGame(std::initializer_list<int> families = {1}) {
    screens::accueil().show();
    ui::Form& presentation = screens::presentation().get();
    for (int family : families) {
        clickControl(presentation, u"Table", family);
    }
    clickControl(presentation, u"flèche");
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

bool nothingLoaded() {
    for (ui::FormSlot* slot : {&screens::accueil(), &screens::presentation(), &screens::kovrant(),
                               &screens::fin(), &screens::aurevoir()}) {
        if (slot->isLoaded()) {
            return false;
        }
    }
    return true;
}

} // namespace

class TransitionsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { testsupport::resetProgram(); }

    void leavingTheExercise_data() {
        QTest::addColumn<bool>("byStop");
        QTest::addColumn<bool>("duringPause");
        QTest::addColumn<bool>("farewell");
        QTest::newRow("escape during a question opens the farewell screen") << false << false << true;
        QTest::newRow("escape during the pause poses the next question") << false << true << false;
        QTest::newRow("the hidden stop image does nothing during a question") << true << false << false;
        QTest::newRow("stop during the pause opens the farewell screen") << true << true << true;
    }
    void leavingTheExercise() {
        QFETCH(bool, byStop);
        QFETCH(bool, duringPause);
        QFETCH(bool, farewell);
        exercise::Kovrant& k = startGame();
        if (duringPause) {
            answer(k);
            QVERIFY(inPause(k));
        }
        if (byStop) {
            clickControl(k, u"arret");
        } else {
            typeKey(k, Qt::Key_Escape, u"\x1b"_s);
        }
        QCOMPARE(isActive(screens::aurevoir()), farewell);
        QVERIFY(screens::kovrant().isLoaded());
        if (!farewell) {
            QVERIFY(isActive(screens::kovrant()));
            QCOMPARE(module11.attente_reponse.value(), 1);
            QVERIFY(!inPause(k));
        }
    }

    void endOfGameAtTheNextQuestion_data() {
        QTest::addColumn<int>("score");
        QTest::addColumn<bool>("ends");
        QTest::newRow("99 plays on") << 99 << false;
        QTest::newRow("100 ends") << 100 << true;
    }
    void endOfGameAtTheNextQuestion() {
        QFETCH(int, score);
        QFETCH(bool, ends);
        exercise::Kovrant& k = startGame();
        // A score reached in the middle of a question changes nothing until the next one is due.
        module11.score = score;
        QVERIFY(!screens::fin().isLoaded());
        answer(k);
        QVERIFY(!screens::fin().isLoaded());
        module11.score = score;
        typeKey(k, Qt::Key_5, u"5"_s);
        QCOMPARE(screens::fin().isLoaded(), ends);
        if (ends) {
            QVERIFY(isActive(screens::fin()));
            QCOMPARE(module11.score.value(), 0); // FIN's Load
            QVERIFY(inPause(k));                 // no question was posed
            QVERIFY(screens::kovrant().isLoaded());
        } else {
            QCOMPARE(module11.attente_reponse.value(), 1);
            QCOMPARE(module11.score.value(), score);
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
        QTest::newRow("space resets the score only") << int(Qt::Key_Space) << u" "_s << false << 0;
        QTest::newRow("left arrow types nothing") << int(Qt::Key_Left) << QString() << false << 7;
        QTest::newRow("click on the arrow") << 0 << QString() << true << 0;
    }
    void endScreenKeys() {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(bool, farewell);
        QFETCH(int, scoreAfter);
        ui::Form& fin = reachEnd(startGame());
        module11.score = 7;
        if (key == 0) {
            clickControl(fin, u"flèche");
        } else {
            typeKey(fin, Qt::Key(key), text);
        }
        QCOMPARE(screens::aurevoir().isLoaded(), farewell);
        QCOMPARE(module11.score.value(), scoreAfter);
        if (farewell) {
            QVERIFY(isActive(screens::aurevoir()));
            QVERIFY(screens::fin().isLoaded());
        }
    }

    void showingEndScreenAgainKeepsTheScore() {
        reachEnd(startGame());
        module11.score = 30;
        screens::fin().show();
        QCOMPARE(module11.score.value(), 30);
    }

    void exerciseReactivatedPosesANewQuestion_data() {
        QTest::addColumn<bool>("byMouse");
        QTest::addColumn<bool>("fromEndScreen");
        QTest::newRow("activated over the farewell screen") << false << false;
        QTest::newRow("clicked over the farewell screen") << true << false;
        QTest::newRow("clicked over the end screen") << true << true;
    }
    void exerciseReactivatedPosesANewQuestion() {
        QFETCH(bool, byMouse);
        QFETCH(bool, fromEndScreen);
        exercise::Kovrant& k = startGame();
        if (fromEndScreen) {
            reachEnd(k);
        } else {
            answer(k);
            clickControl(k, u"arret");
        }
        QVERIFY(active() != &k);
        QCOMPARE(module11.attente_reponse.value(), 0);
        if (byMouse) {
            // A press on an empty part of the window, as a player brings it to the front.
            QTest::mouseClick(&k, Qt::LeftButton, {}, k.widgetPointForUnits(QPointF(100, 30)).toPoint());
        } else {
            ui::Runtime::instance().activate(k);
        }
        QVERIFY(isActive(screens::kovrant()));
        QCOMPARE(module11.attente_reponse.value(), 1);
        QVERIFY(!inPause(k));
        QCOMPARE(module11.score.value(), 0);
    }

    void presentationReactivatedClearsTheChoice() {
        screens::accueil().show();
        ui::Form& presentation = screens::presentation().get();
        clickControl(presentation, u"Table", 2);
        clickControl(presentation, u"Table", 3);
        clickControl(presentation, u"arret");
        QVERIFY(isActive(screens::aurevoir()));
        QTest::mouseClick(&presentation, Qt::LeftButton, {},
                          presentation.widgetPointForUnits(QPointF(100, 450)).toPoint());
        QVERIFY(isActive(screens::presentation()));
        for (int i = 1; i <= 3; ++i) {
            QCOMPARE(module11.operations_choisies[i].value(), 0);
            QVERIFY(!presentation.checkBox(u"Table", i).isChecked());
        }
        clickControl(presentation, u"flèche");
        QVERIFY(!screens::kovrant().isLoaded());
        // Ticking again after the reset chooses the family again.
        clickControl(presentation, u"Table", 2);
        QCOMPARE(module11.operations_choisies[2].value(), 1);
        QVERIFY(presentation.checkBox(u"Table", 2).isChecked());
    }

    void wholeRunToTheEnd_data() {
        QTest::addColumn<QString>("route");
        QTest::newRow("stop on the presentation screen") << u"presentation"_s;
        QTest::newRow("stop in the pause") << u"stop"_s;
        QTest::newRow("escape during a question") << u"escape"_s;
        QTest::newRow("congratulated, then Enter") << u"enter"_s;
        QTest::newRow("congratulated, then the right arrow") << u"right"_s;
        QTest::newRow("congratulated, then the arrow") << u"arrow"_s;
    }
    void wholeRunToTheEnd() {
        QFETCH(QString, route);
        screens::accueil().show();
        QVERIFY(isActive(screens::presentation()));
        ui::Form& presentation = screens::presentation().get();
        if (route == u"presentation") {
            clickControl(presentation, u"arret");
            QVERIFY(screens::presentation().isLoaded()); // open behind
        } else {
            clickControl(presentation, u"Table", 2);
            module11.score = 42;
            clickControl(presentation, u"flèche");
            // Kovrant's Load unloads the presentation and starts the score afresh.
            QVERIFY(isActive(screens::kovrant()));
            QVERIFY(!screens::presentation().isLoaded());
            QCOMPARE(module11.score.value(), 0);
            auto& k = screens::kovrant().as<exercise::Kovrant>();
            if (route == u"escape") {
                typeKey(k, Qt::Key_Escape, u"\x1b"_s);
            } else if (route == u"stop") {
                answer(k);
                clickControl(k, u"arret");
            } else {
                ui::Form& fin = reachEnd(k);
                QVERIFY(isActive(screens::fin()));
                if (route == u"enter") {
                    typeKey(fin, Qt::Key_Enter, u"\r"_s);
                } else if (route == u"right") {
                    typeKey(fin, Qt::Key_Right);
                } else {
                    clickControl(fin, u"flèche");
                }
            }
        }
        QVERIFY(isActive(screens::aurevoir()));
        QVERIFY(!testsupport::programEnded());
        clickControl(screens::aurevoir().get(), u"flèche");
        QVERIFY(testsupport::programEnded());
        QVERIFY(nothingLoaded());
        // Nothing shows once the program has ended.
        screens::fin().show();
        QVERIFY(!screens::fin().isLoaded());
    }
};

QTEST_MAIN(TransitionsTest)
#include "tst_transitions.moc"
