#include "exercise/regles.h"
#include "support.h"

#include <QTest>
#include <vector>

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
    // Two programmes in one process share nothing: screens, variables, random source, active window.
    void twoGamesSideBySide() {
        Game a(11), b(22);
        exercise::Kovrant& ka = a.playFromStart({1});
        exercise::Kovrant& kb = b.playFromStart({2});
        QVERIFY(&ka != &kb);
        QCOMPARE(ka.champs().calcul.texte_calcul, firstCalculation(11, {1}).texte_calcul);
        QCOMPARE(kb.champs().calcul.texte_calcul, firstCalculation(22, {2}).texte_calcul);
        QVERIFY(a.isActive(a.kovrant()) && b.isActive(b.kovrant()));

        testsupport::typeText(ka, u"12"_s);
        QCOMPARE(a.module11.reponse, u"12"_s);
        QCOMPARE(b.module11.reponse, QString());
        testsupport::typeText(kb, QString::number(qint64(kb.champs().calcul.resultat)) + u"="_s);
        QCOMPARE(b.module11.score.value(), 10);
        QCOMPARE(a.module11.score.value(), 0);
        QCOMPARE(a.module11.attente_reponse.value(), 1);

        // Ending one leaves the other playing.
        testsupport::typeKey(ka, Qt::Key_Escape, u"\x1b"_s);
        clickControl(a.aurevoir().get(), u"flèche");
        QVERIFY(a.ended() && !b.ended());
        QVERIFY(!a.kovrant().isLoaded() && b.kovrant().isLoaded());
        testsupport::typeText(kb, u" 5"_s);
        QCOMPARE(b.module11.reponse, u"5"_s);
    }

    // Each load of the exercise window starts a new game from a fresh seed, whatever was drawn before.
    void everyGameStartsFromAFreshSeed() {
        std::vector<std::uint32_t> seeds{101, 202};
        shell::Programme::Options options;
        options.graine = [&seeds] {
            const std::uint32_t s = seeds.front();
            seeds.erase(seeds.begin());
            return s;
        };
        options.fin = [] {};
        shell::Programme programme(options);
        programme.runtime().setFollowWindowSystem(false);
        programme.runtime().setStopOnError(false);
        for (int i = 0; i < 5; ++i) {
            programme.hasard().next();
        }
        programme.module11.operations_choisies[1] = 1;
        programme.kovrant().show();
        const auto& k = programme.kovrant().as<exercise::Kovrant>();
        QCOMPARE(k.champs().calcul.texte_calcul, firstCalculation(101, {1}).texte_calcul);
        programme.kovrant().unload();
        programme.kovrant().show();
        QCOMPARE(programme.kovrant().as<exercise::Kovrant>().champs().calcul.texte_calcul,
                 firstCalculation(202, {1}).texte_calcul);
        QVERIFY(seeds.empty());
    }

    // What the window system does to activation, at the one place where its events enter the runtime.
    void windowSystemActivations_data() {
        QTest::addColumn<QString>("route");
        QTest::addColumn<bool>("reactivated");
        QTest::newRow("exercise brought back in front of the farewell") << u"exercise"_s << true;
        QTest::newRow("presentation brought back in front of the farewell") << u"presentation"_s << true;
        QTest::newRow("stale: exercise, as the farewell was shown") << u"stale"_s << false;
        QTest::newRow("the window already active") << u"active"_s << false;
    }
    void windowSystemActivations() {
        QFETCH(QString, route);
        QFETCH(bool, reactivated);
        Game game(5, true);
        // Whatever the offscreen platform does of the program's own requests is caught up first.
        const auto settle = [] { QCoreApplication::processEvents(); };
        ui::FormSlot* target = nullptr;
        if (route == u"presentation") {
            game.accueil().show();
            settle();
            clickControl(game.presentation().get(), u"Table", 2);
            clickControl(game.presentation().get(), u"arret");
            settle();
            target = &game.presentation();
        } else {
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
            target = &game.kovrant();
        }
        const QString calculBefore =
            game.kovrant().isLoaded() ? game.exercise().champs().calcul.texte_calcul : QString();
        const std::size_t drawnBefore =
            game.kovrant().isLoaded() ? game.exercise().surface().operationCount() : 0u;
        sendActivation(target->get());
        QCOMPARE(game.isActive(*target), reactivated || route == u"active");
        if (route == u"presentation") {
            // Its Activate ran again: the choice starts afresh.
            QCOMPARE(game.module11.operations_choisies[2].value(), 0);
            QVERIFY(!testsupport::checkBox(target->get(), 2).isChecked());
        } else {
            // The exercise's Activate redraws the target and poses a new calculation; a stale or
            // repeated activation leaves the window as it was.
            const bool redrawn = game.exercise().surface().operationCount() != drawnBefore ||
                                 game.exercise().champs().calcul.texte_calcul != calculBefore;
            QCOMPARE(redrawn, reactivated);
        }
        if (route == u"stale") {
            QVERIFY(game.isActive(game.aurevoir()));
            // Once the stale one is spent, the player's own switch counts.
            sendActivation(target->get());
            QVERIFY(game.isActive(*target));
        }
    }

    // A picture or font that cannot be read is reported; the game's own all load.
    void everyPictureAndFontLoads() {
        Game game;
        for (ui::FormSlot* slot :
             {&game.accueil(), &game.presentation(), &game.kovrant(), &game.fin(), &game.aurevoir()}) {
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
