#pragma once

#include "integer.h"

#include <QString>

namespace shell {

// The variables the screens share for the whole run, held by the programme. They start at zero and empty
// texts. What the adult sets before the game (the time allowed, a séance) is not among them: it reaches
// the screens as the programme's `Reglages`.
struct Module11 {
    base::Integer score;
    // Families chosen on the presentation screen: 1 additions and subtractions, 2 multiplications,
    // 3 divisions; 1 chosen, 0 not. Element 0 is never used.
    base::Array<base::Integer, 0, 3> operations_choisies;
    QString touche;                // the last key typed on the exercise screen, as one character
    QString reponse;               // the digits keyed so far
    base::Integer attente_reponse; // 1 while the calculation on show awaits its answer
    QString texte_score;
};

} // namespace shell
