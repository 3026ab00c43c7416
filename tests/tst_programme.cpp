#include "exercise/regles.h"
#include "support.h"

#include <QTest>

using namespace Qt::StringLiterals;
using testsupport::clickControl;
using testsupport::Game;

namespace {

// The calculation a fresh random source seeded with `seed` poses first.
exercise::Calcul firstCalculation(std::uint32_t seed, std::initializer_list<int> families) {
    ui::Random hasard;
    hasard.seed(seed);
    exercise::Familles choisies;
    for (int f : families) {
        choisies[f] = 1;
    }
    return exercise::tirer_calcul(hasard, choisies, 0);
}

void sendActivation(ui::Form& form) {
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&form, &activate);
}

} // namespace

class ProgrammeTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Two programmes in one process share nothing: screens, variables, random source, active window. Each
    // load of the exercise window starts a new game from a fresh seed, whatever was drawn before.
    void twoGamesSideBySide() {
        Game a(11), b(22);
        a.programme.hasard().next();
        exercise::Kovrant& ka = a.playFromStart({1});
        exercise::Kovrant& kb = b.playFromStart({2});
        const QString first = firstCalculation(22, {2}).texte_calcul;
        QCOMPARE(ka.champs().calcul.texte_calcul, firstCalculation(11, {1}).texte_calcul);
        QCOMPARE(kb.champs().calcul.texte_calcul, first);
        QVERIFY(a.isActive(a.kovrant()) && b.isActive(b.kovrant()));
        testsupport::answer(kb, 1.0);
        QCOMPARE(b.module11.score.value(), 10);
        QCOMPARE(a.module11.score.value(), 0);
        QCOMPARE(a.module11.attente_reponse.value(), 1);
        // Ending one leaves the other playing.
        testsupport::typeKey(ka, Qt::Key_Escape, u"\x1b"_s);
        clickControl(a.aurevoir().get(), u"flèche");
        QVERIFY(a.ended() && !b.ended() && b.kovrant().isLoaded());
        testsupport::typeText(kb, u" 5"_s);
        QCOMPARE(b.module11.reponse, u"5"_s);
        b.kovrant().unload();
        b.kovrant().show();
        QCOMPARE(b.exercise().champs().calcul.texte_calcul, first);
    }

    // What the window system does to activation, at the one place where its events enter the runtime.
    void windowSystemActivations_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<bool>("reactivated");
        QTest::newRow("exercise brought back in front of the farewell") << u"exercise"_s << true;
        QTest::newRow("stale: exercise, as the farewell was shown") << u"stale"_s << false;
        QTest::newRow("the window already active") << u"active"_s << false;
    }
    void windowSystemActivations() {
        QFETCH(QString, route);
        QFETCH(bool, reactivated);
        Game game(5, true);
        // Whatever the offscreen platform does of the program's own requests is caught up first.
        const auto settle = [] { QCoreApplication::processEvents(); };
        exercise::Kovrant& k = game.playFromStart({1});
        settle();
        if (route != u"active") {
            if (route == u"stale") {
                game.runtime().expectWindowSystemActivation(game.aurevoir().get());
            }
            testsupport::typeKey(k, Qt::Key_Escape, u"\x1b"_s);
            if (route != u"stale") {
                settle();
            }
        }
        const QString calculBefore = k.champs().calcul.texte_calcul;
        const std::size_t drawnBefore = k.surface().operationCount();
        sendActivation(k);
        QCOMPARE(game.isActive(game.kovrant()), reactivated || route == u"active");
        // The exercise's Activate redraws the target and poses a new calculation; a stale or repeated
        // activation leaves the window as it was.
        QCOMPARE(k.surface().operationCount() != drawnBefore ||
                     k.champs().calcul.texte_calcul != calculBefore,
                 reactivated);
        if (route == u"stale") {
            QVERIFY(game.isActive(game.aurevoir()));
            // Once the stale one is spent, the player's own switch counts.
            sendActivation(k);
            QVERIFY(game.isActive(game.kovrant()));
        }
    }

    // A picture or font that cannot be read is reported; the game's own all load.
    void everyPictureAndFontLoads() {
        Game game;
        for (ui::FormSlot* slot : game.screens()) {
            slot->get().render(1.0);
        }
        game.runtime().fonts().checkPresent();
        QCOMPARE(game.runtime().pictures().failures(), QStringList());
        QCOMPARE(game.runtime().fonts().failures(), QStringList());
        game.runtime().pictures().checkPresent(u":/pictures/absente.svg"_s);
        QVERIFY(game.runtime().pictures().get(u":/pictures/absente.svg"_s).isNull());
        QCOMPARE(game.runtime().pictures().failures(), QStringList{u":/pictures/absente.svg"_s});
    }
};

QTEST_MAIN(ProgrammeTest)
#include "tst_programme.moc"
