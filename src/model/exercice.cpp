#include "exercice.h"

#include "codes.h"
#include "numbers.h"

#include <cmath>

namespace exercise {

Exercice::Exercice(shell::Module11& module11, base::Random& hasard, TempsAccorde temps)
    : module11_(module11), hasard_(hasard), temps_(temps) {}

void Exercice::charger() {
    module11_.score = 0;
    hasard_.reseed();
    bande_ = nullptr;
    // Far past the last phase, so that nothing blinks before the first verdict.
    c_.nb_clignotements = 1000;
}

bool Exercice::nouveau_calcul() {
    if (module11_.score > 99) {
        return false;
    }
    c_.secondes = 0;
    module11_.attente_reponse = 1;
    c_.calcul = tirer_calcul(hasard_, module11_.operations_choisies, module11_.score);
    module11_.reponse.clear();
    c_.reponse_affichee.clear();
    return true;
}

Exercice::Effet Exercice::touche(int charCode) {
    const QString touche = base::characterOf(charCode);
    module11_.touche = touche;
    if (phase() == Phase::Pause) {
        return nouveau_calcul() ? Effet::Suivant : Effet::Fin;
    }
    if (charCode == base::chars::escape) {
        return Effet::AuRevoir;
    }
    return saisir_reponse(touche);
}

Exercice::Effet Exercice::saisir_reponse(const QString& touche) {
    QString& reponse = module11_.reponse;
    if (touche == base::characterOf(base::chars::backspace)) {
        reponse.clear();
    }
    // Only the nine digit characters and zero count; a lone zero takes no digit after it, so that an
    // answer never starts with 0.
    const bool chiffre = touche.size() == 1 && touche[0] >= u'0' && touche[0] <= u'9';
    if (reponse.size() < 8 && chiffre && reponse != QLatin1String("0")) {
        reponse += touche;
    }
    if (!reponse.isEmpty() &&
        (touche == base::characterOf(base::chars::enter) || touche == QLatin1String("="))) {
        evaluer_reponse();
        return Effet::Jugement;
    }
    c_.reponse_affichee = base::espacer_milliers(reponse);
    return Effet::Saisie;
}

void Exercice::evaluer_reponse() {
    module11_.attente_reponse = 0;
    c_.ecart = mesurer_ecart(module11_.reponse, c_.calcul.resultat);
    bande_ = &bande_pour(c_.ecart);

    const double r = static_cast<double>(hasard_.next());
    c_.angle_reponse =
        base::Integer(static_cast<int>(std::floor(r * bande_->angle_etendue + bande_->angle_debut)));
    const double rayon = double(c_.ecart) * bande_->k + bande_->c;
    // The angle is the index divided by 6.28 taken as radians: not a conversion from degrees, simply a
    // pseudo-random direction.
    const double angle = c_.angle_reponse.value() / 6.28;
    c_.dx_reponse = rayon * std::cos(angle);
    c_.dy_reponse = rayon * std::sin(angle);
    module11_.score += bande_->points;
    // A loss never takes the score below nothing.
    if (module11_.score < 0) {
        module11_.score = 0;
    }
    c_.couleur1 = bande_->couleur1;
    c_.couleur2 = bande_->couleur2;
    if (bande_->aide) {
        c_.aide = ligne_aide(c_.calcul.operation, c_.calcul.nombre1, c_.calcul.nombre2);
    }
    c_.nb_clignotements = 0;
    module11_.reponse.clear();
}

Exercice::Tic Exercice::tic_horloge() {
    Tic tic;
    if (module11_.attente_reponse != 1) {
        return tic;
    }
    if (c_.secondes < secondesAffichables) {
        c_.secondes += 1;
    }
    if (temps_.illimite()) {
        return tic;
    }
    const int reste = temps_.secondes() - c_.secondes.value();
    if (reste == 20 || reste == 10 || (reste == 60 && temps_.secondes() >= 120)) {
        tic.rappel = reste;
    }
    if (reste == 0) {
        // Whatever was keyed is judged as it stands; nothing keyed shows as 0.
        if (module11_.reponse.isEmpty()) {
            c_.reponse_affichee = QStringLiteral("0");
        }
        evaluer_reponse();
        tic.juge = true;
    }
    return tic;
}

std::optional<base::Integer> Exercice::tic_clignotement() {
    c_.nb_clignotements = static_cast<float>(double(c_.nb_clignotements) + 1);
    const float n = c_.nb_clignotements;
    if (n < 10 || n > 170 || std::fmod(n, 10.0f) != 0) {
        return std::nullopt;
    }
    // 10, 30, ... 170 stand out from the ring; 20, 40, ... 160 melt into it.
    return std::fmod(n, 20.0f) != 0 ? c_.couleur2 : c_.couleur1;
}

} // namespace exercise
