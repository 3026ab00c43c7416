#include "colour.h"
#include "kovrant.h"
#include "support.h"

#include <QFontMetricsF>
#include <QTest>
#include <cmath>
#include <optional>

using exercise::Kovrant;
using namespace Qt::StringLiterals;

namespace {

// The programme of the test case that runs, made afresh by init().
std::optional<testsupport::Game> game;

void blink(Kovrant& k, int ticks) {
    for (int i = 0; i < ticks; ++i) {
        k.timer2().fire();
    }
}

// Types keys as a player would (\b is Backspace, \r Enter, \x1b Escape); ^ is a click on the arrow.
void press(Kovrant& k, const QString& keys) {
    for (const QChar c : keys) {
        c == u'^' ? testsupport::clickControl(k, u"flèche") : testsupport::typeText(k, QString(c));
    }
}

} // namespace

class KovrantTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { game.reset(); }
    void init() { game.emplace(); }

    // The window shows what the model makes of the keys: the answer after the calculation, the verdict's
    // controls, the farewell. The rules of keying themselves are the model's (tst_exercice).
    void theWindowShowsTheKeys_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown"); // after the calculation and seven blanks
        QTest::addColumn<bool>("farewell");
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
        QTest::newRow("100 s, the first with three digits") << u"100"_s << 100;
        QTest::newRow("no limit") << u"aucune"_s << 0;
    }
    void theClockShowsTheCount() {
        QFETCH(QString, temps);
        QFETCH(int, judgedAt);
        game.emplace(1, false, testsupport::avecTemps(*exercise::TempsAccorde::lire(temps)));
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
        if (chronometre.caption().size() > 3) { // three digits after the blank
            const qreal width = QFontMetricsF(chronometre.font()).horizontalAdvance(chronometre.caption());
            QVERIFY2(width <= chronometre.sceneRect().width(), qPrintable(QString::number(width)));
        }
    }
    // The window shows the model's verdict: its comment, the help for a poor estimate, and the mark
    // blinking on the target in the ring's colour and the contrasting one, which it keeps.
    void verdictOnTheWindow_data() {
        QTest::addColumn<double>("fraction"); // of the result, keyed as the estimate
        QTest::addColumn<QString>("comment");
        QTest::addColumn<bool>("help");
        QTest::newRow("exact") << 1.0 << u"Excellent, tu marques 10 points"_s << false;
        QTest::newRow("6 % short") << 0.94 << u"Trés bien, tu marques 5 points"_s << false;
        QTest::newRow("24 % short") << 0.76 << u"Bravo, tu marques 1 point"_s << false;
        QTest::newRow("49 % short") << 0.51 << u"Trop loin, tu ne marques rien"_s << true;
        QTest::newRow("zero") << 0.0 << u"Dommage, tu perds 5 points"_s << true;
    }
    void verdictOnTheWindow() {
        QFETCH(double, fraction);
        QFETCH(QString, comment);
        QFETCH(bool, help);
        Kovrant& k = testsupport::newGame(game, 11, {2});
        game->module11.score = 20;
        testsupport::answer(k, fraction);
        QCOMPARE(testsupport::label(k, u"commentaire").caption(), comment);
        QCOMPARE(testsupport::label(k, u"Titre_aide").isVisible(), help);
        const QPointF mark = k.marque();
        const QColor ring = testsupport::colourAtUnits(testsupport::drawing(k), mark);
        QVERIFY(ring != Qt::white || fraction == 0.0);
        int fired = 0;
        for (int tick : {9, 10, 19, 20, 30, 160, 169, 170, 400}) {
            blink(k, tick - fired);
            fired = tick;
            const QColor seen = testsupport::colourAtUnits(testsupport::drawing(k), mark);
            QCOMPARE(seen,
                     tick < 170 && (tick / 10) % 2 == 0 ? ring : ui::paletteColour(k.champs().couleur2));
        }
    }

    void exactResultIsShownGrouped() {
        Kovrant& k = testsupport::newGame(game, 3719, {1}); // a seed found beforehand to pose 123 first
        QCOMPARE(k.champs().calcul.resultat, 123.f);
        QCOMPARE(testsupport::label(k, u"réponse_exacte").caption(), QString());
        testsupport::typeText(k, u"7\r"_s);
        // Grouped as every number the window shows: the sign's blank is grouped too.
        QCOMPARE(testsupport::label(k, u"réponse_exacte").caption(), u"la réponse exacte est   123"_s);
    }
};

QTEST_MAIN(KovrantTest)
#include "tst_kovrant.moc"
