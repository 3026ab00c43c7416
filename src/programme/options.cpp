#include "options.h"

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
    return Demande{.temps = std::nullopt, .statut = 2, .texte = u"Les Kovrant : "_s + ligne};
}

QString aide() {
#ifdef Q_OS_WIN
    const QString reglage =
        u"la valeur temps, de type REG_SZ, de la clé HKEY_LOCAL_MACHINE\\Software\\%1\\%2"_s;
#else
    const QString reglage = u"une ligne telle que temps=40 dans le fichier /etc/xdg/%1/%2.conf"_s;
#endif
    return u"Utilisation : kovrant [--temps DURÉE]\n"
           "Les Kovrant : un jeu pour apprendre à estimer vite le résultat d'un calcul.\n"
           "\n"
           "  --temps DURÉE  le temps laissé à l'élève pour répondre à chaque calcul :\n"
           "                 un nombre entier de secondes de 30 à 300 (30 sans cette\n"
           "                 option), ou « aucune » pour jouer sans limite de temps.\n"
           "                 Pour un tiers-temps : kovrant --temps 40\n"
           "  --help         affiche cette aide.\n"
           "\n"
           "Pour toute une salle, un réglage de l'ordinateur change la valeur par défaut :\n"
           "%1 ;\n"
           "l'option --temps l'emporte sur ce réglage.\n"
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
        return erreur(u"%1 « %2 » ; le jeu accepte --temps suivi d'une durée : "_s.arg(quoi, argument) +
                      valeurs() + u" (voir kovrant --help)."_s);
    }
    if (aideDemandee) {
        return Demande{.temps = std::nullopt, .statut = 0, .texte = aide()};
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

} // namespace shell
