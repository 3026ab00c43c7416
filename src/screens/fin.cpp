#include "fin.h"

#include "charte.h"
#include "codes.h"
#include "ecrans.h"
#include "layout.h"
#include "pictures.h"

namespace shell {

namespace {

using namespace ui::layout;

constexpr base::Colour paleYellow{0xE0FFFF};

const ui::ControlSpec controls[] = {
    image("flèche", 8760, 6360, 480, 480, pictures::fleche),
    label("texte2", 6960, 1800, 3975, 855, "Félicitations", bold("Times New Roman", 30), charte::darkRed,
          opaque(paleYellow), Centred | Border),
};

const ui::FormSpec design{
    .name = "FIN",
    .caption = "FIN",
    .clientWidth = 13530,
    .clientHeight = 8820,
    .twipsPerUnit = 15,
    .back = base::colours::white,
    .fore = base::colours::windowText,
    .font = {"Times New Roman", 36, true},
    .controls = controls,
};

} // namespace

Fin::Fin(Ecrans& programme)
    : ui::Form(programme.runtime(), design), programme_(programme), module11(programme.module11) {
    auto& fleche = bind<ui::Image>("flèche");
    fleche.onClick = [this] { fleche_click(); };
    setAccessibleName(QStringLiteral("Les Kovrant, fin du jeu"));
    fleche.accessibleName = [] { return QStringLiteral("Au revoir"); };
}

void Fin::activate() {
    announce([] { return QStringLiteral("Félicitations !"); });
}

void Fin::load() {
    module11.score = 0;
}

void Fin::fleche_click() {
    module11.score = 0;
    aurevoir();
}

void Fin::keyDown(int keyCode) {
    if (keyCode == base::keys::right) {
        module11.score = 0;
        aurevoir();
    }
}

void Fin::keyPress(int charCode) {
    module11.score = 0;
    if (charCode == base::chars::enter || charCode == base::chars::escape) {
        aurevoir();
    }
}

void Fin::aurevoir() {
    programme_.aurevoir().show();
}

} // namespace shell
