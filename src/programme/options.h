#pragma once

#include "reglages.h"
#include "temps_accorde.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <optional>

namespace shell {

// What one start of the program asks for on its command line, read before any window exists so that a
// mistake or a request for help needs no display.
struct Demande {
    // The allowance given with --temps; without it the machine's default applies.
    std::optional<exercise::TempsAccorde> temps;
    // The séance file named on the command line, as it was written; empty without one.
    QString seance;
    // --bilan DOSSIER, as written.
    QString bilan;
    // --pave (true), --pave non (false); nullopt when not said.
    std::optional<bool> pave;
    // Set when the program stops at once: 0 after the help, which goes to standard output; 2 after a
    // mistake, whose one line goes to standard error.
    std::optional<int> statut;
    QString texte;
};

// `arguments` as the program receives them, its own name first. Qt's options (-platform, -style,
// -session...) are let through untouched for QApplication, which takes them; any other option is a
// mistake, and so is any argument that is not an option.
Demande lireLigneDeCommande(const QStringList& arguments);

// Where the machine-wide default lives: read-only settings of system scope in the platform's own place,
// /etc/xdg/leskovrant.fr/kovrant.conf on Linux (the folders of XDG_CONFIG_DIRS in turn), the key
// HKEY_LOCAL_MACHINE\Software\leskovrant.fr\kovrant on Windows. Fixed names rather than the application's
// displayed ones, so that renaming the game never moves a file school IT deployed.
inline constexpr char organisationReglages[] = "leskovrant.fr";
inline constexpr char applicationReglages[] = "kovrant";

struct TempsChoisi {
    exercise::TempsAccorde temps;
    // One line for standard error when the machine's setting cannot be read; the default then applies.
    QString avertissement;
};

// The allowance for this run: the command line's if it gave one, otherwise the machine's `temps` setting,
// otherwise 30 seconds. Reads the settings and never writes them.
TempsChoisi choisirTemps(const Demande& demande);
// The same with the machine's settings given, as tests give a file of their own on every platform.
TempsChoisi choisirTemps(const Demande& demande, const QSettings& reglages);

// Everything the adult set for this run, the séance file read and its bilan folder checked: the command
// line wins over the séance file, which wins over the machine's settings.
struct Preparation {
    exercise::Reglages reglages;
    // Whether the number pad was asked for or refused; when nobody said, the screen decides (paveVoulu).
    std::optional<bool> pave;
    // Lines for standard error about the machine's settings, whose defaults then apply.
    QStringList avertissements;
    // Set when the program stops at once: 2 after a mistake in the séance or its folder, said in `erreur`.
    std::optional<int> statut;
    QString erreur;
};

Preparation preparer(const Demande& demande);
// The same with the machine's settings given.
Preparation preparer(const Demande& demande, const QSettings& reglages);

// The number pad: as asked, else shown on a machine with a touch screen.
bool paveVoulu(std::optional<bool> demande, bool ecranTactile);

} // namespace shell
