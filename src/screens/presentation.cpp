#include "presentation.h"

#include "charte.h"
#include "cible.h"
#include "ecrans.h"
#include "layout.h"
#include "pictures.h"

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

} // namespace

Presentation::Presentation(shell::Ecrans& programme)
    : ui::Form(programme.runtime(), design), programme_(programme), module11(programme.module11) {
    for (int i = 1; i <= 3; ++i) {
        Table[i] = &bind<ui::CheckBox>("Table", i);
        Table[i]->onIndexedClick = [this](int index) { Table_Click(index); };
    }
    bind<ui::Label>("Label8").setCaption(consigne(programme.reglages().temps));
    auto& fleche = bind<ui::Image>("flèche");
    auto& arret = bind<ui::Image>("arret");
    fleche.onClick = [this] { fleche_Click(); };
    arret.onClick = [this] { arret_Click(); };

    // For the keyboard and screen readers: the arrow and the stop sign follow the three boxes.
    setAccessibleName(QStringLiteral("Les Kovrant, règles du jeu et choix des opérations"));
    fleche.accessibleName = [] { return QStringLiteral("Commencer le jeu"); };
    fleche.setTabIndex(4);
    arret.accessibleName = [] { return QStringLiteral("Arrêter le jeu"); };
    arret.setTabIndex(5);
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
        module11.operations_choisies[i] = 0;
        // A ticked box always means a chosen family: the marks go with the stored choice.
        Table[i]->setChecked(false);
    }
}

void Presentation::Table_Click(int index) {
    module11.operations_choisies[index] = base::Integer(1) - module11.operations_choisies[index];
}

void Presentation::fleche_Click() {
    const auto& choisies = module11.operations_choisies;
    if (choisies[1] + choisies[2] + choisies[3] > 0) {
        programme_.kovrant().show();
    } else {
        announce([] { return QStringLiteral("Choisis d'abord une opération."); });
    }
}

void Presentation::arret_Click() {
    programme_.aurevoir().show();
}

} // namespace presentation
