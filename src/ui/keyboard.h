#pragma once

#include <QString>
#include <QStringView>
#include <Qt>

class QKeyEvent;

namespace ui {

// How a platform names the physical key of a key event. The digit keys of the top row are told by
// their place on the keyboard, since on French and Belgian keyboards they type "&", "é", "(" and the
// like unless Shift is held, and on Swiss and German ones Shift makes them type "+", "=" and so on.
enum class KeyboardKind {
    Unknown, // no physical key is known (offscreen, tests): the character typed decides
    Xkb,     // X11 and Wayland: the xkb key code, the kernel's code plus 8 (10 to 19 for 1 to 0)
    Windows, // the virtual key ('0' to '9' for the top row, whatever it types)
    Mac,     // the ANSI virtual key code
};

KeyboardKind keyboardKindOf(QStringView platformName);

// A key press as the platform delivers it.
struct KeyStroke {
    KeyboardKind kind = KeyboardKind::Unknown;
    quint32 scanCode = 0;
    quint32 virtualKey = 0;
    quint32 nativeModifiers = 0;
    int key = 0; // Qt::Key
    Qt::KeyboardModifiers modifiers;
    QString text;
};

KeyStroke keyStrokeOf(KeyboardKind kind, const QKeyEvent& event);

// What a window's handlers get for a key press: the classic key code for key-down, 0 for none, and the
// character code for key-press, -1 when the key types nothing.
struct ClassicKey {
    int keyCode = 0;
    int charCode = -1;
    friend bool operator==(const ClassicKey&, const ClassicKey&) = default;
};

// A top-row or keypad digit key is its digit on every layout, with or without Shift. Held with Ctrl,
// Alt, AltGr or a logo key it is not a digit: it types the symbol it gives, if that is no digit.
ClassicKey classicKeyOf(const KeyStroke& stroke);

// The classic key code of a Qt key (37 to 40 the arrows, 13 Enter, 27 Escape...), 0 when it has none.
int keyCodeOf(int qtKey);
// The character code a key press types (13 for Enter, 27 for Escape, 8 for Backspace), -1 for none. One
// press types one character: of a longer text, the last, since what comes before it is an accent left
// by a dead key that found nothing to go with. A character outside the 8-bit set reads as "?".
int charCodeOf(int qtKey, const QString& text);

} // namespace ui
