#include "keyboard.h"

#include <QTest>
#include <array>

using ui::ClassicKey;
using ui::KeyboardKind;
using ui::KeyStroke;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ui::KeyStroke)
Q_DECLARE_METATYPE(ui::ClassicKey)

namespace {

// The top row from 1 to 0 as xkb's layouts of this machine type it. Windows and macOS give the same
// first two levels; their third level differs in places, and where they have none the first shows.
struct Layout {
    const char* name;
    std::u16string_view plain, shifted, altGr;
};

constexpr std::array layouts{
    Layout{"fr", u"&é\"'(-è_çà", u"1234567890", u"¹~#{[|`\\^@"},
    Layout{"ch", u"1234567890", u"+\"*ç%&/()=", u"|@#¼½¬|¢]}"},
    Layout{"us", u"1234567890", u"!@#$%^&*()", u"1234567890"},
};

enum class Level { Plain, Shift, AltGr };

// A platform, and how it delivers AltGr.
struct Platform {
    const char* name;
    KeyboardKind kind;
    Qt::KeyboardModifiers altGr;
    quint32 nativeAltGr;
};

constexpr std::array platforms{
    Platform{"xcb", KeyboardKind::Xkb, Qt::GroupSwitchModifier, 0x80},
    // AltGr seen only in the native state, as Mod5.
    Platform{"xkb state", KeyboardKind::Xkb, Qt::NoModifier, 0x80},
    Platform{"windows", KeyboardKind::Windows, Qt::ControlModifier | Qt::AltModifier, 0},
    Platform{"macos", KeyboardKind::Mac, Qt::AltModifier, 0},
};

KeyStroke stroke(KeyboardKind kind, quint32 scanCode, quint32 virtualKey, int key, const QString& text,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier, quint32 nativeModifiers = 0) {
    return KeyStroke{kind, scanCode, virtualKey, nativeModifiers, key, modifiers, text};
}

// The top row's key i (0 for 1, 9 for 0) typing a character. xkb names it by its key code and keysym
// (for Latin-1, the character), Windows by its scan code and virtual key, macOS by its virtual key alone.
KeyStroke topRowKey(const Platform& platform, int i, Level level, QChar typed) {
    constexpr std::array<quint32, 10> macCodes{0x12, 0x13, 0x14, 0x15, 0x17, 0x16, 0x1A, 0x1C, 0x19, 0x1D};
    const bool xkb = platform.kind == KeyboardKind::Xkb;
    const bool windows = platform.kind == KeyboardKind::Windows;
    const quint32 scanCode = xkb ? quint32(10 + i) : windows ? quint32(2 + i) : 0;
    const quint32 virtualKey = xkb       ? typed.unicode()
                               : windows ? quint32('0' + (i + 1) % 10)
                                         : macCodes[std::size_t(i)];
    const int key = typed.isDigit() ? Qt::Key_0 + typed.digitValue() : typed.toUpper().unicode();
    if (level == Level::Shift) {
        return stroke(platform.kind, scanCode, virtualKey, key, typed, Qt::ShiftModifier, xkb ? 0x1 : 0);
    }
    const bool altGr = level == Level::AltGr;
    return stroke(platform.kind, scanCode, virtualKey, key, typed, altGr ? platform.altGr : Qt::NoModifier,
                  altGr ? platform.nativeAltGr : 0);
}

} // namespace

class KeyboardsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void topRowIsItsDigit_data() {
        QTest::addColumn<int>("platform");
        QTest::addColumn<int>("layout");
        QTest::addColumn<Level>("level");
        const std::pair<Level, const char*> levels[] = {
            {Level::Plain, "plain"}, {Level::Shift, "Shift"}, {Level::AltGr, "AltGr"}};
        for (std::size_t p = 0; p < platforms.size(); ++p) {
            for (std::size_t l = 0; l < layouts.size(); ++l) {
                for (const auto& [level, name] : levels) {
                    QTest::addRow("%s %s %s", layouts[l].name, platforms[p].name, name)
                        << int(p) << int(l) << level;
                }
            }
        }
    }
    // With or without Shift the key is its digit, whatever it types; with AltGr it is the symbol it
    // gives, and nothing when that symbol is the digit itself.
    void topRowIsItsDigit() {
        QFETCH(int, platform);
        QFETCH(int, layout);
        QFETCH(Level, level);
        const Layout& row = layouts[std::size_t(layout)];
        const std::u16string_view typed = level == Level::Plain   ? row.plain
                                          : level == Level::Shift ? row.shifted
                                                                  : row.altGr;
        for (int i = 0; i < 10; ++i) {
            const QChar c(typed[std::size_t(i)]);
            const int digit = '0' + (i + 1) % 10;
            const ClassicKey expected{digit, level != Level::AltGr ? digit
                                             : c.isDigit()         ? -1
                                                                   : int(c.unicode())};
            const ClassicKey got = ui::classicKeyOf(topRowKey(platforms[std::size_t(platform)], i, level, c));
            const QString typing = u"%1 typing %2: "_s.arg(QChar(digit), c);
            QVERIFY2(got == expected, qPrintable(typing + u"%1, %2"_s.arg(got.keyCode).arg(got.charCode)));
        }
    }

    void otherKeys_data() {
        QTest::addColumn<KeyStroke>("stroke");
        QTest::addColumn<ClassicKey>("expected");
        const auto xkb = KeyboardKind::Xkb;
        const auto windows = KeyboardKind::Windows;
        const auto unknown = KeyboardKind::Unknown;
        const auto keypad = Qt::KeypadModifier;

        // Characters beyond the 8-bit set are keys all the same: they leave the pause.
        QTest::newRow("fr AltGr+E, euro")
            << stroke(xkb, 26, 0x20ac, 0x20ac, u"€"_s, Qt::GroupSwitchModifier, 0x80) << ClassicKey{0, '?'};
        QTest::newRow("beyond 16 bits")
            << stroke(unknown, 0, 0, Qt::Key_unknown, u"😀"_s) << ClassicKey{0, '?'};
        // A dead key types nothing and leaves nothing behind; the next key types what it composed, or
        // its own character after the accent that found nothing to go with.
        QTest::newRow("fr dead ^") << stroke(xkb, 34, 0xfe52, Qt::Key_Dead_Circumflex, QString())
                                   << ClassicKey{0, -1};
        QTest::newRow("composed ê") << stroke(xkb, 26, 0xea, 0xca, u"ê"_s) << ClassicKey{0, 0xea};
        QTest::newRow("windows ^ then z")
            << stroke(windows, 0x11, 'Z', Qt::Key_Z, u"^z"_s) << ClassicKey{90, 'z'};
        // Shortcuts on a digit key type no digit (under xkb Ctrl+3 even types Escape).
        // Qt may report AltGr by its flag alone, without the native Mod5 (another xkb group layout).
        QTest::newRow("fr AltGr+à by the group switch alone, @")
            << stroke(xkb, 19, '@', Qt::Key_At, u"@"_s, Qt::GroupSwitchModifier) << ClassicKey{'0', '@'};
        QTest::newRow("us Ctrl+3") << stroke(xkb, 12, '3', Qt::Key_3, u"\x1b"_s, Qt::ControlModifier, 0x4)
                                   << ClassicKey{'3', -1};
        QTest::newRow("keypad 1") << stroke(xkb, 87, 0xffb1, Qt::Key_1, u"1"_s, keypad, 0x10)
                                  << ClassicKey{97, '1'};
        QTest::newRow("keypad 1 under Ctrl")
            << stroke(xkb, 87, 0xffb1, Qt::Key_1, u"1"_s, keypad | Qt::ControlModifier, 0x14)
            << ClassicKey{97, -1};
        QTest::newRow("keypad without Num Lock")
            << stroke(xkb, 87, 0xff9c, Qt::Key_End, QString(), keypad) << ClassicKey{35, -1};
        // Where the physical key is unknown the character decides.
        QTest::newRow("offscreen &") << stroke(unknown, 0, 0, Qt::Key_Ampersand, u"&"_s)
                                     << ClassicKey{0, '&'};
        QTest::newRow("offscreen Ctrl+7")
            << stroke(unknown, 0, 0, Qt::Key_7, u"7"_s, Qt::ControlModifier) << ClassicKey{'7', -1};
        // A virtual keyboard (wtype, an on-screen keyboard) puts what it types on key codes of its own.
        QTest::newRow("virtual keyboard: 5 on the top row's first place")
            << stroke(xkb, 10, '5', Qt::Key_5, u"5"_s) << ClassicKey{'5', '5'};
        QTest::newRow("virtual keyboard: Enter on the top row's second place")
            << stroke(xkb, 11, 0xff0d, Qt::Key_Return, u"\r"_s) << ClassicKey{13, 13};
    }
    void otherKeys() {
        QFETCH(KeyStroke, stroke);
        QFETCH(ClassicKey, expected);
        const ClassicKey got = ui::classicKeyOf(stroke);
        QCOMPARE(got.keyCode, expected.keyCode);
        QCOMPARE(got.charCode, expected.charCode);
    }

    // Wayland's keyboards are xkb's: their top row is read by its key codes too.
    void waylandIsXkb() {
        QCOMPARE(ui::keyboardKindOf(u"wayland"), KeyboardKind::Xkb);
        QCOMPARE(ui::keyboardKindOf(u"xcb"), KeyboardKind::Xkb);
    }
};

QTEST_MAIN(KeyboardsTest)
#include "tst_keyboards.moc"
