#include "regles.h"

#include "codes.h"
#include "numbers.h"
#include "palette.h"

#include <cmath>
#include <utility>

namespace exercise {

namespace {

QString texte_operande(float n) {
    return base::espacer_milliers(base::texte_nombre(n).mid(1));
}

bool a_un_blanc(const QString& t) {
    return t.contains(QLatin1Char(' '));
}

double puissance10(base::Integer e) {
    return std::pow(10.0, e.value());
}

// Int(x): the floor, as a whole number of the draws' range.
float entier(double x) {
    return static_cast<float>(std::floor(x));
}

base::Integer entierCourt(double x) {
    return base::Integer(static_cast<int>(std::floor(x)));
}

// What each operation writes, says and computes, in the order of `Operation`.
struct RegleOperation {
    char16_t signe;     // between the operands, with a blank on each side
    const char* mot;    // the sign as a synthesiser should say it
    int decalage1;      // points the calculation moves right for a thousands blank in the first operand
    int decalage2;      // and in the second
    bool blanc_aide;    // the help line keeps a blank after the sign
    bool quotient_aide; // the help rounds the quotient and makes its dividend from it, so that it is exact
    double (*calculer)(double a, double b);
};

constexpr RegleOperation regles_operations[] = {
    {0, "", 0, 0, false, false, [](double, double) { return 0.0; }},
    {u'+', " plus ", 10, 10, true, false, [](double a, double b) { return a + b; }},
    {base::chars::times, " fois ", 8, 8, false, false, [](double a, double b) { return a * b; }},
    {u':', " divisé par ", 10, 0, true, true, [](double a, double b) { return a / b; }},
    {u'-', " moins ", 10, 10, false, false, [](double a, double b) { return a - b; }},
};

const RegleOperation& regle(Operation operation) {
    return regles_operations[static_cast<int>(operation)];
}

// The sign between its blanks, as the calculation writes it; nothing without an operation.
QString texte_operateur(Operation operation) {
    const char16_t signe = regle(operation).signe;
    return signe == 0 ? QString() : QLatin1Char(' ') + QChar(signe) + QLatin1Char(' ');
}

// The draws of one calculation, in the order the rules take them.
class Tirage {
public:
    Tirage(base::Random& hasard, base::Integer score) : hasard_(hasard), score_(score) {}

    Operation operation(const Familles& choisies) {
        base::Integer premiere = 0;
        for (int i = 3; i >= 1; --i) {
            if (choisies[i] == 1) {
                premiere = i;
            }
        }
        const base::Integer nb_operations = choisies[1] + choisies[2] + choisies[3];
        auto operation =
            static_cast<Operation>(entierCourt(r() * nb_operations.value() + premiere.value()).value());
        // Families 1 and 3 without 2: the draw above cannot reach 3, so it is made again between the two.
        if (choisies[2] == 0 && nb_operations == 2) {
            operation = static_cast<Operation>((base::Integer(2) * entierCourt(2 * r()) + 1).value());
        }
        return operation;
    }

    void addition_ou_soustraction(Calcul& c) {
        const base::Integer e1 = entierCourt(3 * r() + 3);
        c.nombre1 = entier((puissance10(e1) - 11) * r() + 11);
        const base::Integer e2 = entierCourt(3 * r() + 3);
        c.nombre2 = entier((puissance10(e2) - 101) * r() + 101);
        if (r() < 0.5) {
            c.resultat = resultat(c);
            return;
        }
        // A subtraction: a new second operand until the rounded operands differ by more than 100.
        for (;;) {
            const base::Integer e = entierCourt(3 * r() + 3);
            c.nombre2 = entier((puissance10(e) - 101) * r() + 101);
            if (std::fabs(base::roundToLeadingDigit(c.nombre1) - base::roundToLeadingDigit(c.nombre2)) >
                100.0f) {
                break;
            }
        }
        if (c.nombre1 < c.nombre2) {
            std::swap(c.nombre1, c.nombre2);
        }
        c.operation = Operation::Soustraction;
        c.resultat = resultat(c);
    }

    void multiplication(Calcul& c) {
        if (score_ <= 10) {
            c.nombre1 = entier(89 * r() + 11);
            c.nombre2 = entier(89 * r() + 11);
        } else if (score_ <= 20) {
            c.nombre1 = entier(899 * r() + 101);
            c.nombre2 = entier(89 * r() + 11);
        } else if (score_ <= 30) {
            c.nombre1 = entier(899 * r() + 101);
            c.nombre2 = entier(899 * r() + 101);
        } else {
            const base::Integer e = entierCourt(3 * r() + 2);
            c.nombre1 = entier((puissance10(e) - 11) * r() + 11);
            const base::Integer e2 = entierCourt(2 * r() + 2);
            c.nombre2 = entier((puissance10(e2) - 11) * r() + 11);
        }
        if (r() < 0.5) {
            std::swap(c.nombre1, c.nombre2);
        }
        c.resultat = resultat(c);
    }

