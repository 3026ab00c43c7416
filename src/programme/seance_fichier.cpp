#include "seance_fichier.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace shell {

namespace {

using namespace Qt::StringLiterals;

enum class Cle { Titre, Operations, Calculs, Niveau, Temps, Bilan, Prenom, Pave };

struct DefinitionCle {
    Cle cle;
    QLatin1StringView nom;
    const char* attendu; // what a good value is, in words
};

const DefinitionCle cles[] = {
    {Cle::Titre, "titre"_L1, "un texte d'au plus 60 caractères"},
    {Cle::Operations, "operations"_L1,
     "additions, multiplications ou divisions, séparées par des virgules (additions comprend les "
     "soustractions)"},
    {Cle::Calculs, "calculs"_L1, "un nombre entier de 1 à 50"},
    {Cle::Niveau, "niveau"_L1, "un nombre entier de 1 à 4"},
    {Cle::Temps, "temps"_L1, nullptr}, // the command line's words
    {Cle::Bilan, "bilan"_L1, "le chemin d'un dossier"},
    {Cle::Prenom, "prenom"_L1, "oui ou non"},
    {Cle::Pave, "pave"_L1, "oui ou non"},
};

QString attendu(const DefinitionCle& d) {
    return QString::fromUtf8(d.attendu != nullptr ? d.attendu : exercise::TempsAccorde::valeursAcceptees());
}

// A teacher may write "prénom" or "Opérations": keys and words are compared without case or accents.
QString simplifier(QStringView mot) {
    QString t = mot.toString().normalized(QString::NormalizationForm_D).toLower();
    t.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
    return t;
}

const DefinitionCle* trouverCle(QStringView texte) {
    const QString nom = simplifier(texte);
    for (const DefinitionCle& d : cles) {
        if (nom == d.nom) {
            return &d;
        }
    }
    return nullptr;
}

std::optional<int> entierEntre(QStringView texte, int min, int max) {
    if (texte.isEmpty() || texte.size() > 3) {
        return std::nullopt;
    }
    int n = 0;
    for (const QChar c : texte) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        n = n * 10 + (c.unicode() - u'0');
    }
    if (n < min || n > max) {
        return std::nullopt;
    }
    return n;
}

std::optional<bool> ouiNon(QStringView texte) {
    const QString mot = simplifier(texte);
    if (mot == u"oui") {
        return true;
    }
    if (mot == u"non") {
        return false;
    }
    return std::nullopt;
}

std::optional<exercise::Familles> familles(QStringView texte) {
    exercise::Familles f;
    for (const QStringView partie : texte.split(u',')) {
        QString mot = simplifier(partie.trimmed());
        if (mot.endsWith(u's')) {
            mot.chop(1);
        }
        int famille = 0;
        if (mot == u"addition" || mot == u"soustraction") {
            famille = 1;
        } else if (mot == u"multiplication") {
            famille = 2;
        } else if (mot == u"division") {
            famille = 3;
        } else {
            return std::nullopt;
        }
        f[famille] = 1;
    }
    return f;
}

// Numbers whose thousands may be set apart by a space, as on the board: 5929, 5 929, 12 345.
const QString nombre = u"([0-9]{1,3}(?:[ \u00a0\u202f][0-9]{3})+|[0-9]+)"_s;
const QString operateur = u"\\s*([×xX*:/÷+\\-\u2212])\\s*"_s;

// What a listed calculation may be, family by family: what the game's own calculations reach, so that
// the screen shows it as it shows theirs and its judging never divides by nothing.
struct Limites {
    const char* famille;
    qint64 max1, max2;
    const char* etendue;
};
constexpr qint64 resultatMax = 9'999'999;
const Limites limitesAddition{"une addition", 99'999, 99'999, "des nombres de 1 à 99 999"};
const Limites limitesSoustraction{"une soustraction", 99'999, 99'999, "des nombres de 1 à 99 999"};
const Limites limitesMultiplication{"une multiplication", 9'999, 9'999,
                                    "des nombres de 1 à 9 999, pour un produit sous 10 000 000"};
const Limites limitesDivision{"une division", 999'999, 999,
                              "un nombre de 1 à 999 999 divisé par un nombre de 1 à 999"};

qint64 valeur(QStringView chiffres) {
    qint64 n = 0;
    for (const QChar c : chiffres) {
        if (c >= u'0' && c <= u'9') {
            n = n * 10 + (c.unicode() - u'0');
            if (n > 999'999'999) {
                return n; // already beyond every limit; stop before it overflows
            }
        }
    }
    return n;
}

struct LectureCalcul {
    bool estUnCalcul = false;
    exercise::CalculDonne calcul;
    QString erreur; // what is wrong with a line that is a calculation
};

