#pragma once

#include "colour.h"
#include "layout.h"

// The look the game's windows share: the title's colours and the points written on the target's rings.
namespace charte {

constexpr base::Colour darkRed{0x000080};
constexpr base::Colour veryDarkRed{0x000040};
constexpr base::Colour paleOrange{0xC0E0FF};

constexpr ui::FontSpec legende = ui::layout::bold("Trebuchet MS", 9.75);
constexpr ui::FontSpec titre = ui::layout::font("Trebuchet MS", 24);

} // namespace charte
