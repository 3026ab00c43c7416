#include "support.h"

#include <QKeyEvent>
#include <QTest>
#include <optional>

using namespace Qt::StringLiterals;
using namespace shell;
using testsupport::clickControl;

namespace {

// The programme of the test case that runs, made afresh by init().
std::optional<testsupport::Game> game;

ui::Form& openPresentation() {
    game->accueil().show();
    return game->presentation().get();
}

} // namespace

class PresentationTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { game.reset(); }
    void init() { game.emplace(); }

    // Digits click a box by its index; a tab or a blank is typed; r is Space held down, repeating; x the
    // stop sign, then the presentation clicked back in front of the farewell.
    void choosingFamilies_data() {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QList<int>>("chosen");
        QTest::newRow("divisions alone") << u"3"_s << QList<int>{0, 0, 1};
        QTest::newRow("one unticked, another kept") << u"121"_s << QList<int>{0, 1, 0};
        QTest::newRow("additions have the focus from the start") << u" "_s << QList<int>{1, 0, 0};
        QTest::newRow("tab reaches multiplications") << u"\t "_s << QList<int>{0, 1, 0};
        QTest::newRow("space on the arrow with nothing ticked") << u"\t\t\t "_s << QList<int>{0, 0, 0};
        QTest::newRow("five tabs wrap to additions") << u"\t\t\t\t\t "_s << QList<int>{1, 0, 0};
        QTest::newRow("space again unticks") << u"  "_s << QList<int>{0, 0, 0};
        QTest::newRow("space held down ticks once") << u" r"_s << QList<int>{1, 0, 0};
        QTest::newRow("back from the farewell, the choice cleared") << u"2x"_s << QList<int>{0, 0, 0};
    }
    void choosingFamilies() {
        QFETCH(QString, actions);
        QFETCH(QList<int>, chosen);
        ui::Form& form = openPresentation();
        QVERIFY(!game->accueil().isLoaded());
        for (const QChar action : actions) {
            if (action == u'x') {
                clickControl(form, u"arret");
                QVERIFY(game->isActive(game->aurevoir()));
                testsupport::clickEmptyPart(form, QPointF(100, 450));
            } else if (action.isDigit()) {
                clickControl(form, u"Table", action.digitValue());
            } else if (action == u'r') {
                QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, u" "_s, true);
                QCoreApplication::sendEvent(&form, &repeat);
            } else {
                testsupport::typeKey(form, action == u'\t' ? Qt::Key_Tab : Qt::Key_Space, action);
            }
        }
        // A ticked box always means a chosen family.
        for (int f = 1; f <= 3; ++f) {
            QCOMPARE(game->module11.operations_choisies[f].value(), chosen[f - 1]);
            QCOMPARE(int(testsupport::checkBox(form, f).isChecked()), chosen[f - 1]);
        }
        // The exercise starts a new game in place of the presentation, or nothing starts.
        game->module11.score = 42;
        clickControl(form, u"flèche");
        QCOMPARE(game->isActive(game->kovrant()), chosen.contains(1));
        QCOMPARE(game->presentation().isLoaded(), !chosen.contains(1));
        QCOMPARE(game->module11.score.value(), chosen.contains(1) ? 0 : 42);
    }

    void pointerOverTheBoxes_data() {
        QTest::addColumn<QPointF>("twips");
        QTest::addColumn<bool>("hand");
        QTest::newRow("end of the multiplications caption") << QPointF(6900, 7020) << true;
        QTest::newRow("frame around the boxes") << QPointF(3700, 7000) << false;
        QTest::newRow("target") << QPointF(15000, 3000) << false;
    }
    void pointerOverTheBoxes() {
        QFETCH(QPointF, twips);
        QFETCH(bool, hand);
        ui::Form& form = openPresentation();
        // Over a box first, so that leaving one for elsewhere is seen to restore the arrow.
        QTest::mouseMove(form.windowHandle(), form.widgetPointForTwips(QPointF(4300, 6980)).toPoint());
        QCOMPARE(form.cursor().shape(), Qt::BitmapCursor);
        QTest::mouseMove(form.windowHandle(), form.widgetPointForTwips(twips).toPoint());
        QCOMPARE(form.cursor().shape(), hand ? Qt::BitmapCursor : Qt::ArrowCursor);
    }

    // 0: no limit.
    void clockRule_data() {
        QTest::addColumn<int>("secondes");
        QTest::addColumn<QString>("regle");
        QTest::newRow("as designed") << 30 << u" Il faut répondre en moins de 30 secondes."_s;
        QTest::newRow("a third more") << 40 << u" Il faut répondre en moins de 40 secondes."_s;
        QTest::newRow("the longest") << 300 << u" Il faut répondre en moins de 300 secondes."_s;
        QTest::newRow("no limit") << 0 << u" Tu as tout ton temps pour répondre."_s;
    }
    void clockRule() {
        QFETCH(int, secondes);
        QFETCH(QString, regle);
        game.emplace(1, false,
                     testsupport::avecTemps(secondes ? *exercise::TempsAccorde::enSecondes(secondes)
                                                     : exercise::TempsAccorde::sansLimite()));
        QCOMPARE(testsupport::label(openPresentation(), u"Label8").caption(), regle);
    }
};

QTEST_MAIN(PresentationTest)
#include "tst_presentation.moc"
