#include "exercise/kovrant.h"
#include "support.h"

#include <QKeyEvent>
#include <QTest>
#include <optional>

using exercise::Kovrant;
using namespace Qt::StringLiterals;

namespace {

// The programme of the test case that runs, made afresh by init().
std::optional<testsupport::Game> game;

// Types keys as a player would (\b is Backspace, \r Enter); ^ is a click on the arrow.
void press(Kovrant& k, const QString& keys) {
    for (const QChar c : keys) {
        c == u'^' ? testsupport::clickControl(k, u"flèche") : testsupport::typeText(k, QString(c));
    }
}

// A key of the French layout as X11 delivers it: the key code of its place, the keysym, the text.
// & é " ' ( - è _ ç à are the top row without Shift, 1 to 0 the same keys with Shift; @ and ~ are AltGr on
// the à and é keys, € AltGr+E, ^ the dead circumflex, E Ctrl on the top row's 3 (which types Escape under
// the us layout), K the keypad's 1 and \r Enter.
void pressFrench(Kovrant& k, QChar c) {
    constexpr std::u16string_view plain = u"&é\"'(-è_çà";
    constexpr std::u16string_view digits = u"1234567890";
    quint32 scan = 0;
    int key = c.toUpper().unicode();
    Qt::KeyboardModifiers modifiers;
    quint32 native = 0;
    QString text(c);
    if (const auto i = plain.find(c.unicode()); i != plain.npos) {
        scan = quint32(10 + i);
    } else if (const auto d = digits.find(c.unicode()); d != digits.npos) {
        scan = quint32(10 + d);
        modifiers = Qt::ShiftModifier;
        native = 0x1;
    } else if (c == u'@' || c == u'~' || c == u'€') {
        scan = c == u'@' ? 19 : c == u'~' ? 11 : 26;
        modifiers = Qt::GroupSwitchModifier;
        native = 0x80;
    } else if (c == u'^') {
        scan = 34;
        key = Qt::Key_Dead_Circumflex;
        text.clear();
    } else if (c == u'E') {
        scan = 12;
        key = Qt::Key_3;
        modifiers = Qt::ControlModifier;
        native = 0x4;
        text = u"\x1b"_s;
    } else if (c == u'K') {
        scan = 87;
        key = Qt::Key_1;
        modifiers = Qt::KeypadModifier;
        native = 0x10;
        text = u"1"_s;
    } else if (c == u'\r') {
        scan = 36;
        key = Qt::Key_Return;
    }
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, modifiers, scan, c.unicode(), native, text);
        QCoreApplication::sendEvent(&k, &event);
    }
}

} // namespace

class KeyingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { game.reset(); }
    void init() { game.emplace(4242); }

    void keysBuildTheAnswer_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("reponse");
        QTest::addColumn<QString>("shown"); // after the calculation and seven blanks
        QTest::newRow("nothing follows a lone zero") << u"05"_s << u"0"_s << u"0 ?"_s;
        QTest::newRow("0, 0 gives 0") << u"00"_s << u"0"_s << u"0 ?"_s;
        QTest::newRow("zeros follow another digit") << u"500"_s << u"500"_s << u"500 ?"_s;
        QTest::newRow("seven digits take two blanks") << u"1234567"_s << u"1234567"_s << u"1 234 567 ?"_s;
        QTest::newRow("a ninth digit is refused") << u"123456789"_s << u"12345678"_s << u"12 345 678 ?"_s;
        QTest::newRow("Backspace erases the whole answer") << u"123\b4"_s << u"4"_s << u"4 ?"_s;
        QTest::newRow("Backspace frees a lone zero") << u"0\b5"_s << u"5"_s << u"5 ?"_s;
        QTest::newRow("letters, minus, point, space ignored") << u"7a-. z8"_s << u"78"_s << u"78 ?"_s;
        QTest::newRow("Enter with nothing keyed does not judge") << u"\r"_s << u""_s << u" ?"_s;
        QTest::newRow("= with nothing keyed does not judge") << u"="_s << u""_s << u" ?"_s;
        QTest::newRow("Enter judges, the estimate stays") << u"1234\r"_s << u""_s << u"1 234"_s;
        QTest::newRow("= judges, the estimate stays") << u"1234="_s << u""_s << u"1 234"_s;
        // Any key ends the pause with a fresh question; it does not start the new answer.
        QTest::newRow("a digit ending the pause is lost") << u"0\r75"_s << u"5"_s << u"5 ?"_s;
        QTest::newRow("a letter ends the pause") << u"0\rq"_s << u""_s << u" ?"_s;
        QTest::newRow("a click on the arrow ends the pause") << u"0\r^"_s << u""_s << u" ?"_s;
    }
    void keysBuildTheAnswer() {
        QFETCH(QString, keys);
        QFETCH(QString, reponse);
        QFETCH(QString, shown);
        Kovrant& k = game->startGame({2});
        press(k, keys);
        const bool judged = !shown.endsWith(u'?');
        QCOMPARE(game->module11.reponse, reponse);
        QCOMPARE(testsupport::label(k, u"Calcul").caption(),
                 QString(k.champs().calcul.texte_calcul + u"       "_s + shown));
        QCOMPARE(game->module11.attente_reponse.value(), judged ? 0 : 1);
        QCOMPARE(testsupport::image(k, u"flèche").isVisible(), judged);
        QCOMPARE(testsupport::image(k, u"arret").isVisible(), judged);
        QCOMPARE(testsupport::label(k, u"commentaire").isVisible(), judged);
    }

    void frenchKeyboardUnderX11_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("reponse");
        QTest::addColumn<bool>("judged");
        QTest::newRow("top row without Shift") << u"&é\""_s << u"123"_s << false;
        QTest::newRow("top row with and without Shift") << u"1é3"_s << u"123"_s << false;
        QTest::newRow("AltGr+à is @, not 0") << u"&@~"_s << u"1"_s << false;
        QTest::newRow("Ctrl+3 is neither 3 nor Escape") << u"&E"_s << u"1"_s << false;
        QTest::newRow("a dead key leaves nothing behind") << u"^é^"_s << u"2"_s << false;
        QTest::newRow("keypad") << u"KK"_s << u"11"_s << false;
        QTest::newRow("Enter judges the top row's digits") << u"&à\r"_s << u""_s << true;
        QTest::newRow("a top-row key ends the pause, lost") << u"&\r&"_s << u""_s << false;
        QTest::newRow("the euro sign ends the pause") << u"&\r€"_s << u""_s << false;
    }
    void frenchKeyboardUnderX11() {
        QFETCH(QString, keys);
        QFETCH(QString, reponse);
        QFETCH(bool, judged);
        Kovrant& k = game->startGame({2});
        k.setKeyboard(ui::KeyboardKind::Xkb);
        for (const QChar c : keys) {
            pressFrench(k, c);
        }
        QCOMPARE(game->module11.reponse, reponse);
        QCOMPARE(game->module11.attente_reponse.value(), judged ? 0 : 1);
        QCOMPARE(testsupport::image(k, u"flèche").isVisible(), judged);
        QVERIFY(!game->aurevoir().isLoaded());
    }

    void escapeLeavesOnlyDuringAQuestion_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("farewell");
        QTest::newRow("during a question: farewell, nothing judged") << u"12"_s << true;
        QTest::newRow("in the pause: the next question") << u"12\r"_s << false;
    }
    void escapeLeavesOnlyDuringAQuestion() {
        QFETCH(QString, before);
        QFETCH(bool, farewell);
        Kovrant& k = game->startGame({2});
        press(k, before);
        const ui::Integer score = game->module11.score;
        testsupport::typeKey(k, Qt::Key_Escape, u"\x1b"_s);
        QCOMPARE(game->aurevoir().isLoaded(), farewell);
        QCOMPARE(game->module11.score, score);
        QCOMPARE(game->module11.attente_reponse.value(), 1);
        QCOMPARE(game->module11.reponse, farewell ? u"12"_s : QString());
        QVERIFY(game->kovrant().isLoaded());
    }
};

QTEST_MAIN(KeyingTest)
#include "tst_keying.moc"
