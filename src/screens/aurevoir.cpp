#include "aurevoir.h"

#include "ecrans.h"
#include "layout.h"
#include "pictures.h"
#include "runtime.h"

namespace shell {

namespace {

using namespace ui::layout;
using base::colours::windowBackground;
using base::colours::windowText;

constexpr base::Colour red{0x0000FF};

const ui::ControlSpec controls[] = {
    pictureBox("Picture1", 7560, 7920, 495, 495, pictures::courrier, windowBackground),
    image("flèche", 11280, 4200, 480, 480, pictures::fleche),
    label("Label2", 7440, 3960, 3015, 1095, "Au revoir", {"Brush Script MT", 36, false, true}, red,
          opaque(windowBackground)),
    label("mail", 8760, 8040, 3075, 285, Aurevoir::adresse, font("Tahoma", 12), windowText,
          opaque(windowBackground), AutoSize),
};

const ui::FormSpec design{
    .name = "Aurevoir",
    .caption = "",
    .clientWidth = 13305,
    .clientHeight = 8640,
    .twipsPerUnit = 15,
    .back = windowBackground,
    .fore = windowText,
    .font = {"Arial", 15.75},
    .controls = controls,
};

} // namespace

Aurevoir::Aurevoir(Ecrans& programme) : ui::Form(programme.runtime(), design) {
    auto& fleche = bind<ui::Image>("flèche");
    fleche.onClick = [this] { runtime().end(); };
    // The arrow is the only thing to do here: the keyboard finds it at once.
    setAccessibleName(QStringLiteral("Les Kovrant, au revoir"));
    fleche.accessibleName = [] { return QStringLiteral("Quitter le jeu"); };
    fleche.setTabIndex(1);
    bind<ui::Image>("Picture1").accessibleName = [] { return QStringLiteral("Courrier électronique"); };
}

void Aurevoir::activate() {
    announce([] { return QStringLiteral("Au revoir"); });
}

} // namespace shell
