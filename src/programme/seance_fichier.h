#pragma once

#include "reglages.h"
#include "temps_accorde.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace shell {

// What a séance file says, read but not yet weighed against the command line and the machine's settings.
struct SeanceLue {
    exercise::Seance seance;
    std::optional<exercise::TempsAccorde> temps; // `temps = …`, which the command line's --temps overrides
    QString bilan;                               // `bilan = …`, made absolute from the file's folder
    std::optional<bool> pave;                    // `pave = oui|non`
    // The one French line that answers the file's first mistake; empty when the file is good.
    QString erreur;
};

// The largest séance file read: a class's lesson is a few hundred bytes, fifty calculations about a
// kilobyte; anything far larger is not a séance.
inline constexpr qsizetype tailleMaxSeance = 64 * 1024;
inline constexpr int titreMax = 60;
inline constexpr int calculsMax = 50;

// Reads the séance file at `chemin` (named in messages as it was given).
SeanceLue lireSeance(const QString& chemin);

// Reads a séance's bytes: `nomAffiche` names the file in messages, `nom` becomes the séance's name, and
// a relative `bilan` folder is taken from `dossier`.
SeanceLue lireSeance(const QByteArray& contenu, const QString& nomAffiche, const QString& nom,
                     const QString& dossier);

} // namespace shell
