#pragma once

#include "integer.h"
#include "palette.h"

#include <QColor>

namespace ui {

// What the colour numbers of palette.h are on screen.
QColor toQColor(base::Colour c);

// The classic sixteen-colour palette, indexes 0 to 15; any other index is an invalid call.
QColor paletteColour(base::Integer index);

} // namespace ui
