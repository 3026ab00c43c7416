#include "options.h"

#include "bilan_fichier.h"
#include "seance_fichier.h"

#include <QDir>
#include <QLatin1StringView>
#include <QSettings>

namespace shell {

namespace {

using namespace Qt::StringLiterals;

// QApplication's own options, which it removes from the command line as it starts; the ones that take a
// value take the next argument, or the text after "=". Session managers restart a program with -session.
struct OptionQt {
    QLatin1StringView nom;
    bool valeur;
};
constexpr OptionQt optionsQt[] = {
    {"platform"_L1, true},        {"platformpluginpath"_L1, true},
    {"platformtheme"_L1, true},   {"plugin"_L1, true},
    {"qwindowgeometry"_L1, true}, {"qwindowicon"_L1, true},
    {"qwindowtitle"_L1, true},    {"session"_L1, true},
    {"style"_L1, true},           {"stylesheet"_L1, true},
    {"display"_L1, true},         {"name"_L1, true},
    {"reverse"_L1, false},        {"widgetcount"_L1, false},
    {"nograb"_L1, false},         {"dograb"_L1, false},
};

const OptionQt* optionQt(QStringView nom) {
    for (const OptionQt& option : optionsQt) {
        if (nom == option.nom) {
            return &option;
        }
    }
    return nullptr;
}

QString valeurs() {
    return QString::fromUtf8(exercise::TempsAccorde::valeursAcceptees());
}

Demande erreur(const QString& ligne) {
    Demande d;
    d.statut = 2;
    d.texte = u"Les Kovrant : "_s + ligne;
    return d;
}

std::optional<bool> ouiNon(const QString& texte) {
    if (texte == u"oui") {
        return true;
    }
    if (texte == u"non") {
        return false;
    }
    return std::nullopt;
}

QString aide() {
#ifdef Q_OS_WIN
    const QString reglage = u"les valeurs temps, bilan et pave, de type REG_SZ, de la clé\n"
                            "HKEY_LOCAL_MACHINE\\Software\\%1\\%2"_s;
#else
    const QString reglage = u"des lignes telles que temps=40, bilan=/srv/bilans ou pave=oui\n"
                            "dans le fichier /etc/xdg/%1/%2.conf"_s;
#endif
    return u"Utilisation : kovrant [--temps DURÉE] [--bilan DOSSIER] [--pave [oui|non]] [SÉANCE.kovrant]\n"
           "Les Kovrant : un jeu pour apprendre à estimer vite le résultat d'un calcul.\n"
           "\n"
           "  SÉANCE.kovrant   une séance préparée par l'enseignant : un fichier texte qui dit\n"
           "                   ce que l'élève travaille (titre, operations, calculs, niveau,\n"
           "                   temps, bilan, prenom, pave, ou une liste de calculs comme\n"
           "                   345 × 21). Le README, « Pour les enseignants », l'explique.\n"
           "  --temps DURÉE    le temps laissé à l'élève pour répondre à chaque calcul :\n"
           "                   un nombre entier de secondes de 30 à 300 (30 sans cette\n"
           "                   option), ou « aucune » pour jouer sans limite de temps.\n"
           "                   Pour un tiers-temps : kovrant --temps 40\n"
           "  --bilan DOSSIER  le dossier où le bilan d'une séance est enregistré, en un\n"
           "                   fichier .csv pour un tableur ; sans dossier, rien n'est écrit.\n"
           "  --pave [oui|non] le pavé de chiffres à l'écran, pour les écrans tactiles :\n"
           "                   --pave l'affiche, --pave non le cache. Sans cette option, il\n"
           "                   s'affiche sur un ordinateur à écran tactile.\n"
           "  --help           affiche cette aide.\n"
           "\n"
           "L'option l'emporte sur la séance, et la séance sur les réglages de l'ordinateur.\n"
           "Pour toute une salle, ces réglages changent les valeurs par défaut :\n"
           "%1.\n"
           "Une erreur dans la séance ou un dossier de bilan absent arrête le jeu avant la\n"
           "première fenêtre, sur une ligne qui dit quoi corriger (code de sortie 2).\n"
           "Les options de Qt (-platform, -style, -session...) sont aussi acceptées."_s.arg(
               reglage.arg(QLatin1StringView(organisationReglages), QLatin1StringView(applicationReglages)));
}

} // namespace

Demande lireLigneDeCommande(const QStringList& arguments) {
    Demande demande;
    bool aideDemandee = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == u"--help" || argument == u"-h") {
            aideDemandee = true;
            continue;
        }
        if (argument == u"--temps" || argument.startsWith(u"--temps=")) {
            const bool colle = argument.size() > 7;
            if (!colle && i + 1 == arguments.size()) {
                return erreur(u"il manque la durée après --temps : "_s + valeurs() + u'.');
            }
            const QString valeur = colle ? argument.mid(8) : arguments[++i];
            demande.temps = exercise::TempsAccorde::lire(valeur);
            if (!demande.temps) {
                return erreur(u"« %1 » n'est pas une durée possible pour --temps : "_s.arg(valeur) +
                              valeurs() + u'.');
            }
            continue;
        }
        if (argument == u"--bilan" || argument.startsWith(u"--bilan=")) {
            const bool colle = argument.size() > 7;
            if (!colle && i + 1 == arguments.size()) {
                return erreur(u"il manque le dossier après --bilan."_s);
            }
            demande.bilan = colle ? argument.mid(8) : arguments[++i];
            if (demande.bilan.isEmpty()) {
                return erreur(u"il manque le dossier après --bilan."_s);
            }
            continue;
        }
        if (argument == u"--pave" || argument.startsWith(u"--pave=")) {
            // The value is optional: only "oui" or "non" right after it are taken as its own.
            QString valeur = u"oui"_s;
            if (argument.size() > 6) {
                valeur = argument.mid(7);
            } else if (i + 1 < arguments.size() && ouiNon(arguments[i + 1])) {
                valeur = arguments[++i];
            }
            demande.pave = ouiNon(valeur);
            if (!demande.pave) {
                return erreur(u"« %1 » ne convient pas pour --pave ; il faut oui ou non."_s.arg(valeur));
            }
            continue;
        }
        if (!argument.startsWith(u'-') && argument.endsWith(u".kovrant"_s, Qt::CaseInsensitive)) {
            if (!demande.seance.isEmpty()) {
                return erreur(u"deux séances, « %1 » et « %2 » ; le jeu en ouvre une à la fois."_s.arg(
                    demande.seance, argument));
            }
            demande.seance = argument;
            continue;
        }
        // Qt reads its options with one dash or two.
        const QStringView nom = QStringView(argument).mid(argument.startsWith(u"--") ? 2 : 1);
        const qsizetype egal = nom.indexOf(u'=');
        if (const OptionQt* qt = argument.startsWith(u'-') ? optionQt(nom.left(egal)) : nullptr) {
            if (qt->valeur && egal < 0) {
                ++i;
            }
            continue;
        }
        const QString quoi = argument.startsWith(u'-') ? u"option inconnue"_s : u"argument inattendu"_s;
        return erreur(u"%1 « %2 » ; le jeu accepte une séance (fichier .kovrant), --temps suivi d'une "
                      "durée : "_s.arg(quoi, argument) +
                      valeurs() + u", --bilan suivi d'un dossier, --pave (voir kovrant --help)."_s);
    }
    if (aideDemandee) {
        Demande d;
        d.statut = 0;
        d.texte = aide();
        return d;
    }
    return demande;
}

