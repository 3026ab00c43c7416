#include "accueil.h"

#include "ecrans.h"
#include "pictures.h"

namespace shell {

namespace {
const ui::FormSpec design{
    .name = "Accueil",
    .caption = "accueil",
    .clientWidth = 14190,
    .clientHeight = 8910,
    .twipsPerUnit = 15,
    .back = base::colours::white,
    .fore = base::colours::windowText,
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
