#include "deroulement.h"

#include <algorithm>

namespace exercise {

Calcul calcul_donne(const CalculDonne& donne) {
    Calcul c;
    c.operation = donne.operation;
    c.nombre1 = donne.nombre1;
    c.nombre2 = donne.nombre2;
    const double a = donne.nombre1;
    const double b = donne.nombre2;
    switch (donne.operation) {
    case Operation::Addition:
        c.resultat = static_cast<float>(a + b);
        break;
    case Operation::Soustraction:
        c.resultat = static_cast<float>(a - b);
        break;
    case Operation::Multiplication:
        c.resultat = static_cast<float>(a * b);
        break;
    case Operation::Division:
        c.resultat = static_cast<float>(a / b);
        break;
    case Operation::Aucune:
        break;
    }
    TextesCalcul t = textes_calcul(c.operation, c.nombre1, c.nombre2);
    c.texte_operande1 = std::move(t.texte_operande1);
    c.texte_operande2 = std::move(t.texte_operande2);
    c.texte_calcul = std::move(t.texte_calcul);
    c.decalage_calcul = t.decalage_calcul;
    return c;
}

QString anneau_de(const Bande& bande) {
    const auto i = std::size_t(&bande - bandes.data());
    return i < anneaux.size() ? QString::fromLatin1(anneaux[i]) : QString();
}

LigneBilan ligne_bilan(int numero, const Calcul& calcul, const QString& estimation, float ecart,
                       const Bande& bande, int secondes) {
    LigneBilan l;
    l.numero = numero;
    l.calcul = calcul.texte_calcul;
    l.estimation = estimation;
    l.resultat = calcul.resultat;
    l.ecart = ecart;
    l.points = bande.points;
    l.anneau = anneau_de(bande);
    l.secondes = secondes;
    return l;
}

Totaux totaux(const Bilan& bilan) {
    Totaux t;
    for (const LigneBilan& l : bilan.lignes) {
        t.score = std::max(0, t.score + l.points);
        const auto* a = std::find_if(anneaux.begin(), anneaux.end(),
                                     [&l](const char* mot) { return l.anneau == QLatin1String(mot); });
        if (a != anneaux.end()) {
            t.par_anneau[std::size_t(a - anneaux.begin())] += 1;
        }
    }
    return t;
}

} // namespace exercise
