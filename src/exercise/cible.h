#pragma once

namespace ui {
class Surface;
}

namespace exercise {

// The target: seven filled discs centred on (750, 250), drawn the same on the exercise and the
// presentation screens. Its rings are the scoring zones, from +10 at the centre to -5 at the edge.
void dessiner_cible(ui::Surface& surface);

// The seventeen labels that write the points on the rings, named alike on both screens.
inline constexpr const char* legendes[] = {"Label1",  "Label9",  "Label10", "Label11", "Label12", "Label13",
                                           "Label14", "Label15", "Label16", "Label17", "Label18", "Label19",
                                           "Label20", "Label21", "Label22", "Label23", "Label24"};

} // namespace exercise
