#pragma once

#include "exercise/regles.h"
#include "shell/module11.h"
#include "ui/form.h"
#include "ui/integer.h"

#include <QString>

namespace shell {
class Ecrans;
}

namespace exercise {

// The exercise screen. It alternates between two states, told apart by whether `arret` and `flèche` are
// shown: a question, posed by nouveau_calcul and awaiting its answer for at most 30 ticks of Timer1;
// and the pause after the verdict, during which the mark blinks on the target (Timer2) and any key or
// the arrow poses the next question, or ends the game once the score is above 99.
class Kovrant : public ui::Form {
    Q_OBJECT
public:
    // The window's own variables, alive while it is loaded.
    struct Champs {
        Calcul calcul; // the calculation on show
        float arrondi1 = 0, arrondi2 = 0, resultat_arrondi = 0;
        QString texte_arrondi1, texte_arrondi2, texte_resultat_arrondi, texte_operateur;
        QString reponse_affichee;
        ui::Integer secondes;
        float ecart = 0;
        ui::Integer angle_reponse;
        float x_reponse = 0, y_reponse = 0;
        ui::Integer couleur1, couleur2;
        float nb_clignotements = 0;
        ui::Integer ordonnee_texte;
        float x_score = 0;
    };

    explicit Kovrant(shell::Ecrans& programme);

    void load() override;
    void activate() override;
    void keyPress(int charCode) override;

    const Champs& champs() const { return c_; }
    ui::Timer& timer1() { return Timer1; }
    ui::Timer& timer2() { return Timer2; }

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

    // A fresh uniform draw in [0, 1), the "r" of the rules.
    double r();

    shell::Ecrans& programme_;
    shell::Module11& module11;

    // What screen readers are told of this window (the end of kovrant.cpp).
    void decrire_pour_lecteurs();
    QString verdict_a_dire() const;
    QString aide_a_dire() const;
    ui::PaintedItem* cible_ = nullptr;
    ui::PaintedItem* aide_ = nullptr;
    ui::PaintedItem* score_ = nullptr;

    Champs c_;
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
