#pragma once

namespace ui {
class Surface;
}

namespace exercise {

// The target: seven filled discs centred on (750, 250), drawn the same on the exercise and the
// presentation screens. Its rings are the scoring zones, from +10 at the centre to -5 at the edge.
void dessiner_cible(ui::Surface& surface);

} // namespace exercise
