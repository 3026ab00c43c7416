#include "regles.h"

#include "ui/numbers.h"

namespace exercise {

namespace {

QString texte_operande(float n) {
    return ui::espacer_milliers(ui::texte_nombre(n).mid(1));
}

bool a_un_blanc(const QString& t) {
    return t.contains(QLatin1Char(' '));
}

} // namespace

QString texte_operateur(Operation operation) {
    switch (operation) {
    case Operation::Addition:
        return QStringLiteral(" + ");
    case Operation::Soustraction:
        return QStringLiteral(" - ");
    case Operation::Multiplication:
        return QLatin1Char(' ') + ui::characterOf(215) + QLatin1Char(' ');
    case Operation::Division:
        return QStringLiteral(" : ");
    case Operation::Aucune:
        break;
    }
    return QString();
}

QString nombre_a_dire(float x) {
    return QString::number(static_cast<qint64>(x));
}

QString calcul_a_dire(Operation operation, float nombre1, float nombre2) {
    const char* mot = "";
    switch (operation) {
    case Operation::Addition:
        mot = " plus ";
        break;
    case Operation::Soustraction:
        mot = " moins ";
        break;
    case Operation::Multiplication:
        mot = " fois ";
        break;
    case Operation::Division:
        mot = " divisé par ";
        break;
    case Operation::Aucune:
        return QString();
    }
    return nombre_a_dire(nombre1) + QString::fromUtf8(mot) + nombre_a_dire(nombre2);
}

TextesCalcul textes_calcul(Operation operation, float nombre1, float nombre2) {
    TextesCalcul t;
    t.texte_operande1 = texte_operande(nombre1);
    t.texte_operande2 = texte_operande(nombre2);
    const bool blanc1 = a_un_blanc(t.texte_operande1);
    const bool blanc2 = a_un_blanc(t.texte_operande2);
    switch (operation) {
    case Operation::Addition:
    case Operation::Soustraction:
        t.decalage_calcul = ui::Integer(blanc1 ? 10 : 0) + ui::Integer(blanc2 ? 10 : 0);
        break;
    case Operation::Multiplication:
        t.decalage_calcul = ui::Integer(blanc1 ? 8 : 0) + ui::Integer(blanc2 ? 8 : 0);
        break;
    case Operation::Division:
        t.decalage_calcul = blanc1 ? 10 : 0;
        break;
    case Operation::Aucune:
        break;
    }
    t.texte_calcul = t.texte_operande1 + texte_operateur(operation) + t.texte_operande2;
    return t;
}

const std::array<Bande, 5> bandes = {{
    {0.05f, 10, "Excellent, tu marques 10 points", 30, 300, 480, 3, 14, 0, false},
    {0.1f, 5, "Trés bien, tu marques 5 points", 10, 340, 480, 9, 12, 0, false},
    {0.25f, 1, "Bravo, tu marques 1 point", 5, 350, 160, 47, 11, 0, false},
    {0.5f, 0, "Trop loin, tu ne marques rien", 5, 350, 96, 69, 0, 12, true},
    {1.0f, -5, "Dommage, tu perds 5 points", 1, 360, 48, 99, 15, 0, true},
}};

float mesurer_ecart(const QString& reponse, float resultat) {
    if (resultat == 0.0f) {
        ui::runtimeError(ui::ErrorCode::DivisionByZero);
    }
    float q = static_cast<float>(ui::numericValue(reponse) / static_cast<double>(resultat));
    if (q > 1.0f) {
        q = static_cast<float>(1.0 / static_cast<double>(q));
    }
    return static_cast<float>(1.0 - static_cast<double>(q));
}

const Bande& bande_pour(float ecart) {
    for (const Bande& b : bandes) {
        if (ecart <= b.limite) {
            return b;
        }
    }
    // ecart never exceeds 1 for a positive result and an estimate made of digits.
    ui::runtimeError(ui::ErrorCode::InvalidCall);
}

QString texte_arrondi(float x) {
    if (x >= 1.0e7f) {
        return ui::espacer_milliers(QLatin1Char(' ') + QString::number(static_cast<qint64>(x)));
    }
    return ui::espacer_milliers(ui::texte_nombre(x));
}

QString LigneAide::texte() const {
    return texte_operateur + texte_arrondi2 + QStringLiteral(" = ") + texte_resultat_arrondi;
}

LigneAide ligne_aide(Operation operation, float nombre1, float nombre2) {
    LigneAide l{};
    l.arrondi1 = ui::roundToLeadingDigit(nombre1);
    l.texte_arrondi1 = texte_arrondi(l.arrondi1);
    l.arrondi2 = ui::roundToLeadingDigit(nombre2);
    l.texte_arrondi2 = texte_arrondi(l.arrondi2);
    switch (operation) {
    case Operation::Addition:
        l.resultat_arrondi = static_cast<float>(double(l.arrondi2) + double(l.arrondi1));
        l.texte_operateur = l.texte_arrondi1 + QStringLiteral(" + ");
        break;
    case Operation::Multiplication:
        l.resultat_arrondi = static_cast<float>(double(l.arrondi2) * double(l.arrondi1));
        l.texte_operateur = l.texte_arrondi1 + QLatin1Char(' ') + ui::characterOf(215);
        break;
    case Operation::Division:
        l.arrondi1 = static_cast<float>(double(nombre1) / double(l.arrondi2));
        l.resultat_arrondi = ui::roundToLeadingDigit(l.arrondi1);
        l.arrondi1 = static_cast<float>(double(l.arrondi2) * double(l.resultat_arrondi));
        l.texte_arrondi1 = texte_arrondi(l.arrondi1);
        l.texte_operateur = l.texte_arrondi1 + QStringLiteral(" : ");
        break;
    case Operation::Soustraction:
        l.resultat_arrondi = static_cast<float>(double(l.arrondi1) - double(l.arrondi2));
        l.texte_operateur = l.texte_arrondi1 + QStringLiteral(" -");
        break;
    case Operation::Aucune:
        break;
    }
    l.texte_resultat_arrondi = texte_arrondi(l.resultat_arrondi);
    return l;
}

} // namespace exercise
