#include "keyboard.h"

#include "codes.h"

#include <QKeyEvent>
#include <array>

namespace ui {

namespace {

constexpr int noDigit = -1;

// xkb: the top row's keys 1 to 9 and 0 are key codes 10 to 19.
int xkbDigit(quint32 scanCode) {
    return scanCode >= 10 && scanCode <= 19 ? int(scanCode - 9) % 10 : noDigit;
}

int windowsDigit(quint32 virtualKey) {
    return virtualKey >= 0x30 && virtualKey <= 0x39 ? int(virtualKey - 0x30) : noDigit;
}

// kVK_ANSI_0 to kVK_ANSI_9, which do not follow the order of the digits.
int macDigit(quint32 virtualKey) {
    constexpr std::array<quint32, 10> codes{0x1D, 0x12, 0x13, 0x14, 0x15, 0x17, 0x16, 0x1A, 0x1C, 0x19};
    for (std::size_t digit = 0; digit < codes.size(); ++digit) {
        if (codes[digit] == virtualKey) {
            return int(digit);
        }
    }
    return noDigit;
}

int topRowDigit(const KeyStroke& stroke) {
    switch (stroke.kind) {
    case KeyboardKind::Xkb:
        return xkbDigit(stroke.scanCode);
    case KeyboardKind::Windows:
        return windowsDigit(stroke.virtualKey);
    case KeyboardKind::Mac:
        return macDigit(stroke.virtualKey);
    case KeyboardKind::Unknown:
        break;
    }
    return noDigit;
}

int keypadDigit(const KeyStroke& stroke) {
    if (stroke.modifiers.testFlag(Qt::KeypadModifier) && stroke.key >= Qt::Key_0 && stroke.key <= Qt::Key_9) {
        return stroke.key - Qt::Key_0;
    }
    return noDigit;
}

// Ctrl, Alt, a logo key or AltGr held: a shortcut or a third-level symbol, not typing. Windows reports
// AltGr as Ctrl+Alt; xkb as the group switch, or only in the native state as Mod5, its usual place.
bool chord(const KeyStroke& stroke) {
    constexpr Qt::KeyboardModifiers held =
        Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier | Qt::GroupSwitchModifier;
    constexpr quint32 mod5 = 0x80;
    return (stroke.modifiers & held) != Qt::NoModifier ||
           (stroke.kind == KeyboardKind::Xkb && (stroke.nativeModifiers & mod5) != 0);
}

bool isDigitCode(int charCode) {
    return charCode >= '0' && charCode <= '9';
}

} // namespace

KeyboardKind keyboardKindOf(QStringView platformName) {
    if (platformName == u"xcb" || platformName.startsWith(u"wayland")) {
        return KeyboardKind::Xkb;
    }
    if (platformName == u"windows") {
        return KeyboardKind::Windows;
    }
    if (platformName == u"cocoa") {
        return KeyboardKind::Mac;
    }
    return KeyboardKind::Unknown;
}

KeyStroke keyStrokeOf(KeyboardKind kind, const QKeyEvent& event) {
    return KeyStroke{kind,
                     event.nativeScanCode(),
                     event.nativeVirtualKey(),
                     event.nativeModifiers(),
                     event.key(),
                     event.modifiers(),
                     event.text()};
}

ClassicKey classicKeyOf(const KeyStroke& stroke) {
    const bool held = chord(stroke);
    if (const int digit = keypadDigit(stroke); digit != noDigit) {
        return {base::keys::numpad0 + digit, held ? -1 : '0' + digit};
    }
    const int typed = charCodeOf(stroke.key, stroke.text);
    // A digit, Enter, Escape or Backspace typed as such is taken at its word: on-screen and remote
    // keyboards type through keymaps of their own, where the top row's places mean nothing. The place
    // decides for what the top row types without Shift on each layout (& é " ' on AZERTY, + " * on Swiss).
    const bool typesItself = !held && (isDigitCode(typed) || (typed >= 0 && typed < ' '));
    if (const int digit = topRowDigit(stroke); digit != noDigit && !typesItself) {
        if (!held) {
            return {base::keys::digit0 + digit, '0' + digit};
        }
        // Control characters come from Ctrl (Ctrl+3 types Escape under xkb): they are no symbol.
        return {base::keys::digit0 + digit, typed >= ' ' && !isDigitCode(typed) ? typed : -1};
    }
    return {keyCodeOf(stroke.key), held && isDigitCode(typed) ? -1 : typed};
}

int keyCodeOf(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return base::keys::letterA + (qtKey - Qt::Key_A);
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return base::keys::digit0 + (qtKey - Qt::Key_0);
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return base::keys::f1 + (qtKey - Qt::Key_F1);
    }
    switch (qtKey) {
    case Qt::Key_Backspace:
        return base::keys::backspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return base::keys::tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return base::keys::enter;
    case Qt::Key_Shift:
        return base::keys::shift;
    case Qt::Key_Control:
        return base::keys::control;
    case Qt::Key_Alt:
        return base::keys::alt;
    case Qt::Key_Pause:
        return base::keys::pause;
    case Qt::Key_Escape:
        return base::keys::escape;
    case Qt::Key_Space:
        return base::keys::space;
    case Qt::Key_PageUp:
        return base::keys::pageUp;
    case Qt::Key_PageDown:
        return base::keys::pageDown;
    case Qt::Key_End:
        return base::keys::end;
    case Qt::Key_Home:
        return base::keys::home;
    case Qt::Key_Left:
        return base::keys::left;
    case Qt::Key_Up:
        return base::keys::up;
    case Qt::Key_Right:
        return base::keys::right;
    case Qt::Key_Down:
        return base::keys::down;
    case Qt::Key_Insert:
        return base::keys::insert;
    case Qt::Key_Delete:
        return base::keys::del;
    default:
        return 0;
    }
}

int charCodeOf(int qtKey, const QString& text) {
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return base::chars::enter;
    case Qt::Key_Escape:
        return base::chars::escape;
    case Qt::Key_Backspace:
        return base::chars::backspace;
    case Qt::Key_Tab:
        return base::chars::tab;
    default:
        break;
    }
    const QList<uint> characters = text.toUcs4();
    if (characters.isEmpty()) {
        return -1;
    }
    const uint c = characters.back();
    if (c == base::chars::del) {
        return -1;
    }
    // The game reads 8-bit characters; the others still are keys that type something.
    return c <= base::chars::last8Bit ? int(c) : '?';
}

} // namespace ui
