#include "fin.h"

#include "shell/charte.h"
#include "shell/module11.h"
#include "shell/pictures.h"
#include "shell/screens.h"
#include "ui/layout.h"

namespace shell {

namespace {

using namespace ui::layout;

constexpr ui::Colour paleYellow{0xE0FFFF};

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
    .back = ui::colours::white,
    .fore = ui::colours::windowText,
    .font = {"Times New Roman", 36, true},
    .controls = controls,
};

constexpr int keyRight = 39;
constexpr int charEnter = 13;
constexpr int charEscape = 27;

} // namespace

Fin::Fin() : ui::Form(design) {
    image(u"flèche").onClick = [this] { fleche_click(); };
    setAccessibleName(QStringLiteral("Les Kovrant, fin du jeu"));
    image(u"flèche").accessibleName = [] { return QStringLiteral("Au revoir"); };
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
    if (keyCode == keyRight) {
        module11.score = 0;
        aurevoir();
    }
}

void Fin::keyPress(int charCode) {
    module11.score = 0;
    if (charCode == charEnter || charCode == charEscape) {
        aurevoir();
    }
}

void Fin::aurevoir() {
    screens::aurevoir().show();
}

} // namespace shell