    // The quotient is drawn and the dividend made from it, so that every division comes out whole.
    void division(Calcul& c) {
        if (score_ <= 10) {
            c.nombre2 = entier(8 * r() + 2);
            c.resultat = entier(899 * r() + 101);
        } else if (score_ <= 30) {
            c.nombre2 = entier(89 * r() + 11);
            const base::Integer e = entierCourt(2 * r() + 3);
            c.resultat = entier((puissance10(e) - 101) * r() + 101);
        } else {
            const base::Integer e = entierCourt(2 * r() + 2);
            c.nombre2 = entier((puissance10(e) - 11) * r() + 11);
            const base::Integer e2 = entierCourt((4 - e.value()) * r() + 2);
            c.resultat = entier(puissance10(e2) * r() + 2);
        }
        c.nombre1 = static_cast<float>(double(c.resultat) * double(c.nombre2));
    }

private:
    static float resultat(const Calcul& c) {
        return static_cast<float>(regle(c.operation).calculer(c.nombre1, c.nombre2));
    }
    double r() { return static_cast<double>(hasard_.next()); }

    base::Random& hasard_;
    base::Integer score_;
};

} // namespace

QString nombre_a_dire(float x) {
    return QString::number(static_cast<qint64>(x));
}

QString calcul_a_dire(Operation operation, float nombre1, float nombre2) {
    if (operation == Operation::Aucune) {
        return QString();
    }
    return nombre_a_dire(nombre1) + QString::fromUtf8(regle(operation).mot) + nombre_a_dire(nombre2);
}

TextesCalcul textes_calcul(Operation operation, float nombre1, float nombre2) {
    TextesCalcul t;
    t.texte_operande1 = texte_operande(nombre1);
    t.texte_operande2 = texte_operande(nombre2);
    const RegleOperation& r = regle(operation);
    t.decalage_calcul = base::Integer(a_un_blanc(t.texte_operande1) ? r.decalage1 : 0) +
                        base::Integer(a_un_blanc(t.texte_operande2) ? r.decalage2 : 0);
    t.texte_calcul = t.texte_operande1 + texte_operateur(operation) + t.texte_operande2;
    return t;
}

Calcul tirer_calcul(base::Random& hasard, const Familles& choisies, base::Integer score) {
    Tirage tirage(hasard, score);
    Calcul c;
    c.operation = tirage.operation(choisies);
    switch (c.operation) {
    case Operation::Addition:
        tirage.addition_ou_soustraction(c);
        break;
    case Operation::Multiplication:
        tirage.multiplication(c);
        break;
    case Operation::Division:
        tirage.division(c);
        break;
    case Operation::Soustraction:
    case Operation::Aucune:
        break;
    }
    static_cast<TextesCalcul&>(c) = textes_calcul(c.operation, c.nombre1, c.nombre2);
    return c;
}

// The mark blinks between its two colours.
namespace P = base::palette;

const std::array<Bande, 5> bandes = {{
    {0.05f, 10, "Excellent, tu marques 10 points", "le disque jaune du centre, plus 10 points", 30, 300, 480,
     3, P::yellow, P::black, false},
    {0.1f, 5, "Trés bien, tu marques 5 points", "l'anneau rouge, plus 5 points", 10, 340, 480, 9, P::lightRed,
     P::black, false},
    {0.25f, 1, "Bravo, tu marques 1 point", "l'anneau bleu clair, plus 1 point", 5, 350, 160, 47,
     P::lightCyan, P::black, false},
    {0.5f, 0, "Trop loin, tu ne marques rien", "l'anneau noir, 0 point", 5, 350, 96, 69, P::black,
     P::lightRed, true},
    {1.0f, -5, "Dommage, tu perds 5 points", "l'anneau blanc, moins 5 points", 1, 360, 48, 99, P::white,
     P::black, true},
}};

float mesurer_ecart(const QString& reponse, float resultat) {
    if (resultat == 0.0f) {
        base::runtimeError(base::ErrorCode::DivisionByZero);
    }
    float q = static_cast<float>(base::numericValue(reponse) / static_cast<double>(resultat));
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
    base::runtimeError(base::ErrorCode::InvalidCall);
}

QString texte_arrondi(float x) {
    if (x >= 1.0e7f) {
        return base::espacer_milliers(QLatin1Char(' ') + QString::number(static_cast<qint64>(x)));
    }
    return base::espacer_milliers(base::texte_nombre(x));
}

QString LigneAide::texte() const {
    return texte_operateur + texte_arrondi2 + QStringLiteral(" = ") + texte_resultat_arrondi;
}

LigneAide ligne_aide(Operation operation, float nombre1, float nombre2) {
    LigneAide l{};
    l.arrondi1 = base::roundToLeadingDigit(nombre1);
    l.arrondi2 = base::roundToLeadingDigit(nombre2);
    l.texte_arrondi2 = texte_arrondi(l.arrondi2);
    const RegleOperation& r = regle(operation);
    if (r.quotient_aide) {
        l.resultat_arrondi = base::roundToLeadingDigit(static_cast<float>(r.calculer(nombre1, l.arrondi2)));
        l.arrondi1 = static_cast<float>(double(l.arrondi2) * double(l.resultat_arrondi));
    } else {
        l.resultat_arrondi = static_cast<float>(r.calculer(l.arrondi1, l.arrondi2));
    }
    l.texte_arrondi1 = texte_arrondi(l.arrondi1);
    // The help line writes the sign as the calculation does, only some signs without their blank after.
    l.texte_operateur = texte_operateur(operation);
    if (!l.texte_operateur.isEmpty()) {
        l.texte_operateur.chop(r.blanc_aide ? 0 : 1);
        l.texte_operateur.prepend(l.texte_arrondi1);
    }
    l.texte_resultat_arrondi = texte_arrondi(l.resultat_arrondi);
    return l;
}

} // namespace exercise
