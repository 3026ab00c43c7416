#include "exercice.h"

#include <QTest>
#include <cmath>

using exercise::Exercice;
using exercise::TempsAccorde;
using Effet = Exercice::Effet;
using Phase = Exercice::Phase;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Effet)
Q_DECLARE_METATYPE(Phase)
Q_DECLARE_METATYPE(TempsAccorde)

namespace {

// A game without its window, on multiplications, every game from the same seed.
struct Partie {
    shell::Module11 m;
    base::Random hasard{[] { return 4242u; }};
    Exercice e;

    explicit Partie(TempsAccorde temps = {}, int score = 0) : e(m, hasard, temps) {
        m.operations_choisies[2] = 1;
        e.charger();
        m.score = score;
        e.nouveau_calcul();
    }
    // Types keys as a player would (\b is Backspace, \r Enter, \x1b Escape); what the last one did.
    Effet taper(QStringView keys) {
        Effet last = Effet::Saisie;
        for (const QChar c : keys) {
            last = e.touche(c.unicode());
        }
        return last;
    }
    // Keys `fraction` of the result, rounded, then Enter.
    void repondre(double fraction) {
        taper(QString(QString::number(std::lround(e.champs().calcul.resultat * fraction)) + u'\r'));
    }
};

} // namespace

class ExerciceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keysBuildTheAnswer_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("reponse");
        QTest::addColumn<QString>("shown"); // as the window writes it after the calculation
        QTest::addColumn<Effet>("effet");   // of the last key
        const struct {
            const char* name;
            const char16_t *keys, *reponse, *shown;
            Effet effet;
        } rows[] = {
            {"nothing follows a lone zero", u"05", u"0", u"0", Effet::Saisie},
            {"zeros follow another digit", u"500", u"500", u"500", Effet::Saisie},
            {"seven digits take two blanks", u"1234567", u"1234567", u"1 234 567", Effet::Saisie},
            {"a ninth digit is refused", u"123456789", u"12345678", u"12 345 678", Effet::Saisie},
            {"Backspace erases the whole answer", u"123\b4", u"4", u"4", Effet::Saisie},
            {"Backspace frees a lone zero", u"0\b5", u"5", u"5", Effet::Saisie},
            {"letters, minus, point, space ignored", u"7a-. z8", u"78", u"78", Effet::Saisie},
            {"Enter with nothing keyed does not judge", u"\r", u"", u"", Effet::Saisie},
            {"Enter judges the estimate as shown", u"1234\r", u"", u"1 234", Effet::Jugement},
            {"= judges too", u"1234=", u"", u"1 234", Effet::Jugement},
            {"a digit ending the pause is lost", u"0\r75", u"5", u"5", Effet::Saisie},
            {"Escape in the pause: the next question, no answer", u"12\r\x1b", u"", u"", Effet::Suivant},
            {"Escape during a question: farewell, nothing judged", u"12\x1b", u"12", u"12", Effet::AuRevoir},
        };
        for (const auto& r : rows) {
            QTest::newRow(r.name) << QString::fromUtf16(r.keys) << QString::fromUtf16(r.reponse)
                                  << QString::fromUtf16(r.shown) << r.effet;
        }
    }
    void keysBuildTheAnswer() {
        QFETCH(QString, keys);
        QFETCH(QString, reponse);
        QFETCH(QString, shown);
        QFETCH(Effet, effet);
        Partie p;
        QCOMPARE(p.taper(keys), effet);
        QCOMPARE(p.m.reponse, reponse);
        QCOMPARE(p.e.champs().reponse_affichee, shown);
        const bool judged = effet == Effet::Jugement;
        QCOMPARE(p.e.phase(), judged ? Phase::Pause : Phase::Question);
        QCOMPARE(p.m.attente_reponse.value(), judged ? 0 : 1);
        QCOMPARE(p.e.verdict() != nullptr, judged);
    }

    // The answer takes the key it is handed, not the last one typed on the screen.
    void answerTakesItsKey() {
        Partie p;
        p.taper(u"4"_s);
        QCOMPARE(p.e.saisir_reponse(u"7"_s), Effet::Saisie);
        QCOMPARE(p.m.reponse, u"47"_s);
        QCOMPARE(p.e.saisir_reponse(u"\r"_s), Effet::Jugement);
        QCOMPARE(p.m.touche, u"4"_s);
    }

    // The clock counts the seconds of a question up to the adult's allowance, warns a listener on the way
    // and judges whatever was keyed when it runs out; without a limit it never judges.
    void clockJudgesAtTheAllowance_data() {
        QTest::addColumn<TempsAccorde>("temps");
        QTest::addColumn<int>("keyTick"); // the tick before which the keys are typed
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("judgedAt");       // the count when judged, 0 for never
        QTest::addColumn<QList<int>>("rappels"); // the counts at which the time left is worth saying
        const auto temps = [](int s) { return *TempsAccorde::enSecondes(s); };
        QTest::newRow("30 s, nothing keyed: judged at 30 as 0")
            << TempsAccorde() << 0 << QString() << 30 << QList<int>{10, 20};
        QTest::newRow("30 s, confirmed in the 29th second")
            << TempsAccorde() << 28 << u"12\r"_s << 28 << QList<int>{10, 20};
        QTest::newRow("40 s, keyed, not confirmed: judged as keyed")
            << temps(40) << 5 << u"12"_s << 40 << QList<int>{20, 30};
        QTest::newRow("100 s: no minute's warning under two minutes")
            << temps(100) << 0 << QString() << 100 << QList<int>{80, 90};
        QTest::newRow("120 s: a minute's warning")
            << temps(120) << 0 << QString() << 120 << QList<int>{60, 100, 110};
        QTest::newRow("no limit: never judged, never a warning")
            << TempsAccorde::sansLimite() << 0 << u"12"_s << 0 << QList<int>{};
    }
    void clockJudgesAtTheAllowance() {
        QFETCH(TempsAccorde, temps);
        QFETCH(int, keyTick);
        QFETCH(QString, keys);
        QFETCH(int, judgedAt);
        QFETCH(QList<int>, rappels);
        // Every estimate here is far below a product of two 2-digit numbers: each verdict costs 5 points.
        Partie p(temps, 50);
        QList<int> heard;
        // Well past the three digits the clock can show, for the question without a limit.
        for (int tick = 1; tick <= 1100; ++tick) {
            if (tick == keyTick + 1) {
                p.taper(keys);
            }
            const int before = p.e.champs().secondes.value();
            const Exercice::Tic tic = p.e.tic_horloge();
            const int now = p.e.champs().secondes.value();
            if (tic.rappel != 0) {
                heard << now;
                QCOMPARE(tic.rappel, temps.secondes() - now);
            }
            QCOMPARE(tic.juge,
                     judgedAt != 0 && now == judgedAt && before == judgedAt - 1 && keyTick < judgedAt);
            if (judgedAt == 0) {
                QCOMPARE(now, std::min(tick, Exercice::secondesAffichables));
            }
        }
        QCOMPARE(heard, rappels);
        QCOMPARE(p.e.champs().secondes.value(), judgedAt == 0 ? Exercice::secondesAffichables : judgedAt);
        QCOMPARE(p.e.phase(), judgedAt == 0 ? Phase::Question : Phase::Pause);
        QCOMPARE(p.m.score.value(), judgedAt == 0 ? 50 : 45);
        if (judgedAt != 0) {
            QCOMPARE(p.e.champs().reponse_affichee, keys.isEmpty() ? u"0"_s : u"12"_s);
            // The next question starts the allowance again.
            p.taper(u" "_s);
            QCOMPARE(p.e.champs().secondes.value(), 0);
            QCOMPARE(p.m.attente_reponse.value(), 1);
        }
    }

    void verdictScoresAndBlinks_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<double>("fraction"); // of the result, keyed as the estimate
        QTest::addColumn<int>("after");
        QTest::addColumn<int>("ring"); // the target's ring holding the mark, from 0 at the centre
        QTest::addColumn<bool>("aide");
        QTest::newRow("exact: +10 in the centre") << 20 << 1.0 << 30 << 0 << false;
        QTest::newRow("6 % short: +5") << 20 << 0.94 << 25 << 1 << false;
        QTest::newRow("24 % short: +1") << 20 << 0.76 << 21 << 2 << false;
        QTest::newRow("49 % short: nothing, with help") << 20 << 0.51 << 20 << 3 << true;
        QTest::newRow("zero: -5, with help") << 20 << 0.0 << 15 << 4 << true;
        QTest::newRow("-5 at 3: the score stops at 0") << 3 << 0.0 << 0 << 4 << true;
    }
    void verdictScoresAndBlinks() {
        QFETCH(int, before);
        QFETCH(double, fraction);
        QFETCH(int, after);
        QFETCH(int, ring);
        QFETCH(bool, aide);
        // The target's rings from the centre: outer radius and colour.
        constexpr int outer[] = {30, 60, 90, 120, 150};
        constexpr int colour[] = {14, 12, 11, 0, 15};
        Partie p(TempsAccorde(), before);
        QVERIFY(p.e.verdict() == nullptr);
        // Nothing blinks before the first verdict.
        for (int i = 0; i < 300; ++i) {
            QVERIFY(!p.e.tic_clignotement());
        }
        p.repondre(fraction);
        QCOMPARE(p.m.score.value(), after);
        QCOMPARE(p.e.verdict()->aide, aide);
        const Exercice::Champs& c = p.e.champs();
        const double radius = std::hypot(c.dx_reponse, c.dy_reponse);
        // Inside its ring, clear of both edges.
        QVERIFY2(radius >= (ring == 0 ? 0 : outer[ring - 1]) + 3 - 1e-3 && radius <= outer[ring] - 3 + 1e-3,
                 qPrintable(QString::number(radius)));
        QCOMPARE(c.couleur1.value(), colour[ring]);
        const int contrast = c.couleur2.value();
        QVERIFY(contrast != colour[ring]);
        // Ten ticks in each colour in turn, the contrasting one first, up to the 170th; then it stays.
        for (int tick = 1; tick <= 400; ++tick) {
            const std::optional<base::Integer> drawn = p.e.tic_clignotement();
            const bool phase = tick % 10 == 0 && tick <= 170;
            QCOMPARE(drawn.has_value(), phase);
            if (phase) {
                QCOMPARE(drawn->value(), (tick / 10) % 2 == 1 ? contrast : colour[ring]);
            }
            QCOMPARE(p.e.clignote(), tick < 170);
        }
    }
};

QTEST_GUILESS_MAIN(ExerciceTest)
#include "tst_exercice.moc"
