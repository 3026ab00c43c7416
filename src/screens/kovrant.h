#pragma once

#include "exercice.h"
#include "form.h"
#include "integer.h"
#include "module11.h"

#include <QString>

namespace shell {
class Ecrans;
}

namespace exercise {

// The exercise screen: it shows the game of its model `Exercice` and hands it the player's keys, clicks
// and the ticks of its two timers. During a question `arret` and `flèche` are hidden and the clock counts
// on Timer1; in the pause after the verdict they are shown, the mark blinks on the target (Timer2), and
// any key or the arrow poses the next question, or ends the game once the score is above 99.
class Kovrant : public ui::Form {
    Q_OBJECT
public:
    explicit Kovrant(shell::Ecrans& programme);

    void load() override;
    void activate() override;
    void keyPress(int charCode) override;

    // The game this window shows.
    const Exercice& modele() const { return modele_; }
    const Exercice::Champs& champs() const { return modele_.champs(); }
    ui::Timer& timer1() { return Timer1; }
    ui::Timer& timer2() { return Timer2; }
    // The centre of the last verdict's mark on the target.
    QPointF marque() const { return QPointF(x_reponse, y_reponse); }

private:
    void preparer_partie();
    void nouveau_calcul();
    void saisir_reponse();
    void evaluer_reponse();
    void preparer_score();
    void afficher_score();
    void afficher_aide();
    void ecrire_dans_bulle(const QString& texte);
    void Timer1_Timer();
    void Timer2_Timer();
    void fleche_Click();
    void arret_Click();
    // Shows what a key, or posing the next question, did to the game.
    void montrer(Exercice::Effet effet);
    // The display of a question the model has just posed.
    void montrer_calcul();

    shell::Ecrans& programme_;
    shell::Module11& module11;
    Exercice modele_;

    // Where the window draws, beside the game's own variables: the help line, the score, the mark.
    base::Integer ordonnee_texte;
    float x_score = 0;
    float x_reponse = 0, y_reponse = 0;

    // What screen readers are told of this window (the end of kovrant.cpp).
    void decrire_pour_lecteurs();
    QString verdict_a_dire() const;
    QString aide_a_dire() const;
    ui::PaintedItem* cible_ = nullptr;
    ui::PaintedItem* aide_ = nullptr;
    ui::PaintedItem* score_ = nullptr;

    ui::Label& Calcul;
    ui::Label& commentaire;
    ui::Label& chronometre;
    ui::Label& reponse_exacte;
    ui::Label& Titre_aide;
    ui::Image& arret;
    ui::Image& fleche;
    ui::Timer& Timer1;
    ui::Timer& Timer2;
};

} // namespace exercise
