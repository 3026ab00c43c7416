#include "programme.h"

#include "accessible.h"
#include "accueil.h"
#include "aurevoir.h"
#include "bilan_csv.h"
#include "bilan_fichier.h"
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
      aurevoir_(runtime_, factory<Aurevoir>(*this)) {
    runtime_.setAccessibility(ui::makeAccessibility(runtime_));
    if (options.fin) {
        runtime_.setEndHandler(std::move(options.fin));
    }
}

Programme::~Programme() {
    runtime_.shutdown();
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

bool Programme::enregistrer_bilan() {
    if (!reglages_.seance.active() || reglages_.dossier_bilan.isEmpty() || bilan.enregistre) {
        return true;
    }
    const QString compte = compteCourant();
    // A séance left before its first calculation is dated when it is saved.
    if (!bilan.debut.isValid()) {
        bilan.debut = QDateTime::currentDateTime();
    }
    const Enregistrement e = enregistrerFichier(
        reglages_.dossier_bilan, exercise::nom_fichier_bilan(bilan.debut, reglages_.seance.nom, compte),
        exercise::bilan_csv(bilan, reglages_.seance, compte));
    bilan.enregistre = e.reussi;
    derniere_erreur_ = e.erreur;
    return e.reussi;
}

bool Programme::enregistrer_avant_de_quitter() {
    if (bilan.enregistre) {
        return true;
    }
    const int prevus = reglages_.seance.nombre_de_calculs();
    if (prevus == 0 ? module11.score <= 99 : bilan.lignes.size() < prevus) {
        bilan.interrompu = true;
    }
    return enregistrer_bilan();
}

} // namespace shell
