#include "temps_accorde.h"

namespace exercise {

std::optional<TempsAccorde> TempsAccorde::lire(QStringView texte) {
    const QStringView t = texte.trimmed();
    if (t == u"aucune") {
        return sansLimite();
    }
    // Digits only: a sign, a blank or a decimal point inside the number makes it a mistake.
    if (t.isEmpty() || t.size() > 3) {
        return std::nullopt;
    }
    int secondes = 0;
    for (const QChar c : t) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        secondes = secondes * 10 + (c.unicode() - u'0');
    }
    return enSecondes(secondes);
}

const char* TempsAccorde::valeursAcceptees() {
    return "un nombre entier de secondes de 30 à 300, ou « aucune »";
}

} // namespace exercise
