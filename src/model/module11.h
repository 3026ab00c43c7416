#pragma once

#include "integer.h"
#include "temps_accorde.h"

#include <QString>

namespace shell {

// The variables the screens share for the whole run, held by the programme. They start at zero and empty
// texts, but for the time allowed, which the adult chooses before the game starts; nothing is written to
// disk.
struct Module11 {
    base::Integer score;
    // Families chosen on the presentation screen: 1 additions and subtractions, 2 multiplications,
    // 3 divisions; 1 chosen, 0 not. Element 0 is never used.
    base::Array<base::Integer, 0, 3> operations_choisies;
    QString touche;                // the last key typed on the exercise screen, as one character
    QString reponse;               // the digits keyed so far
    base::Integer attente_reponse; // 1 while the calculation on show awaits its answer
    QString texte_score;
    // How long each question waits for its answer, set once at start-up and never changed during the run.
    exercise::TempsAccorde temps_accorde;
};

} // namespace shell