LectureCalcul lireCalcul(const QString& ligne) {
    const QRegularExpression forme(u"^"_s + nombre + operateur + nombre + u"$"_s);
    const QRegularExpressionMatch m = forme.match(ligne);
    LectureCalcul l;
    if (!m.hasMatch()) {
        return l;
    }
    l.estUnCalcul = true;
    const qint64 a = valeur(m.capturedView(1));
    const qint64 b = valeur(m.capturedView(3));
    const QChar op = m.capturedView(2).front();
    const QString cite = u"« "_s + ligne + u" »"_s;
    const Limites* limites = nullptr;
    qint64 resultat = 0;
    exercise::Operation operation{};
    if (op == u'+') {
        operation = exercise::Operation::Addition;
        limites = &limitesAddition;
        resultat = a + b;
    } else if (op == u'-' || op == u'\u2212') {
        operation = exercise::Operation::Soustraction;
        limites = &limitesSoustraction;
        resultat = a - b;
    } else if (op == u':' || op == u'/' || op == u'÷') {
        operation = exercise::Operation::Division;
        limites = &limitesDivision;
        resultat = b == 0 ? 0 : a / b;
    } else {
        operation = exercise::Operation::Multiplication;
        limites = &limitesMultiplication;
        resultat = a * b;
    }
    if (a < 1 || b < 1 || a > limites->max1 || b > limites->max2 || resultat > resultatMax) {
        l.erreur = cite + u" sort des nombres du jeu ; "_s + QString::fromUtf8(limites->famille) +
                   u" de la séance prend "_s + QString::fromUtf8(limites->etendue) + u'.';
    } else if (operation == exercise::Operation::Soustraction && resultat < 1) {
        l.erreur = cite + u" ne donne pas un résultat positif ; une soustraction de la séance enlève un "
                          "nombre plus petit que le premier."_s;
    } else if (operation == exercise::Operation::Division && a % b != 0) {
        l.erreur = cite + u" ne tombe pas juste ; une division de la séance doit tomber juste."_s;
    }
    l.calcul = {operation, float(a), float(b)};
    return l;
}

class Lecteur {
public:
    Lecteur(const QString& nomAffiche, const QString& dossier) : nomAffiche_(nomAffiche), dossier_(dossier) {}

    // Reads one line; false after a mistake, which `lue.erreur` then says.
    bool ligne(int numero, QString texte) {
        numero_ = numero;
        if (const qsizetype diese = texte.indexOf(u'#'); diese >= 0) {
            texte.truncate(diese);
        }
        texte = texte.trimmed();
        if (texte.isEmpty()) {
            return true;
        }
        if (const qsizetype egal = texte.indexOf(u'='); egal >= 0) {
            return reglage(texte.left(egal).trimmed(), texte.mid(egal + 1).trimmed());
        }
        const LectureCalcul calcul = lireCalcul(texte);
        if (!calcul.estUnCalcul) {
            return faute(u"« "_s + texte +
                         u" » n'est ni un réglage (clé = valeur) ni un calcul (comme 345 × 21)."_s);
        }
        if (!calcul.erreur.isEmpty()) {
            return faute(calcul.erreur);
        }
        for (const Cle cle : {Cle::Calculs, Cle::Operations, Cle::Niveau}) {
            if (const int vu = vues_[int(cle)]; vu != 0) {
                return faute(
                    u"« "_s + texte +
                    u" » : un calcul ne va pas avec « %1 » (ligne %2) ; "_s.arg(cles[int(cle)].nom).arg(vu) +
                    sansListe);
            }
        }
        if (lue.seance.liste.size() == calculsMax) {
            return faute(u"« "_s + texte +
                         u" » fait plus de %1 calculs ; une séance en pose au plus %1."_s.arg(calculsMax));
        }
        if (premierCalcul_ == 0) {
            premierCalcul_ = numero;
        }
        lue.seance.liste.append(calcul.calcul);
        return true;
    }

    void aLaLigne(int numero) { numero_ = numero; }

    bool faute(const QString& quoi) {
        lue.erreur = u"Les Kovrant : %1, ligne %2 : "_s.arg(nomAffiche_).arg(numero_) + quoi;
        return false;
    }

    SeanceLue lue;

private:
    static inline const QString sansListe =
        u"une séance qui liste ses calculs les pose tous, dans l'ordre, et rien d'autre."_s;

