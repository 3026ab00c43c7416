#include "exercise/kovrant.h"
#include "support.h"

#include <QTest>
#include <cmath>
#include <optional>

using exercise::Kovrant;
using namespace Qt::StringLiterals;

namespace {

// The programme of the test case that runs, made afresh by init().
std::optional<testsupport::Game> game;

} // namespace

class ClockTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { game.reset(); }
    void init() { game.emplace(); }

    void answerClockCountsAndJudgesOnce_data() {
        QTest::addColumn<int>("keyTick"); // ticks fired before the keys are typed
        QTest::addColumn<QString>("keys");
        QTest::newRow("silent: judged at 30 as 0") << 0 << QString();
        QTest::newRow("keyed, not confirmed: judged at 30 as keyed") << 5 << u"12"_s;
        QTest::newRow("confirmed in the 29th second") << 29 << u"12\r"_s;
    }
    void answerClockCountsAndJudgesOnce() {
        QFETCH(int, keyTick);
        QFETCH(QString, keys);
        const int judgedAt = keys.endsWith(u'\r') ? keyTick : 30;
        Kovrant& k = game->startGame({2});
        // Every estimate here is far below a product of two 2-digit numbers: each verdict costs 5 points.
        game->module11.score = 50;
        for (int tick = 0; tick <= 45; ++tick) {
            if (tick == keyTick) {
                testsupport::typeText(k, keys);
            }
            // Posing writes "0"; every tick then writes the count with its sign's blank.
            QCOMPARE(testsupport::label(k, u"chronometre").caption(),
                     tick == 0 ? u"0"_s : u" "_s + QString::number(std::min(tick, judgedAt)));
            QCOMPARE(game->module11.attente_reponse.value(), tick < judgedAt ? 1 : 0);
            k.timer1().fire();
        }
        QCOMPARE(game->module11.score.value(), 45);
        QCOMPARE(
            testsupport::label(k, u"Calcul").caption(),
            QString(k.champs().calcul.texte_calcul + u"       "_s + (keys.isEmpty() ? u"0"_s : u"12"_s)));
        // The clock never stops: the next question counts on the same running timer.
        QVERIFY(k.timer1().isRunning());
        testsupport::typeText(k, u" "_s);
        QVERIFY(k.timer1().isRunning());
        QCOMPARE(game->module11.attente_reponse.value(), 1);
    }
};

QTEST_MAIN(ClockTest)
#include "tst_clock.moc"
