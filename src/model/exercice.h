#pragma once

#include "integer.h"
#include "module11.h"
#include "random.h"
#include "regles.h"
#include "temps_accorde.h"

#include <QString>
#include <optional>

namespace exercise {

// The exercise without its window: which phase the question is in, the seconds spent on it, the answer
// being keyed, the verdict and the blink of its mark. Its operations are the game's own steps, and each
// tells the window what there is to show; the window draws and announces, and decides nothing.
//
// The score, the chosen families and the keyed answer are the program-wide variables of `Module11`,
// which the model changes in their place: the presentation screen writes the families and the end
// screen resets the score.
class Exercice {
public:
    // A question waits for its answer; the pause follows its verdict until the next question. The phase
    // is `attente_reponse` read as a name: 1 is the question, anything else the pause.
    enum class Phase { Question, Pause };

    // What a key did, for the window to show.
    enum class Effet {
        Saisie,   // the answer being keyed was refreshed (it may be unchanged)
        Jugement, // the answer was confirmed and judged
        Suivant,  // the pause ended with a new question
        Fin,      // the pause ended and the game is won: no new question
        AuRevoir, // Escape during a question: the player leaves, nothing judged
    };

    // What one tick of the answer clock did.
    struct Tic {
        bool juge = false; // the allowance ran out and the calculation was judged
        int rappel = 0;    // seconds left worth telling a listener (60, 20 or 10), or 0
    };

    // The variables of the exercise screen, alive while it is loaded.
    struct Champs {
        Calcul calcul;    // the calculation on show
        LigneAide aide{}; // the worked calculation on rounded operands, after a poor estimate
        QString reponse_affichee;
        base::Integer secondes;
        float ecart = 0;
        base::Integer angle_reponse;
        // Where the mark lands from the target's centre, kept in double so that the window places it
        // in single precision exactly once.
        double dx_reponse = 0, dy_reponse = 0;
        base::Integer couleur1, couleur2;
        float nb_clignotements = 0;
    };

    // The clock shows at most three digits: an untimed question counts on up to this and stays there.
    static constexpr int secondesAffichables = 999;

    Exercice(shell::Module11& module11, base::Random& hasard, TempsAccorde temps = {});

    // A new game as the screen loads: no points, a new seed, no mark to blink.
    void charger();
    // Poses the next calculation and starts its clock; false, with nothing changed, once the score is
    // above 99 and the game is won.
    bool nouveau_calcul();
    // A character typed on the screen, kept in `touche`: in the pause it poses the next question and is
    // itself lost; Escape during a question leaves; anything else goes to the answer.
    Effet touche(int charCode);
    // A key, as one character, applied to the answer: digits build it, Backspace erases it whole, Enter
    // or "=" confirm a non-empty one.
    Effet saisir_reponse(const QString& touche);
    // Judges the answer as it stands: scores it, places its mark, prepares the help and the blink.
    void evaluer_reponse();
    // One second of the answer clock; the tick that reaches the allowance judges the question.
    Tic tic_horloge();
    // One tick of the blink: the palette index the mark takes now, if it changes colour on this tick.
    std::optional<base::Integer> tic_clignotement();
    // Whether ticks of the blink can still change the mark, until the next verdict.
    bool clignote() const { return c_.nb_clignotements < 170; }

    Phase phase() const { return module11_.attente_reponse == 1 ? Phase::Question : Phase::Pause; }
    const Champs& champs() const { return c_; }
    // The band of the verdict on show in the pause; none during a question or before the first verdict.
    const Bande* verdict() const { return phase() == Phase::Pause ? bande_ : nullptr; }
    TempsAccorde temps() const { return temps_; }

private:
    shell::Module11& module11_;
    base::Random& hasard_;
    TempsAccorde temps_;
    const Bande* bande_ = nullptr;
    Champs c_;
};

} // namespace exercise