    bool reglage(const QString& nom, const QString& texte) {
        const DefinitionCle* d = trouverCle(nom);
        if (d == nullptr) {
            return faute(u"« %1 » n'est pas un réglage de séance ; les réglages sont titre, operations, "
                         "calculs, niveau, temps, bilan, prenom et pave."_s.arg(nom));
        }
        int& vu = vues_[int(d->cle)];
        if (vu != 0) {
            return faute(
                u"« %1 » est déjà donné ligne %2 ; une séance le donne une seule fois."_s.arg(d->nom).arg(
                    vu));
        }
        vu = numero_;
        if ((d->cle == Cle::Calculs || d->cle == Cle::Operations || d->cle == Cle::Niveau) &&
            premierCalcul_ != 0) {
            return faute(u"« %1 » ne va pas avec les calculs listés dès la ligne %2 ; "_s.arg(d->nom).arg(
                             premierCalcul_) +
                         sansListe);
        }
        if (texte.isEmpty()) {
            return faute(u"« %1 » n'a pas de valeur ; il faut %2."_s.arg(d->nom, attendu(*d)));
        }
        const auto mauvaise = [&] {
            return faute(u"« %1 » ne convient pas pour %2 ; il faut %3."_s.arg(texte, d->nom, attendu(*d)));
        };
        exercise::Seance& s = lue.seance;
        switch (d->cle) {
        case Cle::Titre:
            if (texte.size() > titreMax) {
                return mauvaise();
            }
            s.titre = texte;
            break;
        case Cle::Operations:
            if (const auto f = familles(texte)) {
                s.operations = *f;
                break;
            }
            return mauvaise();
        case Cle::Calculs:
            if (const auto n = entierEntre(texte, 1, calculsMax)) {
                s.calculs = *n;
                break;
            }
            return mauvaise();
        case Cle::Niveau:
            if (const auto n = entierEntre(texte, 1, 4)) {
                s.niveau = *n;
                break;
            }
            return mauvaise();
        case Cle::Temps:
            if (const auto t = exercise::TempsAccorde::lire(texte)) {
                lue.temps = *t;
                break;
            }
            return mauvaise();
        case Cle::Bilan:
            // A folder beside the séance is named from the séance's own folder, wherever it is opened.
            lue.bilan = QDir::cleanPath(QDir(dossier_).absoluteFilePath(QDir::fromNativeSeparators(texte)));
            break;
        case Cle::Prenom:
            if (const auto oui = ouiNon(texte)) {
                s.prenom = *oui;
                break;
            }
            return mauvaise();
        case Cle::Pave:
            if (const auto oui = ouiNon(texte)) {
                lue.pave = *oui;
                break;
            }
            return mauvaise();
        }
        return true;
    }

    QString nomAffiche_, dossier_;
    int numero_ = 0;
    int premierCalcul_ = 0;
    int vues_[std::size(cles)] = {};
};

SeanceLue erreurFichier(const QString& nomAffiche, const QString& quoi) {
    SeanceLue lue;
    lue.erreur = u"Les Kovrant : %1 : "_s.arg(nomAffiche) + quoi;
    return lue;
}

} // namespace

SeanceLue lireSeance(const QByteArray& contenu, const QString& nomAffiche, const QString& nom,
                     const QString& dossier) {
    if (contenu.size() > tailleMaxSeance) {
        return erreurFichier(
            nomAffiche,
            u"ce fichier fait plus de %1 Ko ; une séance est un court texte."_s.arg(tailleMaxSeance / 1024));
    }
    Lecteur lecteur(nomAffiche, dossier);
    QByteArrayView reste = contenu;
    // Notepad's byte-order mark goes with the first line's decoding.
    for (int numero = 1; !reste.isEmpty(); ++numero) {
        qsizetype fin = reste.indexOf('\n');
        const QByteArrayView octets = reste.first(fin < 0 ? reste.size() : fin);
        reste = fin < 0 ? QByteArrayView() : reste.sliced(fin + 1);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString texte = utf8.decode(octets);
        if (utf8.hasError() || octets.contains('\0')) {
            lecteur.aLaLigne(numero);
            lecteur.faute(u"cette ligne n'est pas du texte (UTF-8) ; une séance s'écrit dans un éditeur de "
                          "texte."_s);
            return lecteur.lue;
        }
        if (!lecteur.ligne(numero, texte)) {
            return lecteur.lue;
        }
    }
    lecteur.lue.seance.nom = nom;
    return lecteur.lue;
}

SeanceLue lireSeance(const QString& chemin) {
    const QString nomAffiche = QDir::toNativeSeparators(chemin);
    const QFileInfo info(chemin);
    if (!info.exists()) {
        return erreurFichier(nomAffiche, u"ce fichier n'existe pas."_s);
    }
    if (info.isDir()) {
        return erreurFichier(nomAffiche, u"c'est un dossier ; il faut un fichier de séance."_s);
    }
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly)) {
        return erreurFichier(nomAffiche, u"ce fichier ne se lit pas (droits d'accès ?)."_s);
    }
    // One byte more than the limit tells a file too large without reading all of it.
    const QByteArray contenu = fichier.read(tailleMaxSeance + 1);
    if (fichier.error() != QFileDevice::NoError) {
        return erreurFichier(nomAffiche, u"ce fichier ne se lit pas (droits d'accès ?)."_s);
    }
    return lireSeance(contenu, nomAffiche, info.completeBaseName(), info.absolutePath());
}

} // namespace shell
