#pragma once

// The classic codes the windows' key handlers receive: key codes for key-down (a key, whatever it types)
// and character codes for key-press (what it types, in the Windows-1252 set).
namespace base {

namespace keys {
constexpr int backspace = 8;
constexpr int tab = 9;
constexpr int enter = 13;
constexpr int shift = 16;
constexpr int control = 17;
constexpr int alt = 18;
constexpr int pause = 19;
constexpr int escape = 27;
constexpr int space = 32;
constexpr int pageUp = 33;
constexpr int pageDown = 34;
constexpr int end = 35;
constexpr int home = 36;
constexpr int left = 37;
constexpr int up = 38;
constexpr int right = 39;
constexpr int down = 40;
constexpr int insert = 45;
constexpr int del = 46;
constexpr int digit0 = 48;  // to 57 for 9
constexpr int letterA = 65; // to 90 for Z
constexpr int numpad0 = 96; // to 105 for 9
constexpr int f1 = 112;     // to 135 for F24
} // namespace keys

namespace chars {
constexpr int backspace = 8;
constexpr int tab = 9;
constexpr int enter = 13;
constexpr int escape = 27;
constexpr int del = 127;
constexpr int times = 215; // the multiplication sign
// The last code of the 8-bit set the game's keys all belong to.
constexpr int last8Bit = 255;
} // namespace chars

} // namespace base
