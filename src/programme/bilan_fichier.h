#pragma once

#include <QByteArray>
#include <QString>

namespace shell {

// One French line when `dossier` cannot take a bilan (missing, not a folder, not writable), found by
// writing and removing a file there as the bilan will be written; empty when it can.
QString verifierDossierBilan(const QString& dossier);

struct Enregistrement {
    bool reussi = false;
    QString chemin; // the file written
    QString erreur; // one French line when it was not
};

// Writes `contenu` as `nom` in `dossier`, atomically, never over an existing file: the name takes a
// suffix (-2, -3...) instead.
Enregistrement enregistrerFichier(const QString& dossier, const QString& nom, const QByteArray& contenu);

// The operating system's name for the account the game runs under, for the bilan's file.
QString compteCourant();

} // namespace shell
