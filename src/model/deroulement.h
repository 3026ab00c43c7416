#pragma once

#include "bilan.h"
#include "reglages.h"
#include "regles.h"

#include <QString>
#include <array>

// How a teacher's séance unfolds: the calculations it poses, and what each verdict leaves in its bilan.
namespace exercise {

// A calculation the adult wrote, posed as it stands: its exact result and its texts as the generator
// would give them for the same operands.
Calcul calcul_donne(const CalculDonne& donne);

// The ring a verdict's mark falls in, as a colour word a child and a spreadsheet both read.
QString anneau_de(const Bande& bande);

// One calculation as it was answered: `estimation` is the digits confirmed, or empty when the clock
// judged with nothing keyed.
LigneBilan ligne_bilan(int numero, const Calcul& calcul, const QString& estimation, float ecart,
                       const Bande& bande, int secondes);

// The rings in the order of the points they give, best first.
inline constexpr std::array<const char*, 5> anneaux = {"jaune", "rouge", "bleu", "noir", "blanc"};

struct Totaux {
    int score = 0;                   // as the game counted it: a loss never takes it below nothing
    std::array<int, 5> par_anneau{}; // in the order of `anneaux`
};
Totaux totaux(const Bilan& bilan);

} // namespace exercise
