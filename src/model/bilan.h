#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

namespace exercise {

// One calculation of a séance as it was answered, for the bilan on screen and in the spreadsheet.
struct LigneBilan {
    int numero = 0;     // from 1, in the order the calculations were posed
    QString calcul;     // as shown to the child ("345 × 21")
    QString estimation; // the digits confirmed; empty when nothing was keyed before the clock judged
    float resultat = 0; // the exact result
    float ecart = 0;    // how far the estimate lay from the result, as a fraction
    int points = 0;     // what the verdict added to the score (negative when it took some away)
    QString anneau;     // the ring the mark fell in, as a colour word ("jaune", "rouge"...)
    int secondes = 0;   // the seconds the calculation was on show before its verdict
};

// A séance as it was played: filled as verdicts fall, read by the bilan screen and written to the
// adult's folder. Lives as long as the programme, so that a séance cut short still has its rows.
struct Bilan {
    QDateTime debut; // when the séance's first calculation was posed
    QString prenom;  // the first name the child typed, when the séance asks for one
    QList<LigneBilan> lignes;
    bool interrompu = false; // the séance stopped before its last calculation
    bool enregistre = false; // the file is written: nothing more to save
};

} // namespace exercise
