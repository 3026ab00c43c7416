#pragma once

#include "ui/colour.h"
#include "ui/layout.h"

// The look the game's windows share: the title's colours and the points written on the target's rings.
namespace charte {

constexpr ui::Colour darkRed{0x000080};
constexpr ui::Colour veryDarkRed{0x000040};
constexpr ui::Colour paleOrange{0xC0E0FF};

constexpr ui::FontSpec legende = ui::layout::bold("Trebuchet MS", 9.75);
constexpr ui::FontSpec titre = ui::layout::font("Trebuchet MS", 24);

} // namespace charte
