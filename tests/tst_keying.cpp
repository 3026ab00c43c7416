#include "exercise/kovrant.h"
#include "support.h"

#include <QFontMetricsF>
#include <QTest>
#include <optional>

using exercise::Kovrant;
using namespace Qt::StringLiterals;

namespace {

// The programme of the test case that runs, made afresh by init().
std::optional<testsupport::Game> game;

// Types keys as a player would (\b is Backspace, \r Enter, \x1b Escape); ^ is a click on the arrow.
void press(Kovrant& k, const QString& keys) {
    for (const QChar c : keys) {
        c == u'^' ? testsupport::clickControl(k, u"flèche") : testsupport::typeText(k, QString(c));
    }
}

} // namespace

class KeyingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { game.reset(); }
    void init() { game.emplace(4242); }

    // The window shows what the model makes of the keys: the answer after the calculation, the verdict's
    // controls, the farewell. The rules of keying themselves are the model's (tst_exercice).
    void theWindowShowsTheKeys_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown"); // after the calculation and seven blanks
        QTest::addColumn<bool>("farewell");
        QTest::newRow("keying") << u"123\b45"_s << u"45 ?"_s << false;
        QTest::newRow("Enter judges, the estimate stays") << u"1234\r"_s << u"1 234"_s << false;
        QTest::newRow("a digit ending the pause is lost") << u"0\r75"_s << u"5 ?"_s << false;
        QTest::newRow("a click on the arrow ends the pause") << u"0\r^"_s << u" ?"_s << false;
        QTest::newRow("Escape during a question: farewell") << u"12\x1b"_s << u"12 ?"_s << true;
    }
    void theWindowShowsTheKeys() {
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QFETCH(bool, farewell);
        Kovrant& k = game->startGame({2});
        press(k, keys);
        const bool judged = !shown.endsWith(u'?');
        QCOMPARE(testsupport::label(k, u"Calcul").caption(),
                 QString(k.champs().calcul.texte_calcul + u"       "_s + shown));
        QCOMPARE(testsupport::image(k, u"flèche").isVisible(), judged);
        QCOMPARE(testsupport::image(k, u"arret").isVisible(), judged);
        QCOMPARE(testsupport::label(k, u"commentaire").isVisible(), judged);
        QCOMPARE(game->aurevoir().isLoaded(), farewell);
    }

    // The clock's square counts each second of the allowance, then shows the verdict's count frozen; with
    // three digits to show it still holds them.
    void theClockShowsTheCount_data() {
        QTest::addColumn<QString>("temps");
        QTest::addColumn<int>("judgedAt"); // 0 for never
        QTest::newRow("30 s") << u"30"_s << 30;
        QTest::newRow("40 s") << u"40"_s << 40;
        QTest::newRow("no limit") << u"aucune"_s << 0;
    }
    void theClockShowsTheCount() {
        QFETCH(QString, temps);
        QFETCH(int, judgedAt);
        game->module11.temps_accorde = *exercise::TempsAccorde::lire(temps);
        Kovrant& k = game->startGame({2});
        const ui::Label& chronometre = testsupport::label(k, u"chronometre");
        QCOMPARE(chronometre.caption(), u"0"_s);
        const int last = judgedAt == 0 ? 1005 : judgedAt + 3;
        for (int tick = 1; tick <= last; ++tick) {
            k.timer1().fire();
            const int count = judgedAt == 0 ? std::min(tick, 999) : std::min(tick, judgedAt);
            QCOMPARE(chronometre.caption(), u" "_s + QString::number(count));
            QCOMPARE(testsupport::image(k, u"flèche").isVisible(), judgedAt != 0 && tick >= judgedAt);
        }
        if (judgedAt == 0) {
            const qreal width = QFontMetricsF(chronometre.font()).horizontalAdvance(chronometre.caption());
            QVERIFY2(width <= chronometre.sceneRect().width(), qPrintable(QString::number(width)));
        }
    }
};
QTEST_MAIN(KeyingTest)
#include "tst_keying.moc"
