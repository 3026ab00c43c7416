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

// Types keys as a player would (\b is Backspace, \r Enter, \x1b Escape); ^ is a click on the arrow.
void press(Kovrant& k, const QString& keys) {
    for (const QChar c : keys) {
        c == u'^' ? testsupport::clickControl(k, u"flèche") : testsupport::typeText(k, QString(c));
    }
}

// A key of the French layout as X11 delivers it: the key code of its place, the keysym, the text. The
// top row types & é " ' ( - è _ ç à without Shift and 1 to 0 with it; AltGr on its à key types @.
void pressFrench(Kovrant& k, QChar c) {
    constexpr std::u16string_view plain = u"&é\"'(-è_çà", shifted = u"1234567890";
    const bool shift = shifted.find(c.unicode()) != shifted.npos;
    const bool altGr = c == u'@';
    const auto place = altGr ? 9 : shift ? shifted.find(c.unicode()) : plain.find(c.unicode());
    const Qt::KeyboardModifiers modifiers = altGr   ? Qt::GroupSwitchModifier
                                            : shift ? Qt::ShiftModifier
                                                    : Qt::NoModifier;
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, c.toUpper().unicode(), modifiers, quint32(10 + place), c.unicode(),
                        altGr   ? 0x80
                        : shift ? 0x1
                                : 0,
                        QString(c));
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
        QTest::addColumn<bool>("farewell");
        QTest::newRow("nothing follows a lone zero") << u"05"_s << u"0"_s << u"0 ?"_s << false;
        QTest::newRow("zeros follow another digit") << u"500"_s << u"500"_s << u"500 ?"_s << false;
        QTest::newRow("seven digits take two blanks")
            << u"1234567"_s << u"1234567"_s << u"1 234 567 ?"_s << false;
        QTest::newRow("a ninth digit is refused")
            << u"123456789"_s << u"12345678"_s << u"12 345 678 ?"_s << false;
        QTest::newRow("Backspace erases the whole answer") << u"123\b4"_s << u"4"_s << u"4 ?"_s << false;
        QTest::newRow("Backspace frees a lone zero") << u"0\b5"_s << u"5"_s << u"5 ?"_s << false;
        QTest::newRow("letters, minus, point, space ignored")
            << u"7a-. z8"_s << u"78"_s << u"78 ?"_s << false;
        QTest::newRow("Enter with nothing keyed does not judge") << u"\r"_s << u""_s << u" ?"_s << false;
        QTest::newRow("Enter judges, the estimate stays") << u"1234\r"_s << u""_s << u"1 234"_s << false;
        QTest::newRow("= judges, the estimate stays") << u"1234="_s << u""_s << u"1 234"_s << false;
        // Any key ends the pause with a fresh question; it does not start the new answer.
        QTest::newRow("a digit ending the pause is lost") << u"0\r75"_s << u"5"_s << u"5 ?"_s << false;
        QTest::newRow("a click on the arrow ends the pause") << u"0\r^"_s << u""_s << u" ?"_s << false;
        QTest::newRow("Escape in the pause: the next question") << u"12\r\x1b"_s << u""_s << u" ?"_s << false;
        QTest::newRow("Escape during a question: farewell, nothing judged")
            << u"12\x1b"_s << u"12"_s << u"12 ?"_s << true;
    }
    void keysBuildTheAnswer() {
        QFETCH(QString, keys);
        QFETCH(QString, reponse);
        QFETCH(QString, shown);
        QFETCH(bool, farewell);
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
        QCOMPARE(game->aurevoir().isLoaded(), farewell);
    }

    // The top row's digits come from the key's place, passed on from the window's key events.
    void frenchKeyboardUnderX11_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("reponse");
        QTest::newRow("top row with and without Shift") << u"&é\"1é3"_s << u"123123"_s;
        QTest::newRow("AltGr+à is @, not 0") << u"&@"_s << u"1"_s;
    }
    void frenchKeyboardUnderX11() {
        QFETCH(QString, keys);
        QFETCH(QString, reponse);
        Kovrant& k = game->startGame({2});
        k.setKeyboard(ui::KeyboardKind::Xkb);
        for (const QChar c : keys) {
            pressFrench(k, c);
        }
        QCOMPARE(game->module11.reponse, reponse);
    }
};
QTEST_MAIN(KeyingTest)
#include "tst_keying.moc"
