#include "presentation.h"

#include "charte.h"
#include "cible.h"
#include "ecrans.h"
#include "layout.h"
#include "pictures.h"

#include <optional>

namespace presentation {

namespace {

using namespace ui::layout;
using base::colours::black;
using base::colours::labelText;
using base::colours::white;
using base::colours::windowBackground;
using base::colours::windowText;

using charte::darkRed;
constexpr ui::FontSpec choix = font("Arial Narrow", 15.75);
constexpr ui::FontSpec regle = font("Verdana", 12);
constexpr Pointer main{pictures::main, QPoint(12, 1)};

// From the front to the back: "Attention :" lies above the left end of the line it introduces.
constexpr auto controls = rows(
    table({
        checkBox("Table", 1, 4080, 6360, 3255, 360, "Additions, soustractions", choix, darkRed, white, main),
        checkBox("Table", 2, 4080, 6840, 2895, 360, "Multiplications", choix, darkRed, white, main),
        checkBox("Table", 3, 4080, 7320, 2775, 360, "Divisions", choix, darkRed, white, main),
        roundedFrame("Shape4", 3600, 6120, 4215, 1935, white, darkRed, 2),
        label("Label25", 4440, 5520, 2655, 375, "Choisis tes opérations", choix, darkRed, opaque(white),
              Centred | AutoSize),
        // What an adult's séance adds: its title under the game's, and the child's first name.
        label("titre_séance", 1560, 1260, 8775, 480, "", bold("Trebuchet MS", 15.75), darkRed, opaque(white),
              Centred | Hidden),
        label("étiquette_prénom", 2400, 8370, 2055, 375, "Ton prénom :", choix, darkRed, opaque(white),
              Hidden),
        textField("prénom", 4440, 8280, 3375, 510, 30, choix, darkRed, white),
    }),
    exercise::lignes_legendes(exercise::Ecran::presentation),
    table({
        label("Label4", 12960, 1320, 4680, 315, "tu marqueras les points indiqués ci-dessous.",
              font("Verdana", 9.75), labelText, opaque(white), Centred),
        label("Label3", 12120, 960, 6000, 315, "Quand ta réponse  clignotera sur la cible",
              font("Verdana", 9.75), labelText, opaque(white), Centred),
        label("Label2", 2640, 3600, 1455, 255, "Attention :", {"Verdana", 12, true, true, true}, windowText,
              opaque(windowBackground), Centred),
        label("Label8", 3360, 3600, 6975, 255, " Il faut répondre en moins de 30 secondes.", regle,
              windowText, opaque(windowBackground), Centred),
        label("Label7", 2640, 2040, 6975, 255, "Je vais te proposer des calculs compliqués.", regle,
              windowText, opaque(windowBackground), Centred),
        label("Label6", 1560, 3000, 8775, 375, "mais d'essayer d'en être le plus poche possible.", regle,
              windowText, opaque(windowBackground), Centred),
        label("Label5", 2640, 2520, 6975, 255, "Le but du jeu n'est pas de trouver  la réponse exacte,",
              regle, windowText, opaque(windowBackground), Centred),
        label("réponse_exacte", 12120, 8400, 6000, 315, "la réponse exacte est au centre de la cible",
              font("Verdana", 9.75), labelText, opaque(white), Centred),
        image("arret", 720, 9360, 480, 480, pictures::arret),
        image("flèche", 18240, 9600, 480, 480, pictures::fleche),
        // The framed title keeps its designed box, x 168 to 432 points, its words centred in it: fitted to
        // its caption the frame would shrink to the words' width and lose the centre it is drawn around.
        label("titre", 3360, 240, 5280, 735, "Les Kovrant", charte::titre, charte::veryDarkRed,
              opaque(charte::paleOrange), Centred | Border),
    }));

const ui::FormSpec design{
    .name = "présentation",
    .caption = "",
    .clientWidth = 18960,
    .clientHeight = 10215,
    .twipsPerUnit = 20,
    .back = white,
    .fore = base::Colour{0x404080},
    .font = {"Times New Roman", 48, true},
    .fill = base::Colour{0x000040},
    .controls = controls,
};

// The rule of the clock, as the adult set it: the designed sentence at 30 seconds.
QString consigne(exercise::TempsAccorde temps) {
    if (temps.illimite()) {
        return QStringLiteral(" Tu as tout ton temps pour répondre.");
    }
    return QStringLiteral(" Il faut répondre en moins de %1 secondes.").arg(temps.secondes());
}

// The families of a séance: those it names, or those of the calculations it lists.
std::optional<exercise::Familles> familles_de(const exercise::Seance& seance) {
    if (!seance.liste.isEmpty()) {
        exercise::Familles f;
        for (const exercise::CalculDonne& c : seance.liste) {
            const int famille = c.operation == exercise::Operation::Soustraction ? 1 : int(c.operation);
            if (famille >= 1 && famille <= 3) {
                f[famille] = 1;
            }
        }
        return f;
    }
    return seance.operations;
}

const char* const noms_familles[] = {"", "Additions, soustractions", "Multiplications", "Divisions"};

} // namespace

Presentation::Presentation(shell::Ecrans& programme)
    : ui::Form(programme.runtime(), design), programme_(programme), module11(programme.module11),
      prenom(bind<ui::TextField>("prénom")) {
    const exercise::Seance& seance = programme.reglages().seance;
    familles_imposees_ = familles_de(seance);
    for (int i = 1; i <= 3; ++i) {
        Table[i] = &bind<ui::CheckBox>("Table", i);
        Table[i]->onIndexedClick = [this](int index) { Table_Click(index); };
        if (familles_imposees_) {
            Table[i]->setLocked(true);
            const bool choisie = (*familles_imposees_)[i] == 1;
            Table[i]->accessibleName = [i, choisie]() -> QString {
                return QString::fromUtf8(noms_familles[i]) +
                       (choisie ? QStringLiteral(", choisie par ton enseignant")
                                : QStringLiteral(", pas au programme"));
            };
        }
    }
    if (familles_imposees_) {
        auto& consigne_choix = bind<ui::Label>("Label25");
        consigne_choix.setCaption(QStringLiteral("Ton enseignant a choisi"));
        // The caption grows right from its left edge: keep it centred over the frame as designed.
        consigne_choix.setLeft(4440 + (2655 - consigne_choix.width()) / 2);
    }
    if (!seance.titre.isEmpty()) {
        auto& titre_seance = bind<ui::Label>("titre_séance");
        titre_seance.setCaption(seance.titre);
        titre_seance.setVisible(true);
    }
    prenom.setVisible(seance.prenom);
    bind<ui::Label>("étiquette_prénom").setVisible(seance.prenom);
    prenom.accessibleName = [] { return QStringLiteral("Ton prénom"); };
    prenom.setTabIndex(seance.prenom ? 4 : 0);
    bind<ui::Label>("Label8").setCaption(consigne(programme.reglages().temps));
    auto& fleche = bind<ui::Image>("flèche");
    auto& arret = bind<ui::Image>("arret");
    fleche.onClick = [this] { fleche_Click(); };
    arret.onClick = [this] { arret_Click(); };

    // For the keyboard and screen readers: the arrow and the stop sign follow the three boxes.
    setAccessibleName(QStringLiteral("Les Kovrant, règles du jeu et choix des opérations"));
    fleche.accessibleName = [] { return QStringLiteral("Commencer le jeu"); };
    fleche.setTabIndex(5);
    arret.accessibleName = [] { return QStringLiteral("Arrêter le jeu"); };
    arret.setTabIndex(6);
    ui::PaintedItem& cible = addPaintedItem(
        QAccessible::Graphic, [] { return QStringLiteral("Cible : la réponse exacte est au centre"); });
    cible.show(exercise::cadre_cible);
    for (const exercise::Legende& legende : exercise::legendes) {
        cible.holds(bind<ui::Label>(legende.nom));
    }
}

void Presentation::activate() {
    programme_.accueil().unload();
    preparer_presentation();
}

void Presentation::preparer_presentation() {
    surface().clear();
    exercise::dessiner_cible(surface());
    for (int i = 1; i <= 3; ++i) {
        // The teacher's choice stands; the child's starts again from nothing.
        module11.operations_choisies[i] = familles_imposees_ ? (*familles_imposees_)[i] : base::Integer(0);
        // A ticked box always means a chosen family: the marks go with the stored choice.
        Table[i]->setChecked(module11.operations_choisies[i] == 1);
    }
}

void Presentation::Table_Click(int index) {
    module11.operations_choisies[index] = base::Integer(1) - module11.operations_choisies[index];
}

void Presentation::fleche_Click() {
    const auto& choisies = module11.operations_choisies;
    if (prenom.isVisible() && prenom.text().trimmed().isEmpty()) {
        announce([] { return QStringLiteral("Écris d'abord ton prénom."); });
        return;
    }
    if (choisies[1] + choisies[2] + choisies[3] > 0) {
        programme_.bilan.prenom = prenom.text().simplified();
        programme_.kovrant().show();
    } else {
        announce([] { return QStringLiteral("Choisis d'abord une opération."); });
    }
}

void Presentation::arret_Click() {
    programme_.aurevoir().show();
}

} // namespace presentation
