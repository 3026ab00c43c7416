#include "exercise/kovrant.h"
#include "shell/module11.h"
#include "shell/screens.h"
#include "support.h"
#include "ui/colour.h"

#include <QTest>
#include <cmath>

using exercise::Kovrant;
using shell::module11;
using namespace Qt::StringLiterals;
namespace screens = shell::screens;

namespace {

Kovrant& startGame(std::uint32_t seed) {
    testsupport::resetProgram(seed);
    module11.operations_choisies[2] = 1;
    screens::kovrant().show();
    return screens::kovrant().as<Kovrant>();
}

QString chrono(const Kovrant& k) {
    return k.label(u"chronometre").caption();
}

QPointF mark(const Kovrant& k) {
    return {k.champs().x_reponse, k.champs().y_reponse};
}

QColor colourOfMark(Kovrant& k, QPointF at) {
    return testsupport::colourAtUnits(k.render(1.0), at);
}

// Whether a disc of radius 5 at `at` shows clear of every control painted above the drawing.
bool clearOfControls(const Kovrant& k, QPointF at) {
    const QRectF disc(at * 4.0 / 3.0 - QPointF(8, 8), QSizeF(16, 16));
    for (const auto& control : k.controls()) {
        if (control->isVisible() && control->sceneRect().intersects(disc)) {
            return false;
        }
    }
    return true;
}

} // namespace

class ClockTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { testsupport::resetProgram(); }

    void answerClockCountsAndJudgesOnce_data() {
        QTest::addColumn<int>("keyTick"); // ticks fired before the keys are typed
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("judgedAt");
        QTest::addColumn<QString>("estimateShown");
        QTest::newRow("silent: judged at 30 as 0") << 0 << QString() << 30 << u"0"_s;
        QTest::newRow("keyed, not confirmed: judged at 30 as keyed") << 5 << u"12"_s << 30 << u"12"_s;
        QTest::newRow("confirmed in the 12th second") << 12 << u"12\r"_s << 12 << u"12"_s;
        QTest::newRow("confirmed in the 29th second") << 29 << u"12\r"_s << 29 << u"12"_s;
        QTest::newRow("confirmed before any tick") << 0 << u"12\r"_s << 0 << u"12"_s;
    }
    void answerClockCountsAndJudgesOnce() {
        QFETCH(int, keyTick);
        QFETCH(QString, keys);
        QFETCH(int, judgedAt);
        QFETCH(QString, estimateShown);
        Kovrant& k = startGame(3);
        // Every estimate here is far below a product of two 2-digit numbers: each verdict costs 5 points.
        module11.score = 50;
        QCOMPARE(chrono(k), u"0"_s);
        for (int tick = 0; tick <= 45; ++tick) {
            if (tick == keyTick) {
                testsupport::typeText(k, keys); // \r types Enter
            }
            const int counted = std::min(tick, judgedAt);
            // Posing writes "0"; every tick then writes the count with its sign's blank.
            QCOMPARE(chrono(k), tick == 0 ? u"0"_s : QString(u" "_s + QString::number(counted)));
            QCOMPARE(module11.attente_reponse.value(), tick < judgedAt ? 1 : 0);
            QCOMPARE(module11.score.value(), tick < judgedAt ? 50 : 45);
            k.timer1().fire();
        }
        QCOMPARE(k.label(u"Calcul").caption(),
                 QString(k.champs().texte_calcul + u"       "_s + estimateShown));
        QCOMPARE(k.label(u"commentaire").caption(), u"Dommage, tu perds 5 points"_s);
        QVERIFY(k.label(u"Titre_aide").isVisible());
    }

    void noBlinkBeforeTheFirstVerdict() {
        Kovrant& k = startGame(3);
        const QImage before = k.render(1.0);
        for (int i = 0; i < 300; ++i) {
            k.timer2().fire();
        }
        QCOMPARE(k.render(1.0), before);
    }

    void markBlinksThenStaysInTheContrastingColour_data() {
        QTest::addColumn<double>("fraction"); // of the result, keyed as the estimate
        QTest::addColumn<int>("ring");
        QTest::addColumn<int>("contrast");
        QTest::newRow("white ring: white and black") << 0.0 << 15 << 0;
        QTest::newRow("black ring: black and light red") << 0.6 << 0 << 12;
        QTest::newRow("light cyan ring: light cyan and black") << 0.8 << 11 << 0;
    }
    void markBlinksThenStaysInTheContrastingColour() {
        QFETCH(double, fraction);
        QFETCH(int, ring);
        QFETCH(int, contrast);
        // A seed whose mark no label covers, so that the drawing itself shows at its centre.
        Kovrant* k = nullptr;
        for (std::uint32_t seed = 1; k == nullptr && seed < 50; ++seed) {
            Kovrant& candidate = startGame(seed);
            testsupport::typeText(
                candidate, QString::number(std::lround(candidate.champs().resultat * fraction)) + u"\r"_s);
            if (clearOfControls(candidate, mark(candidate))) {
                k = &candidate;
            }
        }
        QVERIFY(k != nullptr);
        const QColor ringColour = ui::paletteColour(ring), contrastColour = ui::paletteColour(contrast);
        QCOMPARE(colourOfMark(*k, mark(*k)), ringColour);
        const struct {
            int tick;
            QColor colour;
        } phases[] = {{9, ringColour},       {10, contrastColour}, {19, contrastColour},
                      {20, ringColour},      {30, contrastColour}, {160, ringColour},
                      {170, contrastColour}, {400, contrastColour}};
        int fired = 0;
        for (const auto& phase : phases) {
            for (; fired < phase.tick; ++fired) {
                k->timer2().fire();
            }
            QVERIFY2(colourOfMark(*k, mark(*k)) == phase.colour, qPrintable(QString::number(phase.tick)));
        }
    }

    void aSecondVerdictRestartsTheBlink() {
        // Two band-5 marks, both clear of the labels and of each other.
        Kovrant* k = nullptr;
        QPointF first;
        for (std::uint32_t seed = 1; k == nullptr && seed < 100; ++seed) {
            Kovrant& candidate = startGame(seed);
            testsupport::typeText(candidate, u"0\r"_s); // a band-5 verdict, on the white ring
            first = mark(candidate);
            for (int i = 0; i < 90; ++i) {
                candidate.timer2().fire(); // the first mark is in its contrasting colour now
            }
            testsupport::typeText(candidate, u" 0\r"_s); // the next question, judged the same way
            const QPointF second = mark(candidate);
            if (clearOfControls(candidate, first) && clearOfControls(candidate, second) &&
                std::hypot(first.x() - second.x(), first.y() - second.y()) > 12) {
                k = &candidate;
            }
        }
        QVERIFY(k != nullptr);
        const QColor white = ui::paletteColour(15), black = ui::paletteColour(0);
        for (int i = 0; i < 10; ++i) {
            k->timer2().fire();
        }
        QCOMPARE(colourOfMark(*k, mark(*k)), black);
        QCOMPARE(colourOfMark(*k, first), black);
        for (int i = 0; i < 10; ++i) {
            k->timer2().fire();
        }
        QCOMPARE(colourOfMark(*k, mark(*k)), white);
        QCOMPARE(colourOfMark(*k, first), black);
    }
};

QTEST_MAIN(ClockTest)
#include "tst_clock.moc"
