#pragma once

#include "integer.h"
#include "palette.h"

#include <QColor>

namespace ui {

// What the colour numbers of palette.h are on screen.
QColor toQColor(Colour c);

// The classic sixteen-colour palette, indexes 0 to 15; any other index is an invalid call.
QColor paletteColour(Integer index);

} // namespace ui
