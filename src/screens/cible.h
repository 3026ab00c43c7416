#pragma once

#include "charte.h"
#include "layout.h"

#include <QPointF>
#include <QRectF>
#include <array>
#include <cstddef>

namespace ui {
class Surface;
}

namespace exercise {

// The target: seven filled discs around one centre, drawn the same on the exercise and the presentation
// screens. Its rings are the scoring zones, from +10 at the centre to -5 at the edge.
void dessiner_cible(ui::Surface& surface);

// In drawing units: the target's centre, the radius of its outer disc and the box that holds it.
inline constexpr QPointF centre_cible{750, 250};
inline constexpr double rayon_cible = 152;
inline constexpr QRectF cadre_cible{centre_cible.x() - rayon_cible, centre_cible.y() - rayon_cible,
                                    2 * rayon_cible, 2 * rayon_cible};

// The screens that show the target.
enum class Ecran { exercice, presentation };

struct Decalage {
    int dx = 0, dy = 0; // twips
};

// One of the labels that write the points on the rings, as the exercise screen places it. The
// presentation screen was laid out by hand apart and places some a few twips off: its offset keeps
// each of them where the player has always seen it.
struct Legende {
    const char* nom;
    const char* points;
    int gauche, haut, largeur, hauteur; // twips
    base::Colour couleur;
    Decalage presentation;
};

// +10 at the centre, the four +5, the four +1, the four -5 on the white ring and the four 0, written in
// white on the black ring.
inline constexpr Legende legendes[] = {
    // name, points, left, top, width, height, colour, the presentation's offset
    {"Label1", "+10", 14800, 4880, 360, 270, base::colours::black, {-40, 0}},
    {"Label9", "+5", 15720, 4880, 240, 270, base::colours::black, {0, 0}},
    {"Label10", "+5", 14000, 4880, 240, 270, base::colours::black, {0, 0}},
    {"Label11", "+5", 14880, 4040, 240, 270, base::colours::black, {-40, -40}},
    {"Label12", "+5", 14880, 5805, 240, 270, base::colours::black, {-40, -45}},
    {"Label13", "+1", 13360, 4875, 240, 270, base::colours::black, {0, 5}},
    {"Label14", "+1", 16360, 4880, 240, 270, base::colours::black, {0, 0}},
    {"Label15", "+1", 14880, 6405, 240, 270, base::colours::black, {-40, -45}},
    {"Label16", "+1", 14880, 3435, 240, 270, base::colours::black, {-40, -35}},
    {"Label17", "-5", 17600, 4880, 195, 270, base::colours::black, {40, 0}},
    {"Label18", "-5", 14900, 2160, 195, 255, base::colours::black, {0, -40}},
    {"Label19", "-5", 14900, 7640, 195, 270, base::colours::black, {0, 0}},
    {"Label20", "-5", 12160, 4880, 195, 270, base::colours::black, {-40, 0}},
    {"Label21", "0", 17040, 4880, 120, 270, base::colours::white, {0, 0}},
    {"Label22", "0", 12840, 4880, 120, 270, base::colours::white, {0, 0}},
    {"Label23", "0", 14960, 7005, 120, 270, base::colours::white, {-40, -45}},
    {"Label24", "0", 14960, 2805, 120, 270, base::colours::white, {-40, -45}},
};

// The labels as rows of a screen's control table, where that screen places them.
constexpr std::array<ui::ControlSpec, std::size(legendes)> lignes_legendes(Ecran ecran) {
    using namespace ui::layout;
    std::array<ui::ControlSpec, std::size(legendes)> lignes{};
    for (std::size_t i = 0; i < lignes.size(); ++i) {
        const Legende& l = legendes[i];
        const Decalage d = ecran == Ecran::presentation ? l.presentation : Decalage{};
        lignes[i] = label(l.nom, l.gauche + d.dx, l.haut + d.dy, l.largeur, l.hauteur, l.points,
                          charte::legende, l.couleur, transparent, AutoSize);
    }
    return lignes;
}

} // namespace exercise
