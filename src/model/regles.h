#pragma once

#include "integer.h"
#include "random.h"

#include <QString>
#include <array>

// The game's rules that need no window: how a calculation is written, how an estimate is judged, and
// the worked calculation on rounded operands. The Kovrant window runs them in its own order.
namespace exercise {

enum class Operation : int { Aucune = 0, Addition = 1, Multiplication = 2, Division = 3, Soustraction = 4 };

struct TextesCalcul {
    QString texte_operande1;
    QString texte_operande2;
    QString texte_calcul;
    base::Integer decalage_calcul;
};
// The calculation as shown, with one thousands blank per long operand, and the correction to its left
// edge for the width those blanks add.
TextesCalcul textes_calcul(Operation operation, float nombre1, float nombre2);

// A calculation as posed: its operation, operands and exact result, and how it is written.
struct Calcul : TextesCalcul {
    Operation operation = Operation::Aucune;
    float nombre1 = 0, nombre2 = 0, resultat = 0;
};

// The families the player chose: element 1 additions and subtractions, 2 multiplications, 3 divisions;
// 1 chosen, 0 not. Element 0 is never used.
using Familles = base::Array<base::Integer, 0, 3>;

// Draws the next calculation among the chosen families (at least one), harder as the score rises:
// multiplications and divisions grow at scores above 10, 20 and 30. Every division comes out whole, and a
// subtraction's rounded operands always differ, so that its help line never shows a difference of
// nothing. The draws are taken from `hasard` in a fixed order, so a seed replays a game.
Calcul tirer_calcul(base::Random& hasard, const Familles& choisies, base::Integer score);

// One row of the scoring table.
struct Bande {
    float limite; // the highest ecart of the band
    int points;
    const char* commentaire;
    const char* zone; // where its mark lands, as a listener is told
    int angle_debut, angle_etendue;
    int k, c; // the mark's radius is ecart * k + c
    int couleur1, couleur2;
    bool aide;
};
extern const std::array<Bande, 5> bandes;

// How far an estimate lies from the result: 1 - min(estimate / result, result / estimate), every step
// rounded to single precision, as the band limits expect.
float mesurer_ecart(const QString& reponse, float resultat);
// The first band whose limit holds the ecart, so that a value on a shared limit takes the better band.
const Bande& bande_pour(float ecart);

struct LigneAide {
    float arrondi1, arrondi2, resultat_arrondi;
    QString texte_arrondi1, texte_arrondi2, texte_resultat_arrondi, texte_operateur;
    QString texte() const;
};
// The same calculation on operands rounded to their leading digit; a division keeps a dividend that
// makes the rounded division exact.
LigneAide ligne_aide(Operation operation, float nombre1, float nombre2);

// A calculation as a French speech synthesiser should read it: digits without blanks, the operator in
// words ("12345 plus 67890", "1234 fois 56", "5929 divisé par 7", "5000 moins 2345").
QString calcul_a_dire(Operation operation, float nombre1, float nombre2);
// A whole number in digits alone, for the same synthesiser.
QString nombre_a_dire(float x);

// A rounded number as the help line writes it. From ten million up the runtime would switch to exponent
// form, which means nothing to a child; the number is written out in digits instead (10 000 000).
QString texte_arrondi(float x);

} // namespace exercise
