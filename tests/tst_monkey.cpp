#include "monkey.h"
#include "support.h"

#include <QTest>
#include <random>

// A seeded child plays for KOVRANT_MONKEY_EVENTS events (keys, clicks, ticks, window switches, restarts)
// and nothing it does may break the game. A failure names its seed and event so that it replays.

class MonkeyTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nothingBreaksTheGame() {
        const long events = qEnvironmentVariable("KOVRANT_MONKEY_EVENTS", QStringLiteral("50000")).toLong();
        const std::uint32_t seed =
            qEnvironmentVariable("KOVRANT_MONKEY_SEED", QStringLiteral("20261206")).toUInt();
        std::mt19937 generator(seed);
        monkey::Player player([&generator](std::uint32_t n) { return std::uint32_t(generator() % n); });
        player.start(seed);

        for (long i = 1; i <= events; ++i) {
            const QString broken = player.step();
            QVERIFY2(broken.isEmpty(), qPrintable(QStringLiteral("KOVRANT_MONKEY_SEED=%1, event %2 (%3): %4")
                                                      .arg(seed)
                                                      .arg(i)
                                                      .arg(player.lastEvent(), broken)));
        }

        const monkey::Player::Tally& t = player.tally();
        qInfo("%ld events, %ld programs, %ld verdicts, %ld end screens, %ld farewells", t.events, t.games,
              t.verdicts, t.finishes, t.farewells);
        // A player that never gets through a whole game has checked little: a long run must reach the
        // end screen and the farewell and start again.
        if (events >= 20000) {
            QVERIFY(t.verdicts > 0);
            QVERIFY(t.finishes > 0);
            QVERIFY(t.farewells > 0);
            QVERIFY(t.games > 1);
        }
    }
};

QTEST_MAIN(MonkeyTest)
#include "tst_monkey.moc"
