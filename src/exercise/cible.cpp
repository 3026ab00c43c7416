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
    {152, ui::palette::lightRed}, {150, ui::palette::white},   {120, ui::palette::black},
    {90, ui::palette::lightCyan}, {60, ui::palette::lightRed}, {30, ui::palette::yellow},
    {1, ui::palette::black},
};
} // namespace

void dessiner_cible(ui::Surface& surface) {
    for (const Disque& d : disques) {
        surface.setFillColour(ui::paletteColour(d.couleur));
        surface.circle(QPointF(750, 250), d.rayon);
    }
}

} // namespace exercise
