#include "accueil.h"

#include "shell/ecrans.h"
#include "shell/pictures.h"

namespace shell {

namespace {
const ui::FormSpec design{
    .name = "Accueil",
    .caption = "accueil",
    .clientWidth = 14190,
    .clientHeight = 8910,
    .twipsPerUnit = 15,
    .back = ui::colours::white,
    .fore = ui::colours::windowText,
    .font = {"Times New Roman", 24, true},
    .icon = pictures::icone,
};
} // namespace

Accueil::Accueil(Ecrans& programme) : ui::Form(programme.runtime(), design), programme_(programme) {
    setAccessibleName(QStringLiteral("Les Kovrant, accueil"));
}

void Accueil::activate() {
    programme_.presentation().show();
}

} // namespace shell
