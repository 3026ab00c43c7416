#include "kovrant.h"

#include "charte.h"
#include "cible.h"
#include "codes.h"
#include "colour.h"
#include "ecrans.h"
#include "layout.h"
#include "numbers.h"
#include "pictures.h"
#include "units.h"

#include <cmath>

namespace exercise {

namespace {

using namespace ui::layout;
using base::colours::black;
using base::colours::white;
using base::colours::windowBackground;
using base::colours::windowText;

constexpr base::Colour teal{0x808000};
constexpr base::Colour darkGreen{0x004000};
constexpr base::Colour darkBlue{0x400000};
using charte::darkRed;

constexpr auto controls = rows(
    table({
        pictureBox("environ", 6600, 4800, 660, 525, pictures::environ_egal, windowBackground),
        label("Label2", 5680, 2440, 675, 240, "chrono", bold("Arial", 9.75), white, opaque(teal),
              Centred | AutoSize),
        label("Titre_aide", 5640, 6240, 705, 405, "Aide", font("Arial", 18), darkGreen,
              opaque(windowBackground), Hidden | Centred | AutoSize),
        label("commentaire", 5040, 8640, 1785, 360, "commentaire", bold("Times New Roman", 15.75), darkRed,
              opaque(windowBackground), Hidden | Centred | AutoSize),
        label("chronometre", 5660, 2700, 600, 600, "0", bold("Times New Roman", 24), white, opaque(teal),
              Centred),
    }),
    lignes_legendes(Ecran::exercice),
    table({
        label("réponse_exacte", 12000, 8400, 6000, 195, "la réponse exacte est", font("Verdana", 8.25),
              base::colours::labelText, opaque(white), Centred),
        label("Calcul", 1920, 4680, 2130, 780, "Label1", font("Verdana", 32.25), darkBlue, transparent,
              AutoSize),
        image("arret", 720, 9360, 480, 480, pictures::arret, Hidden),
        image("flèche", 10800, 9360, 480, 480, pictures::fleche, Hidden),
        // The framed title keeps its designed box, x 168 to 432 points, its words centred in it: fitted to
        // its caption the frame would shrink to the words' width and lose the centre it is drawn around.
        label("titre", 3360, 600, 5280, 735, "Les Kovrant", charte::titre, charte::veryDarkRed,
              opaque(charte::paleOrange), Centred | Border),
        // A séance's count of calculations, in a corner: where the child is, without drawing the eye.
        label("compte", 16680, 180, 2040, 315, "", font("Verdana", 9.75), base::colours::labelText,
              opaque(white), Hidden),
    }));

const ui::FormSpec design{
    .name = "Kovrant",
    .caption = "",
    .clientWidth = 18960,
    .clientHeight = 10215,
    .twipsPerUnit = 20,
    .back = white,
    .fore = black,
    .font = {"Times New Roman", 48, true},
    .fill = base::Colour{0x000040},
    .controls = controls,
};

// The pad for a touch screen or a whiteboard. Beside the scene: 7 8 9, 4 5 6, 1 2 3, then erase, 0 and
// confirm; below it: 1 to 5 and erase, 6 to 0 and confirm. Read, and reached by Tab, in this order.
constexpr ui::ClassicKey chiffre(int d) {
    return {base::keys::digit0 + d, '0' + d};
}
constexpr ui::ClassicKey effacer{base::keys::backspace, base::chars::backspace};
constexpr ui::ClassicKey valider{base::keys::enter, base::chars::enter};

const ui::PadKeySpec touches_pave[] = {
    {"1", "1", chiffre(1), {0, 2}, {0, 0}},          {"2", "2", chiffre(2), {1, 2}, {1, 0}},
    {"3", "3", chiffre(3), {2, 2}, {2, 0}},          {"4", "4", chiffre(4), {0, 1}, {3, 0}},
    {"5", "5", chiffre(5), {1, 1}, {4, 0}},          {"6", "6", chiffre(6), {2, 1}, {0, 1}},
    {"7", "7", chiffre(7), {0, 0}, {1, 1}},          {"8", "8", chiffre(8), {1, 0}, {2, 1}},
    {"9", "9", chiffre(9), {2, 0}, {3, 1}},          {"0", "0", chiffre(0), {1, 3}, {4, 1}},
    {"effacer", "effacer", effacer, {0, 3}, {5, 0}}, {"valider", "valider", valider, {2, 3}, {5, 1}},
};

const ui::KeyPadSpec pave{
    .keys = touches_pave,
    .font = bold("Verdana", 24),
    .fore = darkBlue,
    .back = charte::paleOrange,
    .border = charte::veryDarkRed,
};

QColor couleur(base::Integer index) {
    return ui::paletteColour(index);
}

} // namespace

Kovrant::Kovrant(shell::Ecrans& programme)
    : ui::Form(programme.runtime(), design), programme_(programme), module11(programme.module11),
      modele_(programme.module11, programme.hasard(), programme.reglages().temps),
      Calcul(bind<ui::Label>("Calcul")), commentaire(bind<ui::Label>("commentaire")),
      chronometre(bind<ui::Label>("chronometre")), reponse_exacte(bind<ui::Label>("réponse_exacte")),
      Titre_aide(bind<ui::Label>("Titre_aide")), arret(bind<ui::Image>("arret")),
      fleche(bind<ui::Image>("flèche")), compte(bind<ui::Label>("compte")),
      Timer1(addTimer(QStringLiteral("Timer1"), 1000, [this] { Timer1_Timer(); })),
      Timer2(addTimer(QStringLiteral("Timer2"), 10, [this] { Timer2_Timer(); })) {
    if (programme.reglages().pave) {
        addKeyPad(pave);
    }
    arret.onClick = [this] { arret_Click(); };
    fleche.onClick = [this] { fleche_Click(); };
    if (const Seance& seance = programme.reglages().seance; seance.active()) {
        modele_.suivre_seance(seance, programme.bilan);
    }
    // Three digits of an allowance above 99 seconds would overflow the clock's square at its design size.
    if (modele_.temps().illimite() || modele_.temps().secondes() > 99) {
        chronometre.setFontSize(16);
    }
    decrire_pour_lecteurs();
}

void Kovrant::load() {
    programme_.presentation().unload();
    modele_.charger();
}

void Kovrant::activate() {
    preparer_partie();
}

void Kovrant::preparer_partie() {
    surface().clear();
    dessiner_cible(surface());
    nouveau_calcul();
}

void Kovrant::nouveau_calcul() {
    montrer(modele_.nouveau_calcul() ? Exercice::Effet::Suivant : Exercice::Effet::Fin);
}

void Kovrant::montrer_calcul() {
    ui::Surface& s = surface();
    const exercise::Calcul& calcul = champs().calcul;

    // The countdown disc first, then the question's labels.
    s.setFillColour(couleur(base::palette::teal));
    s.setFillStyle(ui::FillStyle::Solid);
    s.setDrawWidth(3);
    s.circle(QPointF(300, 150), 40, couleur(base::palette::grey));
    commentaire.setVisible(false);
    Titre_aide.setVisible(false);
    chronometre.setCaption(QStringLiteral("0"));
    reponse_exacte.setCaption(QString());

    // The calculation is measured in the window's own font so that its right end falls just left of the
    // "approximately equal" sign.
    s.setFontName(QStringLiteral("Times New Roman"));
    s.setFontSize(48);
    s.fillBox(QPointF(1, 300), QPointF(550, 500), couleur(base::palette::white));
    const double w = s.textWidth(calcul.texte_calcul);
    Calcul.setLeft(static_cast<int>(
        std::lround(ui::units::twipsFromPoints(320.0 - w + calcul.decalage_calcul.value()))));
    Calcul.setCaption(calcul.texte_calcul + QStringLiteral("        ?"));
    arret.setVisible(false);
    fleche.setVisible(false);
    aide_->hide();
    score_->hide();
    cible_->renamed();
    montrer_compte();
    announce([this, &calcul]() -> QString {
        const QString dit = calcul_a_dire(calcul.operation, calcul.nombre1, calcul.nombre2);
        return compte.isVisible() ? compte_a_dire() + QStringLiteral(" : ") + dit : dit;
    });
}

void Kovrant::montrer_compte() {
    const int n = programme_.reglages().seance.nombre_de_calculs();
    if (n > 0) {
        compte.setCaption(QStringLiteral("%1 / %2").arg(modele_.numero_calcul()).arg(n));
        compte.setVisible(true);
    }
}

QString Kovrant::compte_a_dire() const {
    return QStringLiteral("Calcul %1 sur %2")
        .arg(modele_.numero_calcul())
        .arg(programme_.reglages().seance.nombre_de_calculs());
}

void Kovrant::keyPress(int charCode) {
    if (modele_.phase() == Exercice::Phase::Question && charCode != base::chars::escape) {
        // The answer's strip is cleared before each key is applied, as the key may judge it.
        surface().fillBox(QPointF(1, 300), QPointF(550, 450), couleur(base::palette::white));
    }
    const QString avant = module11.reponse;
    const Exercice::Effet effet = modele_.touche(charCode);
    montrer(effet);
    if (effet == Exercice::Effet::Saisie && module11.reponse != avant) {
        announce([this]() -> QString {
            return module11.reponse.isEmpty() ? QStringLiteral("Réponse effacée") : module11.reponse;
        });
    }
}

void Kovrant::montrer(Exercice::Effet effet) {
    switch (effet) {
    case Exercice::Effet::Saisie:
        saisir_reponse();
        break;
    case Exercice::Effet::Jugement:
        evaluer_reponse();
        break;
    case Exercice::Effet::Suivant: // a new question is posed
        montrer_calcul();
        break;
    case Exercice::Effet::Fin:
        // A séance shows how it went before anything else.
        if (programme_.reglages().seance.active()) {
            programme_.ecran_bilan().show();
        } else {
            programme_.fin().show();
        }
        break;
    case Exercice::Effet::AuRevoir:
        quitter();
        break;
    }
}

void Kovrant::saisir_reponse() {
    Calcul.setCaption(champs().calcul.texte_calcul + QStringLiteral("       ") + champs().reponse_affichee +
                      QStringLiteral(" ?"));
}

void Kovrant::evaluer_reponse() {
    const Exercice::Champs& c = champs();
    surface().fillBox(QPointF(1, 300), QPointF(550, 400), couleur(base::palette::white));
    const Bande& verdict = *modele_.verdict();
    commentaire.setCaption(QString::fromUtf8(verdict.commentaire));
    if (verdict.aide) {
        afficher_aide();
    }
    x_reponse = static_cast<float>(c.dx_reponse + centre_cible.x());
    y_reponse = static_cast<float>(c.dy_reponse + centre_cible.y());
    // The estimate as it was keyed, now without the question mark; then the exact result.
    Calcul.setCaption(c.calcul.texte_calcul + QStringLiteral("       ") + c.reponse_affichee);
    // The blink timer rests between blinks (its ticks would draw nothing) and wakes for this one.
    Timer2.setRunning(true);
    reponse_exacte.setCaption(QStringLiteral("la réponse exacte est ") +
                              base::espacer_milliers(base::texte_nombre(c.calcul.resultat)));
    preparer_score();
    cible_->renamed();
    announce([this] { return verdict_a_dire(); });
}
void Kovrant::preparer_score() {
    surface().fillBox(QPointF(1, 400), QPointF(550, 500), couleur(base::palette::white));
    commentaire.setVisible(true);
    fleche.setVisible(true);
    arret.setVisible(true);
    afficher_score();
}

void Kovrant::afficher_score() {
    ui::Surface& s = surface();
    module11.texte_score = QStringLiteral(" Score =") + base::texte_nombre(module11.score);
    s.setFontName(QStringLiteral("Arial"));
    s.setFontSize(16);
    x_score = 300;
    const float w = static_cast<float>(s.textWidth(module11.texte_score));
    const float h = w / 2;
    s.setFillColour(couleur(base::palette::red));
    s.setFillStyle(ui::FillStyle::Solid);
    s.setDrawWidth(3);
    const QRectF cadre(QPointF(double(x_score) - h - 20, 465), QPointF(double(x_score) + h + 20, 495));
    s.box(cadre.topLeft(), cadre.bottomRight(), couleur(base::palette::blue));
    s.setForeColour(couleur(base::palette::white));
    s.setCurrentY(470);
    s.setCurrentX(double(x_score) - h);
    s.print(module11.texte_score);
    score_->show(cadre);
}

void Kovrant::afficher_aide() {
    Titre_aide.setVisible(true);
    ordonnee_texte = 340;
    ecrire_dans_bulle(champs().aide.texte());
}

void Kovrant::ecrire_dans_bulle(const QString& texte) {
    ui::Surface& s = surface();
    s.setFontName(QStringLiteral("Arial Narrow"));
    s.setFontSize(18);
    const float w = static_cast<float>(s.textWidth(texte));
    s.setFillColour(couleur(base::palette::green));
    s.setFillStyle(ui::FillStyle::Solid);
    s.setDrawWidth(3);
    s.circle(QPointF(300, ordonnee_texte.value() + 10), double(w) / 2 + 30, couleur(base::palette::grey),
             0.15);
    s.setForeColour(couleur(base::palette::white));
    s.setCurrentY(ordonnee_texte.value());
    s.setCurrentX(300 - double(w) / 2);
    s.print(texte);
    const double rx = double(w) / 2 + 30;
    aide_->show(QRectF(300 - rx, ordonnee_texte.value() + 10 - 0.15 * rx, 2 * rx, 0.3 * rx));
}

void Kovrant::Timer1_Timer() {
    const Exercice::Tic tic = modele_.tic_horloge();
    // Rewritten on every tick, with the count unchanged once the question is judged.
    chronometre.setCaption(base::texte_nombre(champs().secondes));
    if (tic.rappel == 60) {
        announce([] { return QStringLiteral("Plus qu'une minute"); });
    } else if (tic.rappel > 0) {
        announce([&tic] { return QStringLiteral("Plus que %1 secondes").arg(tic.rappel); });
    }
    if (tic.juge) {
        announce([] { return QStringLiteral("Temps écoulé."); });
        evaluer_reponse();
    }
}

void Kovrant::Timer2_Timer() {
    if (const std::optional<base::Integer> index = modele_.tic_clignotement()) {
        surface().setFillColour(couleur(*index));
        surface().circle(QPointF(x_reponse, y_reponse), 5);
    }
    if (!modele_.clignote()) {
        Timer2.setRunning(false);
    }
}

void Kovrant::fleche_Click() {
    fleche.setVisible(false);
    nouveau_calcul();
}

void Kovrant::arret_Click() {
    quitter();
}

void Kovrant::quitter() {
    // A séance left before its end keeps what was answered, marked as cut short.
    if (programme_.reglages().seance.active() && !modele_.termine()) {
        programme_.bilan.interrompu = true;
    }
    programme_.aurevoir().show();
}

void Kovrant::decrire_pour_lecteurs() {
    setAccessibleName(QStringLiteral("Les Kovrant, exercice"));
    Calcul.accessibleName = [this]() -> QString {
        if (champs().calcul.operation == Operation::Aucune) {
            return base::spokenText(Calcul.caption());
        }
        const QString reponse = base::spokenText(champs().reponse_affichee);
        const QString calcul =
            calcul_a_dire(champs().calcul.operation, champs().calcul.nombre1, champs().calcul.nombre2);
        return reponse.isEmpty() ? calcul : calcul + QStringLiteral(", ta réponse ") + reponse;
    };
    chronometre.accessibleName = [this]() -> QString {
        const int n = champs().secondes.value();
        return QString::number(n) + (n > 1 ? QStringLiteral(" secondes") : QStringLiteral(" seconde"));
    };
    bind<ui::Image>("environ").accessibleName = [] { return QStringLiteral("environ égal à"); };
    arret.accessibleName = [] { return QStringLiteral("Arrêter le jeu"); };
    fleche.accessibleName = [] { return QStringLiteral("Question suivante"); };
    compte.accessibleName = [this] { return compte_a_dire(); };

    cible_ = &addPaintedItem(QAccessible::Graphic, [this]() -> QString {
        const Bande* verdict = modele_.verdict();
        return verdict == nullptr
                   ? QStringLiteral("Cible")
                   : QStringLiteral("Cible : ta réponse est dans ") + QString::fromUtf8(verdict->zone);
    });
    cible_->show(cadre_cible);
    for (const Legende& legende : legendes) {
        cible_->holds(bind<ui::Label>(legende.nom));
    }
    aide_ = &addPaintedItem(QAccessible::StaticText, [this]() -> QString {
        const Bande* verdict = modele_.verdict();
        return verdict != nullptr && verdict->aide ? aide_a_dire() : QString();
    });
    score_ = &addPaintedItem(QAccessible::StaticText, [this]() -> QString {
        return QStringLiteral("Score ") + QString::number(module11.score.value());
    });
}

QString Kovrant::aide_a_dire() const {
    return calcul_a_dire(champs().calcul.operation, champs().aide.arrondi1, champs().aide.arrondi2) +
           QStringLiteral(" égale ") + nombre_a_dire(champs().aide.resultat_arrondi);
}

QString Kovrant::verdict_a_dire() const {
    const Bande& bande = *modele_.verdict();
    QString verdict = QString::fromUtf8(bande.commentaire) + QStringLiteral(". La réponse exacte est ") +
                      nombre_a_dire(champs().calcul.resultat) + QStringLiteral(". Score ") +
                      QString::number(module11.score.value()) + QLatin1Char('.');
    if (bande.aide) {
        verdict += QStringLiteral(" Aide : ") + aide_a_dire() + QLatin1Char('.');
    }
    return verdict;
}

} // namespace exercise