TempsChoisi choisirTemps(const Demande& demande) {
    // Only ever read: nothing is set, so nothing is written back and no file, folder or key is made.
    const QSettings reglages(QSettings::SystemScope, QLatin1StringView(organisationReglages),
                             QLatin1StringView(applicationReglages));
    return choisirTemps(demande, reglages);
}

TempsChoisi choisirTemps(const Demande& demande, const QSettings& reglages) {
    if (demande.temps) {
        return {*demande.temps, {}};
    }
    const QVariant valeur = reglages.value("temps"_L1);
    if (reglages.status() != QSettings::NoError) {
        return {{},
                u"Les Kovrant : les réglages de cet ordinateur ne se lisent pas (fichier illisible ou mal "
                "écrit) ; le jeu laisse 30 secondes par calcul."_s};
    }
    if (!valeur.isValid()) {
        return {};
    }
    // A list ("40, 50" in a file) is no single value; it is shown as it was written.
    const QString texte =
        valeur.typeId() == QMetaType::QStringList ? valeur.toStringList().join(u", ") : valeur.toString();
    if (const auto temps = exercise::TempsAccorde::lire(texte)) {
        return {*temps, {}};
    }
    return {{},
            u"Les Kovrant : le réglage temps de cet ordinateur vaut « %1 », or il faut "_s.arg(texte) +
                valeurs() + u" ; le jeu laisse 30 secondes par calcul."_s};
}

Preparation preparer(const Demande& demande) {
    const QSettings reglages(QSettings::SystemScope, QLatin1StringView(organisationReglages),
                             QLatin1StringView(applicationReglages));
    return preparer(demande, reglages);
}

Preparation preparer(const Demande& demande, const QSettings& reglages) {
    Preparation p;
    const auto arret = [&p](const QString& ligne) {
        p.statut = 2;
        p.erreur = ligne;
        return p;
    };
    SeanceLue lue;
    if (!demande.seance.isEmpty()) {
        lue = lireSeance(demande.seance);
        if (!lue.erreur.isEmpty()) {
            return arret(lue.erreur);
        }
    }
    Demande temps = demande;
    if (!temps.temps) {
        temps.temps = lue.temps;
    }
    const TempsChoisi choisi = choisirTemps(temps, reglages);
    if (!choisi.avertissement.isEmpty()) {
        p.avertissements.append(choisi.avertissement);
    }
    p.reglages.temps = choisi.temps;
    p.reglages.seance = std::move(lue.seance);

    // A broken settings file was said once, by the time's warning.
    const bool lisibles = reglages.status() == QSettings::NoError;
    p.pave = demande.pave ? demande.pave : lue.pave;
    if (!p.pave && lisibles && reglages.contains("pave"_L1)) {
        const QString texte = reglages.value("pave"_L1).toString();
        p.pave = ouiNon(texte);
        if (!p.pave) {
            p.avertissements.append(
                u"Les Kovrant : le réglage pave de cet ordinateur vaut « %1 », or il faut oui ou non ; "
                "le pavé s'affiche sur un écran tactile."_s.arg(texte));
        }
    }

    QString dossier = demande.bilan.isEmpty() ? lue.bilan : QDir(demande.bilan).absolutePath();
    if (dossier.isEmpty() && lisibles) {
        dossier = reglages.value("bilan"_L1).toString();
    }
    // Only a séance leaves a bilan: the game as designed writes nothing, whatever the machine says.
    if (p.reglages.seance.active() && !dossier.isEmpty()) {
        if (const QString faute = verifierDossierBilan(dossier); !faute.isEmpty()) {
            return arret(faute);
        }
        p.reglages.dossier_bilan = QDir::cleanPath(dossier);
    }
    return p;
}

bool paveVoulu(std::optional<bool> demande, bool ecranTactile) {
    return demande.value_or(ecranTactile);
}

} // namespace shell
