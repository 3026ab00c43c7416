#include "ecran_bilan.h"

#include "charte.h"
#include "codes.h"
#include "deroulement.h"
#include "ecrans.h"
#include "layout.h"
#include "numbers.h"
#include "pictures.h"

#include <QColor>
#include <algorithm>
#include <array>

namespace shell {

namespace {

using namespace ui::layout;
using base::colours::white;
using charte::darkRed;

constexpr int colonnes = 6;
constexpr const char* nomsColonnes[colonnes] = {"numéro",   "calcul", "estimation",
                                                "résultat", "points", "anneau"};
// Left and width of each column, in twips; a row every 600 twips (30 points) from the first.
constexpr int gauches[colonnes] = {360, 1320, 6540, 10080, 13620, 15480};
constexpr int largeurs[colonnes] = {900, 5100, 3420, 3420, 1740, 3000};
constexpr int premiereLigne = 2220;
constexpr int pas = 600;
constexpr ui::FontSpec cellule = bold("Arial", 18);
constexpr ui::FontSpec entete = bold("Arial", 14.25);
constexpr ui::FontSpec total = bold("Arial", 20.25);

// The cells' names, "calcul3" and the like: kept here, as the table keeps its names' texts.
struct NomsCellules {
    char noms[EcranBilan::lignesParPage][colonnes][16];
};
constexpr NomsCellules faireNoms() {
    NomsCellules n{};
    for (int r = 0; r < EcranBilan::lignesParPage; ++r) {
        for (int c = 0; c < colonnes; ++c) {
            char* out = n.noms[r][c];
            int i = 0;
            for (const char* in = nomsColonnes[c]; *in != '\0'; ++in) {
                out[i++] = *in;
            }
            if (r + 1 >= 10) {
                out[i++] = char('0' + (r + 1) / 10);
            }
            out[i++] = char('0' + (r + 1) % 10);
        }
    }
    return n;
}
constexpr NomsCellules nomsCellules = faireNoms();

constexpr auto cellules = [] {
    std::array<ui::ControlSpec, EcranBilan::lignesParPage * colonnes> a{};
    for (int r = 0; r < EcranBilan::lignesParPage; ++r) {
        for (int c = 0; c < colonnes; ++c) {
            a[std::size_t(r * colonnes + c)] =
                label(nomsCellules.noms[r][c], gauches[c], premiereLigne + r * pas, largeurs[c], 540, "",
                      cellule, base::colours::black, opaque(white),
                      // The white ring's cell needs its edge to show on the window.
                      c == colonnes - 1 ? Centred | Hidden | Border : Centred | Hidden);
        }
    }
    return a;
}();

constexpr auto controls = rows(
    table({
        image("flèche", 18240, 9600, 480, 480, pictures::fleche),
        label("page_précédente", 360, 9600, 3000, 420, "< page précédente", font("Verdana", 12), darkRed,
              opaque(white), Centred | Hidden),
        label("page", 7980, 9600, 3000, 420, "", font("Verdana", 12), base::colours::black, opaque(white),
              Centred | Hidden),
        label("page_suivante", 14400, 9600, 3000, 420, "page suivante >", font("Verdana", 12), darkRed,
              opaque(white), Centred | Hidden),
        label("message", 360, 9000, 13500, 420, "", bold("Verdana", 12), base::Colour{0x0000C0},
              opaque(white), Hidden),
        label("réessayer", 14400, 9000, 3000, 420, "Réessayer", bold("Verdana", 12), white, opaque(darkRed),
              Centred | Hidden),
        label("score", 360, 8340, 4800, 540, "", total, white, opaque(base::Colour{0x000080}), Centred),
        label("total_jaune", 5400, 8340, 2400, 540, "", total, base::colours::black, opaque(white), Centred),
        label("total_rouge", 8040, 8340, 2400, 540, "", total, base::colours::black, opaque(white), Centred),
        label("total_bleu", 10680, 8340, 2400, 540, "", total, base::colours::black, opaque(white), Centred),
        label("total_noir", 13320, 8340, 2400, 540, "", total, base::colours::black, opaque(white), Centred),
        label("total_blanc", 15960, 8340, 2400, 540, "", total, base::colours::black, opaque(white),
              Centred | Border),
    }),
    cellules,
    table({
        label("entête_numéro", gauches[0], 1740, largeurs[0], 360, "n°", entete, darkRed, opaque(white),
              Centred),
        label("entête_calcul", gauches[1], 1740, largeurs[1], 360, "calcul", entete, darkRed, opaque(white),
              Centred),
        label("entête_estimation", gauches[2], 1740, largeurs[2], 360, "ta réponse", entete, darkRed,
              opaque(white), Centred),
        label("entête_résultat", gauches[3], 1740, largeurs[3], 360, "résultat exact", entete, darkRed,
              opaque(white), Centred),
        label("entête_points", gauches[4], 1740, largeurs[4], 360, "points", entete, darkRed, opaque(white),
              Centred),
        label("entête_anneau", gauches[5], 1740, largeurs[5], 360, "anneau", entete, darkRed, opaque(white),
              Centred),
        label("sous_titre", 960, 1080, 17040, 480, "", bold("Verdana", 14.25), darkRed, opaque(white),
              Centred),
        label("titre", 960, 240, 17040, 735, "Bilan", charte::titre, charte::veryDarkRed,
              opaque(charte::paleOrange), Centred | Border),
    }));

const ui::FormSpec design{
    .name = "Bilan",
    .caption = "",
    .clientWidth = 18960,
    .clientHeight = 10215,
    .twipsPerUnit = 20,
    .back = white,
    .fore = base::colours::black,
    .font = {"Arial", 18, true},
    .controls = controls,
};

// The colours of each ring on the target, the text in one that reads on it.
struct Teinte {
    QColor fond, texte;
};
const Teinte teintes[] = {
    {QColor(255, 255, 0), Qt::black},   // jaune
    {QColor(255, 0, 0), Qt::white},     // rouge
    {QColor(0, 255, 255), Qt::black},   // bleu
    {QColor(0, 0, 0), Qt::white},       // noir
    {QColor(255, 255, 255), Qt::black}, // blanc
};

int indexAnneau(const QString& anneau) {
    const auto* a = std::find_if(exercise::anneaux.begin(), exercise::anneaux.end(),
                                 [&anneau](const char* mot) { return anneau == QLatin1String(mot); });
    return a != exercise::anneaux.end() ? int(a - exercise::anneaux.begin()) : 4;
}

QString texteNombre(float x) {
    return base::espacer_milliers(base::texte_nombre(x)).trimmed();
}

QString textePoints(int points) {
    return points > 0 ? QStringLiteral("+%1").arg(points) : QString::number(points);
}

QString texteEstimation(const QString& estimation) {
    return estimation.isEmpty() ? QStringLiteral("pas de réponse")
                                : base::espacer_milliers(estimation).trimmed();
}

} // namespace

EcranBilan::EcranBilan(Ecrans& programme) : ui::Form(programme.runtime(), design), programme_(programme) {
    const exercise::Seance& seance = programme.reglages().seance;
    if (!seance.titre.isEmpty()) {
        bind<ui::Label>("titre").setCaption(seance.titre);
    }
    setAccessibleName(QStringLiteral("Les Kovrant, bilan de la séance"));
    auto& fleche = bind<ui::Image>("flèche");
    fleche.onClick = [this] { fleche_Click(); };
    fleche.accessibleName = [] { return QStringLiteral("Continuer"); };
    fleche.setTabIndex(4);
    auto& precedente = bind<ui::Label>("page_précédente");
    precedente.onClick = [this] { montrer_page(page_ - 1); };
    precedente.accessibleName = [] { return QStringLiteral("Page précédente"); };
    precedente.setTabIndex(1);
    auto& suivante = bind<ui::Label>("page_suivante");
    suivante.onClick = [this] { montrer_page(page_ + 1); };
    suivante.accessibleName = [] { return QStringLiteral("Page suivante"); };
    suivante.setTabIndex(2);
    auto& reessayer = bind<ui::Label>("réessayer");
    reessayer.onClick = [this] { enregistrer(); };
    reessayer.setTabIndex(3);
    for (int r = 0; r < lignesParPage; ++r) {
        for (int c = 0; c < colonnes; ++c) {
            cellules_[std::size_t(r)][std::size_t(c)] = &bind<ui::Label>(nomsCellules.noms[r][c]);
        }
    }
    for (int r = 0; r < lignesParPage; ++r) {
        // The row read as one sentence from its number; each cell still reads on its own.
        cellules_[std::size_t(r)][0]->accessibleName = [this, r]() -> QString {
            const auto& lignes = programme_.bilan.lignes;
            const qsizetype i = qsizetype(page_) * lignesParPage + r;
            return i < lignes.size() ? ligne_a_dire(lignes[i]) : QString();
        };
    }
    bind<ui::Label>("score").accessibleName = [this]() -> QString {
        return QStringLiteral("Score total ") + QString::number(exercise::totaux(programme_.bilan).score);
    };
}

int EcranBilan::pages() const {
    const auto n = int(programme_.bilan.lignes.size());
    return std::max(1, (n + lignesParPage - 1) / lignesParPage);
}

void EcranBilan::load() {
    const exercise::Bilan& bilan = programme_.bilan;
    bind<ui::Label>("sous_titre")
        .setCaption(bilan.prenom.isEmpty() ? QStringLiteral("Bilan de la séance")
                                           : QStringLiteral("Bilan de ") + bilan.prenom);
    montrer_totaux();
    montrer_page(0);
    if (!programme_.reglages().dossier_bilan.isEmpty() && !bilan.enregistre) {
        enregistrer();
    }
}

void EcranBilan::activate() {
    announce([this]() -> QString {
        const exercise::Totaux t = exercise::totaux(programme_.bilan);
        QString texte =
            QStringLiteral("Bilan : %1 calculs, score %2.").arg(programme_.bilan.lignes.size()).arg(t.score);
        for (std::size_t i = 0; i < exercise::anneaux.size(); ++i) {
            texte +=
                QStringLiteral(" %1 : %2.").arg(QLatin1String(exercise::anneaux[i])).arg(t.par_anneau[i]);
        }
        const auto& message = bind<ui::Label>("message");
        if (message.isVisible()) {
            texte += QLatin1Char(' ') + message.caption();
        }
        return texte;
    });
}

void EcranBilan::montrer_totaux() {
    const exercise::Totaux t = exercise::totaux(programme_.bilan);
    bind<ui::Label>("score").setCaption(QStringLiteral("Score : %1").arg(t.score));
    for (std::size_t i = 0; i < exercise::anneaux.size(); ++i) {
        const QString mot = QLatin1String(exercise::anneaux[i]);
        auto& l = bind<ui::Label>(("total_" + mot.toStdString()).c_str());
        l.setCaption(QStringLiteral("%1 : %2").arg(mot).arg(t.par_anneau[i]));
        l.setColours(teintes[i].texte, teintes[i].fond);
    }
}

void EcranBilan::montrer_page(int page) {
    page_ = std::clamp(page, 0, pages() - 1);
    const auto& lignes = programme_.bilan.lignes;
    for (int r = 0; r < lignesParPage; ++r) {
        const qsizetype i = qsizetype(page_) * lignesParPage + r;
        const bool montre = i < lignes.size();
        QString textes[colonnes];
        if (montre) {
            const exercise::LigneBilan& l = lignes[i];
            textes[0] = QString::number(l.numero);
            textes[1] = l.calcul;
            textes[2] = texteEstimation(l.estimation);
            textes[3] = texteNombre(l.resultat);
            textes[4] = textePoints(l.points);
            textes[5] = l.anneau;
        }
        for (int c = 0; c < colonnes; ++c) {
            ui::Label& cell = *cellules_[std::size_t(r)][std::size_t(c)];
            cell.setCaption(textes[c]);
            cell.setVisible(montre);
        }
        if (montre) {
            const Teinte& t = teintes[indexAnneau(lignes[i].anneau)];
            cellules_[std::size_t(r)][5]->setColours(t.texte, t.fond);
        }
    }
    const bool plusieurs = pages() > 1;
    auto& numero = bind<ui::Label>("page");
    numero.setCaption(QStringLiteral("page %1 / %2").arg(page_ + 1).arg(pages()));
    numero.setVisible(plusieurs);
    bind<ui::Label>("page_précédente").setVisible(plusieurs && page_ > 0);
    bind<ui::Label>("page_suivante").setVisible(plusieurs && page_ + 1 < pages());
}

void EcranBilan::keyDown(int keyCode) {
    if (keyCode == base::keys::pageDown) {
        montrer_page(page_ + 1);
    } else if (keyCode == base::keys::pageUp) {
        montrer_page(page_ - 1);
    }
}

void EcranBilan::enregistrer() {
    const bool ok = programme_.enregistrer_bilan();
    auto& message = bind<ui::Label>("message");
    auto& reessayer = bind<ui::Label>("réessayer");
    if (ok) {
        message.setVisible(false);
        reessayer.setVisible(false);
        return;
    }
    message.setCaption(
        QStringLiteral("Le bilan n'a pas pu être enregistré dans « %1 ». Tes résultats restent ici.")
            .arg(programme_.reglages().dossier_bilan));
    message.setVisible(true);
    reessayer.setVisible(true);
    announce([&message]() -> QString { return message.caption(); });
}

void EcranBilan::fleche_Click() {
    if (programme_.module11.score > 99) {
        programme_.fin().show();
    } else {
        programme_.aurevoir().show();
    }
}

QString EcranBilan::ligne_a_dire(const exercise::LigneBilan& l) const {
    const QString estimation = l.estimation.isEmpty() ? QStringLiteral("pas de réponse")
                                                      : QStringLiteral("ta réponse ") + l.estimation;
    return QStringLiteral("Calcul %1 : %2, %3, résultat exact %4, %5 points, anneau %6")
        .arg(l.numero)
        .arg(base::spokenText(l.calcul), estimation, exercise::nombre_a_dire(l.resultat),
             textePoints(l.points), l.anneau);
}

} // namespace shell
