#pragma once

#include "regles.h"
#include "temps_accorde.h"

#include <QList>
#include <QString>
#include <optional>

namespace exercise {

// A calculation an adult wrote in a séance: posed as it stands, in the séance's order.
struct CalculDonne {
    Operation operation = Operation::Aucune;
    float nombre1 = 0, nombre2 = 0;
    bool operator==(const CalculDonne&) const = default;
};

// What an adult's séance file asks for. Default-constructed, there is no séance: the game as designed.
struct Seance {
    QString nom;   // the file's name without its extension, for the bilan's file; empty without a séance
    QString titre; // shown to the child, and at the top of the bilan; may be empty
    std::optional<Familles> operations; // the families the teacher ticked, which the child cannot change
    int calculs = 0;                    // how many calculations before the séance ends; 0 when it lists them
    int niveau = 0;           // 1 to 4: the operand sizes of one score band; 0: they rise with the score
    QList<CalculDonne> liste; // the calculations to pose, in order; empty when drawn
    bool prenom = false;      // the child types a first name on the presentation

    bool active() const { return !nom.isEmpty(); }
    // How many calculations the séance poses, or 0 when the game runs to its score as designed.
    int nombre_de_calculs() const { return liste.isEmpty() ? calculs : int(liste.size()); }
};

// What the adult set for this run, before the child's first screen: the command line, the séance file
// and the machine's settings, already reconciled. Constant for the whole run.
struct Reglages {
    TempsAccorde temps;
    Seance seance;
    QString dossier_bilan; // where the bilan is saved; empty: nothing is written
    bool pave = false;     // the on-screen number pad on the exercise screen
};

} // namespace exercise
