#pragma once

#include <QtGlobal>

// Colours as numbers, for the rules as well as the windows: what a colour is on screen is colour.h's affair.
namespace base {

// A colour as the layouts write it: &HBBGGRR&, or a system colour when the top bit is set.
struct Colour {
    quint32 ole = 0;
    friend constexpr bool operator==(Colour, Colour) = default;
};

namespace colours {
constexpr Colour black{0x000000};
constexpr Colour white{0xFFFFFF};
constexpr Colour windowBackground{0x80000005};
constexpr Colour windowText{0x80000008};
constexpr Colour labelText{0x80000012};
} // namespace colours

// The indexes of the classic sixteen-colour palette.
namespace palette {
constexpr int black = 0;
constexpr int blue = 1;
constexpr int green = 2;
constexpr int teal = 3;
constexpr int red = 4;
constexpr int magenta = 5;
constexpr int olive = 6;
constexpr int lightGrey = 7;
constexpr int grey = 8;
constexpr int lightBlue = 9;
constexpr int lightGreen = 10;
constexpr int lightCyan = 11;
constexpr int lightRed = 12;
constexpr int lightMagenta = 13;
constexpr int yellow = 14;
constexpr int white = 15;
} // namespace palette

} // namespace base
