#include "cible.h"

#include "colour.h"
#include "surface.h"

namespace exercise {

namespace {
struct Disque {
    int rayon;
    int couleur; // palette index
};
constexpr Disque disques[] = {
    {int(rayon_cible), base::palette::lightRed},
    {150, base::palette::white},
    {120, base::palette::black},
    {90, base::palette::lightCyan},
    {60, base::palette::lightRed},
    {30, base::palette::yellow},
    {1, base::palette::black},
};
} // namespace

void dessiner_cible(ui::Surface& surface) {
    for (const Disque& d : disques) {
        surface.setFillColour(ui::paletteColour(d.couleur));
        surface.circle(centre_cible, d.rayon);
    }
}

} // namespace exercise
