#include "programme.h"

#include "accessible.h"
#include "accueil.h"
#include "aurevoir.h"
#include "ecran_bilan.h"
#include "fin.h"
#include "kovrant.h"
#include "pictures.h"
#include "presentation.h"

#include <QGuiApplication>
#include <QIcon>

namespace shell {

namespace {
template <typename Screen> ui::FormSlot::Factory factory(Ecrans& ecrans) {
    return [&ecrans] { return std::make_unique<Screen>(ecrans); };
}
} // namespace

Programme::Programme(Options options)
    : hasard_(std::move(options.graine)), reglages_(std::move(options.reglages)),
      accueil_(runtime_, factory<Accueil>(*this)),
      presentation_(runtime_, factory<::presentation::Presentation>(*this)),
      kovrant_(runtime_, factory<exercise::Kovrant>(*this)), fin_(runtime_, factory<Fin>(*this)),
      aurevoir_(runtime_, factory<Aurevoir>(*this)), ecran_bilan_(runtime_, factory<EcranBilan>(*this)) {
    runtime_.setAccessibility(ui::makeAccessibility(runtime_));
    if (options.fin) {
        runtime_.setEndHandler(std::move(options.fin));
    }
}

Programme::~Programme() {
    runtime_.shutdown();
}

bool Programme::enregistrer_bilan() {
    // The file itself is written elsewhere; until then there is nothing that can fail.
    bilan.enregistre = true;
    return true;
}

void Programme::demarrer() {
    // A missing font or picture would show as a blank: say so at once, where a teacher can read it.
    // Only their presence is checked here; reading them waits for the window that shows them.
    runtime_.fonts().checkPresent();
    for (const char* picture : pictures::toutes) {
        runtime_.pictures().checkPresent(QString::fromLatin1(picture));
    }
    QGuiApplication::setWindowIcon(QIcon(QString::fromLatin1(pictures::icone)));
    accueil_.show();
}

} // namespace shell
