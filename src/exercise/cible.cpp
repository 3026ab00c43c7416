#include "cible.h"

#include "ui/colour.h"
#include "ui/surface.h"

namespace exercise {

namespace {
struct Disque {
    int rayon;
    int couleur; // palette index
};
constexpr Disque disques[] = {
    {152, 12}, {150, 15}, {120, 0}, {90, 11}, {60, 12}, {30, 14}, {1, 0},
};
} // namespace

void dessiner_cible(ui::Surface& surface) {
    for (const Disque& d : disques) {
        surface.setFillColour(ui::paletteColour(d.couleur));
        surface.circle(QPointF(750, 250), d.rayon);
    }
}

} // namespace exercise
