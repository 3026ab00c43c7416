#include "exercise/kovrant.h"
#include "support.h"
#include "ui/colour.h"

#include <QPainter>
#include <QTest>
#include <cmath>
#include <optional>

using exercise::Kovrant;
using namespace Qt::StringLiterals;

namespace {

// The programme of the test case that runs, made afresh by init().
std::optional<testsupport::Game> game;

QPointF mark(const Kovrant& k) {
    return {k.champs().x_reponse, k.champs().y_reponse};
}

// The drawing alone at a point, without the labels painted over it.
QColor drawingAt(const Kovrant& k, QPointF at) {
    QImage image(k.render(1.0).size(), QImage::Format_RGB32);
    QPainter painter(&image);
    k.surface().paint(painter);
    return testsupport::colourAtUnits(image, at);
}

void blink(Kovrant& k, int ticks) {
    for (int i = 0; i < ticks; ++i) {
        k.timer2().fire();
    }
}

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

    void markBlinksThenStaysInTheContrastingColour_data() {
        QTest::addColumn<double>("fraction"); // of the result, keyed as the second estimate
        QTest::addColumn<QColor>("ring");
        QTest::addColumn<QColor>("contrast");
        // One row per band of the scoring table, from the exact answer to the wildest.
        QTest::newRow("+10: yellow, then black") << 1.0 << ui::paletteColour(14) << ui::paletteColour(0);
        QTest::newRow("+5: light red, then black") << 0.93 << ui::paletteColour(12) << ui::paletteColour(0);
        QTest::newRow("+1: light cyan, then black") << 0.8 << ui::paletteColour(11) << ui::paletteColour(0);
        QTest::newRow("0: black, then light red") << 0.6 << ui::paletteColour(0) << ui::paletteColour(12);
        QTest::newRow("-5: white, then black") << 0.0 << ui::paletteColour(15) << ui::paletteColour(0);
    }
    void markBlinksThenStaysInTheContrastingColour() {
        QFETCH(double, fraction);
        QFETCH(QColor, ring);
        QFETCH(QColor, contrast);
        Kovrant& k = game->startGame({2});
        // Nothing blinks before the first verdict.
        const QImage unjudged = k.render(1.0);
        blink(k, 300);
        QCOMPARE(k.render(1.0), unjudged);
        // A first -5 verdict whose mark has blinked its last, then the verdict under test, its mark
        // elsewhere.
        testsupport::typeText(k, u"0\r"_s);
        const QPointF first = mark(k);
        blink(k, 200);
        testsupport::typeText(k, u" "_s);
        testsupport::typeText(k,
                              QString::number(std::lround(k.champs().calcul.resultat * fraction)) + u"\r"_s);
        // Ten ticks in each colour in turn up to the 170th, then the contrasting colour for good.
        int fired = 0;
        for (int tick : {0, 9, 10, 19, 20, 30, 160, 169, 170, 400}) {
            blink(k, tick - fired);
            fired = tick;
            QCOMPARE(drawingAt(k, mark(k)), tick < 170 && (tick / 10) % 2 == 0 ? ring : contrast);
            QCOMPARE(drawingAt(k, first), ui::paletteColour(0));
        }
    }
};

QTEST_MAIN(ClockTest)
#include "tst_clock.moc"
