#include "kovrant.h"

#include "exercise/cible.h"
#include "shell/charte.h"
#include "shell/pictures.h"
#include "shell/programme.h"
#include "ui/codes.h"
#include "ui/colour.h"
#include "ui/layout.h"
#include "ui/numbers.h"
#include "ui/units.h"

#include <cmath>

namespace exercise {

namespace {

using namespace ui::layout;
using ui::colours::black;
using ui::colours::white;
using ui::colours::windowBackground;
using ui::colours::windowText;

constexpr ui::Colour teal{0x808000};
constexpr ui::Colour darkGreen{0x004000};
constexpr ui::Colour darkBlue{0x400000};
using charte::darkRed;
using charte::legende;

const ui::ControlSpec controls[] = {
    pictureBox("environ", 6600, 4800, 660, 525, pictures::environ_egal, windowBackground),
    label("Label2", 5680, 2440, 675, 240, "chrono", bold("Arial", 9.75), white, opaque(teal),
          Centred | AutoSize),
    label("Titre_aide", 5640, 6240, 705, 405, "Aide", font("Arial", 18), darkGreen, opaque(windowBackground),
          Hidden | Centred | AutoSize),
    label("commentaire", 5040, 8640, 1785, 360, "commentaire", bold("Times New Roman", 15.75), darkRed,
          opaque(windowBackground), Hidden | Centred | AutoSize),
    label("chronometre", 5660, 2700, 600, 600, "0", bold("Times New Roman", 24), white, opaque(teal),
          Centred),
    label("Label1", 14800, 4880, 360, 270, "+10", legende, black, transparent, AutoSize),
    label("Label9", 15720, 4880, 240, 270, "+5", legende, black, transparent, AutoSize),
    label("Label10", 14000, 4880, 240, 270, "+5", legende, black, transparent, AutoSize),
    label("Label11", 14880, 4040, 240, 270, "+5", legende, black, transparent, AutoSize),
    label("Label12", 14880, 5805, 240, 270, "+5", legende, black, transparent, AutoSize),
    label("Label13", 13360, 4875, 240, 270, "+1", legende, black, transparent, AutoSize),
    label("Label14", 16360, 4880, 240, 270, "+1", legende, black, transparent, AutoSize),
    label("Label15", 14880, 6405, 240, 270, "+1", legende, black, transparent, AutoSize),
    label("Label16", 14880, 3435, 240, 270, "+1", legende, black, transparent, AutoSize),
    label("Label17", 17600, 4880, 195, 270, "-5", legende, black, transparent, AutoSize),
    label("Label18", 14900, 2160, 195, 255, "-5", legende, black, transparent, AutoSize),
    label("Label19", 14900, 7640, 195, 270, "-5", legende, black, transparent, AutoSize),
    label("Label20", 12160, 4880, 195, 270, "-5", legende, black, transparent, AutoSize),
    label("Label21", 17040, 4880, 120, 270, "0", legende, white, transparent, AutoSize),
    label("Label22", 12840, 4880, 120, 270, "0", legende, white, transparent, AutoSize),
    label("Label23", 14960, 7005, 120, 270, "0", legende, white, transparent, AutoSize),
    label("Label24", 14960, 2805, 120, 270, "0", legende, white, transparent, AutoSize),
    label("réponse_exacte", 12000, 8400, 6000, 195, "la réponse exacte est", font("Verdana", 8.25),
          ui::colours::labelText, opaque(white), Centred),
    label("Calcul", 1920, 4680, 2130, 780, "Label1", font("Verdana", 32.25), darkBlue, transparent, AutoSize),
    image("arret", 720, 9360, 480, 480, pictures::arret, Hidden),
    image("flèche", 10800, 9360, 480, 480, pictures::fleche, Hidden),
    // The framed title keeps its designed box, x 168 to 432 points, its words centred in it: fitted to
    // its caption the frame would shrink to the words' width and lose the centre it is drawn around.
    label("titre", 3360, 600, 5280, 735, "Les Kovrant", charte::titre, charte::veryDarkRed,
          opaque(charte::paleOrange), Centred | Border),
};

const ui::FormSpec design{
    .name = "Kovrant",
    .caption = "",
    .clientWidth = 18960,
    .clientHeight = 10215,
    .twipsPerUnit = 20,
    .back = white,
    .fore = black,
    .font = {"Times New Roman", 48, true},
    .fill = ui::Colour{0x000040},
    .controls = controls,
};

QColor couleur(ui::Integer index) {
    return ui::paletteColour(index);
}

ui::Integer entierCourt(double x) {
    return ui::Integer(static_cast<int>(std::floor(x)));
}

} // namespace

Kovrant::Kovrant(shell::Programme& programme)
    : ui::Form(programme.runtime(), design), programme_(programme), module11(programme.module11),
      Calcul(bind<ui::Label>("Calcul")), commentaire(bind<ui::Label>("commentaire")),
      chronometre(bind<ui::Label>("chronometre")), reponse_exacte(bind<ui::Label>("réponse_exacte")),
      Titre_aide(bind<ui::Label>("Titre_aide")), arret(bind<ui::Image>("arret")),
      fleche(bind<ui::Image>("flèche")),
      Timer1(addTimer(QStringLiteral("Timer1"), 1000, [this] { Timer1_Timer(); })),
      Timer2(addTimer(QStringLiteral("Timer2"), 10, [this] { Timer2_Timer(); })) {
    arret.onClick = [this] { arret_Click(); };
    fleche.onClick = [this] { fleche_Click(); };
    decrire_pour_lecteurs();
}

double Kovrant::r() {
    return static_cast<double>(programme_.hasard().next());
}

void Kovrant::load() {
    programme_.presentation().unload();
    module11.score = 0;
    programme_.hasard().reseed();
    c_.nb_clignotements = 1000;
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
    ui::Surface& s = surface();

    // A: the end of the game.
    if (module11.score > 99) {
        programme_.fin().show();
        return;
    }

    // B: the question display is reset, the countdown disc first.
    s.setFillColour(couleur(ui::palette::teal));
    s.setFillStyle(ui::FillStyle::Solid);
    s.setDrawWidth(3);
    s.circle(QPointF(300, 150), 40, couleur(ui::palette::grey));
    commentaire.setVisible(false);
    Titre_aide.setVisible(false);
    c_.secondes = 0;
    chronometre.setCaption(QStringLiteral("0"));
    module11.attente_reponse = 1;
    reponse_exacte.setCaption(QString());

    // C, D, E: the calculation and its texts.
    c_.calcul = tirer_calcul(programme_.hasard(), module11.operations_choisies, module11.score);

    // F: the calculation is shown, measured in the window's own font so that its right end falls just
    // left of the "approximately equal" sign.
    s.setFontName(QStringLiteral("Times New Roman"));
    s.setFontSize(48);
    s.fillBox(QPointF(1, 300), QPointF(550, 500), couleur(ui::palette::white));
    module11.reponse.clear();
    const double w = s.textWidth(c_.calcul.texte_calcul);
    Calcul.setLeft(static_cast<int>(
        std::lround(ui::units::twipsFromPoints(320.0 - w + c_.calcul.decalage_calcul.value()))));
    Calcul.setCaption(c_.calcul.texte_calcul + QStringLiteral("        ?"));
    arret.setVisible(false);
    fleche.setVisible(false);
    aide_->hide();
    score_->hide();
    cible_->renamed();
    announce([this] { return calcul_a_dire(c_.calcul.operation, c_.calcul.nombre1, c_.calcul.nombre2); });
}

void Kovrant::keyPress(int charCode) {
    module11.touche = ui::characterOf(charCode);
    if (fleche.isVisible()) {
        // The pause: any key, Escape included, poses the next question and is itself lost.
        nouveau_calcul();
        return;
    }
    if (module11.touche == ui::characterOf(ui::chars::escape)) {
        programme_.aurevoir().show();
        return;
    }
    saisir_reponse();
}

void Kovrant::saisir_reponse() {
    QString& reponse = module11.reponse;
    const QString& touche = module11.touche;
    const QString avant = reponse;
    surface().fillBox(QPointF(1, 300), QPointF(550, 450), couleur(ui::palette::white));
    if (touche == ui::characterOf(ui::chars::backspace)) {
        reponse.clear();
    }
    if (reponse.size() < 8) {
        if (touche == QLatin1String("0")) {
            // A lone zero takes no other digit after it.
            if (reponse != QLatin1String("0")) {
                reponse += touche;
            }
        } else if (touche >= QLatin1String("1") && touche <= QLatin1String("9")) {
            if (reponse != QLatin1String("0")) {
                reponse += touche;
            }
        }
    }
    if (!reponse.isEmpty() && (touche == ui::characterOf(ui::chars::enter) || touche == QLatin1String("="))) {
        evaluer_reponse();
        return;
    }
    c_.reponse_affichee = ui::espacer_milliers(reponse);
    Calcul.setCaption(c_.calcul.texte_calcul + QStringLiteral("       ") + c_.reponse_affichee +
                      QStringLiteral(" ?"));
    if (reponse != avant) {
        announce([&reponse]() -> QString {
            return reponse.isEmpty() ? QStringLiteral("Réponse effacée") : reponse;
        });
    }
}

void Kovrant::evaluer_reponse() {
    module11.attente_reponse = 0;
    surface().fillBox(QPointF(1, 300), QPointF(550, 400), couleur(ui::palette::white));

    c_.ecart = mesurer_ecart(module11.reponse, c_.calcul.resultat);
    const Bande& bande = bande_pour(c_.ecart);

    c_.angle_reponse = entierCourt(r() * bande.angle_etendue + bande.angle_debut);
    const double rayon = double(c_.ecart) * bande.k + bande.c;
    // The angle is the index divided by 6.28 taken as radians: not a conversion from degrees, simply a
    // pseudo-random direction.
    const double angle = c_.angle_reponse.value() / 6.28;
    c_.x_reponse = static_cast<float>(rayon * std::cos(angle) + 750);
    c_.y_reponse = static_cast<float>(rayon * std::sin(angle) + 250);
    module11.score += bande.points;
    c_.couleur1 = bande.couleur1;
    c_.couleur2 = bande.couleur2;
    commentaire.setCaption(QString::fromUtf8(bande.commentaire));
    if (bande.aide) {
        afficher_aide();
    }

    Calcul.setCaption(c_.calcul.texte_calcul + QStringLiteral("       ") + c_.reponse_affichee);
    c_.nb_clignotements = 0;
    // The blink timer rests between blinks (its ticks would draw nothing) and wakes for this one.
    Timer2.setRunning(true);
    c_.reponse_affichee = ui::espacer_milliers(ui::texte_nombre(c_.calcul.resultat));
    reponse_exacte.setCaption(QStringLiteral("la réponse exacte est ") + c_.reponse_affichee);
    preparer_score();
    module11.reponse.clear();
    cible_->renamed();
    announce([this] { return verdict_a_dire(); });
}

void Kovrant::preparer_score() {
    surface().fillBox(QPointF(1, 400), QPointF(550, 500), couleur(ui::palette::white));
    commentaire.setVisible(true);
    fleche.setVisible(true);
    arret.setVisible(true);
    afficher_score();
}

void Kovrant::afficher_score() {
    ui::Surface& s = surface();
    if (module11.score < 0) {
        module11.score = 0;
    }
    module11.texte_score = QStringLiteral(" Score =") + ui::texte_nombre(module11.score);
    s.setFontName(QStringLiteral("Arial"));
    s.setFontSize(16);
    c_.x_score = 300;
    const float w = static_cast<float>(s.textWidth(module11.texte_score));
    const float h = w / 2;
    s.setFillColour(couleur(ui::palette::red));
    s.setFillStyle(ui::FillStyle::Solid);
    s.setDrawWidth(3);
    s.box(QPointF(double(c_.x_score) - h - 20, 465), QPointF(double(c_.x_score) + h + 20, 495),
          couleur(ui::palette::blue));
    s.setForeColour(couleur(ui::palette::white));
    s.setCurrentY(470);
    s.setCurrentX(double(c_.x_score) - h);
    s.print(module11.texte_score);
    score_->show(
        QRectF(QPointF(double(c_.x_score) - h - 20, 465), QPointF(double(c_.x_score) + h + 20, 495)));
}

void Kovrant::afficher_aide() {
    const LigneAide l = ligne_aide(c_.calcul.operation, c_.calcul.nombre1, c_.calcul.nombre2);
    c_.arrondi1 = l.arrondi1;
    c_.arrondi2 = l.arrondi2;
    c_.resultat_arrondi = l.resultat_arrondi;
    c_.texte_arrondi1 = l.texte_arrondi1;
    c_.texte_arrondi2 = l.texte_arrondi2;
    c_.texte_resultat_arrondi = l.texte_resultat_arrondi;
    c_.texte_operateur = l.texte_operateur;
    Titre_aide.setVisible(true);
    c_.ordonnee_texte = 340;
    ecrire_dans_bulle(l.texte());
}

void Kovrant::ecrire_dans_bulle(const QString& texte) {
    ui::Surface& s = surface();
    s.setFontName(QStringLiteral("Arial Narrow"));
    s.setFontSize(18);
    const float w = static_cast<float>(s.textWidth(texte));
    s.setFillColour(couleur(ui::palette::green));
    s.setFillStyle(ui::FillStyle::Solid);
    s.setDrawWidth(3);
    s.circle(QPointF(300, c_.ordonnee_texte.value() + 10), double(w) / 2 + 30, couleur(ui::palette::grey),
             0.15);
    s.setForeColour(couleur(ui::palette::white));
    s.setCurrentY(c_.ordonnee_texte.value());
    s.setCurrentX(300 - double(w) / 2);
    s.print(texte);
    const double rx = double(w) / 2 + 30;
    aide_->show(QRectF(300 - rx, c_.ordonnee_texte.value() + 10 - 0.15 * rx, 2 * rx, 0.3 * rx));
}

void Kovrant::Timer1_Timer() {
    if (module11.attente_reponse == 1) {
        c_.secondes += 1;
    }
    chronometre.setCaption(ui::texte_nombre(c_.secondes));
    if ((c_.secondes == 10 || c_.secondes == 20) && module11.attente_reponse == 1) {
        announce([this]() -> QString {
            return QStringLiteral("Plus que %1 secondes").arg(30 - c_.secondes.value());
        });
    }
    if (c_.secondes == 30 && module11.attente_reponse == 1) {
        if (module11.reponse.isEmpty()) {
            c_.reponse_affichee = QStringLiteral("0");
        }
        announce([] { return QStringLiteral("Temps écoulé."); });
        evaluer_reponse();
    }
}

void Kovrant::Timer2_Timer() {
    c_.nb_clignotements = static_cast<float>(double(c_.nb_clignotements) + 1);
    const float n = c_.nb_clignotements;
    if (n > 170) {
        Timer2.setRunning(false);
        return;
    }
    const bool phase = n >= 10 && std::fmod(n, 10.0f) == 0;
    if (!phase) {
        return;
    }
    const bool contraste = std::fmod(n, 20.0f) != 0; // 10, 30, ... 170
    surface().setFillColour(couleur(contraste ? c_.couleur2 : c_.couleur1));
    surface().circle(QPointF(c_.x_reponse, c_.y_reponse), 5);
}

void Kovrant::fleche_Click() {
    fleche.setVisible(false);
    nouveau_calcul();
}

void Kovrant::arret_Click() {
    programme_.aurevoir().show();
}

namespace {

// Where the mark of each band lands, band 1 first.
const char* const zones[] = {
    "le disque jaune du centre, plus 10 points",
    "l'anneau rouge, plus 5 points",
    "l'anneau bleu clair, plus 1 point",
    "l'anneau noir, 0 point",
    "l'anneau blanc, moins 5 points",
};

} // namespace

void Kovrant::decrire_pour_lecteurs() {
    setAccessibleName(QStringLiteral("Les Kovrant, exercice"));
    Calcul.accessibleName = [this]() -> QString {
        if (c_.calcul.operation == Operation::Aucune) {
            return ui::spokenText(Calcul.caption());
        }
        // After the calculation the caption holds the answer, as keyed or judged, or a lone "?".
        QString reponse = Calcul.caption().mid(c_.calcul.texte_calcul.size()).trimmed();
        if (reponse.endsWith(QLatin1Char('?'))) {
            reponse.chop(1);
        }
        reponse = ui::spokenText(reponse);
        const QString calcul = calcul_a_dire(c_.calcul.operation, c_.calcul.nombre1, c_.calcul.nombre2);
        return reponse.isEmpty() ? calcul : calcul + QStringLiteral(", ta réponse ") + reponse;
    };
    chronometre.accessibleName = [this]() -> QString {
        const int n = c_.secondes.value();
        return QString::number(n) + (n > 1 ? QStringLiteral(" secondes") : QStringLiteral(" seconde"));
    };
    bind<ui::Image>("environ").accessibleName = [] { return QStringLiteral("environ égal à"); };
    arret.accessibleName = [] { return QStringLiteral("Arrêter le jeu"); };
    fleche.accessibleName = [] { return QStringLiteral("Question suivante"); };

    cible_ = &addPaintedItem(QAccessible::Graphic, [this]() -> QString {
        if (!fleche.isVisible()) {
            return QStringLiteral("Cible");
        }
        const auto bande = std::size_t(&bande_pour(c_.ecart) - bandes.data());
        return QStringLiteral("Cible : ta réponse est dans ") + QString::fromUtf8(zones[bande]);
    });
    cible_->show(QRectF(QPointF(598, 98), QPointF(902, 402)));
    for (const char* legende : legendes) {
        cible_->holds(bind<ui::Label>(legende));
    }
    aide_ = &addPaintedItem(QAccessible::StaticText,
                            [this] { return aide_->isVisible() ? aide_a_dire() : QString(); });
    score_ = &addPaintedItem(QAccessible::StaticText, [this]() -> QString {
        return QStringLiteral("Score ") + QString::number(module11.score.value());
    });
}

QString Kovrant::aide_a_dire() const {
    return calcul_a_dire(c_.calcul.operation, c_.arrondi1, c_.arrondi2) + QStringLiteral(" égale ") +
           nombre_a_dire(c_.resultat_arrondi);
}

QString Kovrant::verdict_a_dire() const {
    QString verdict = ui::spokenText(commentaire.caption()) + QStringLiteral(". La réponse exacte est ") +
                      nombre_a_dire(c_.calcul.resultat) + QStringLiteral(". Score ") +
                      QString::number(module11.score.value()) + QLatin1Char('.');
    if (Titre_aide.isVisible()) {
        verdict += QStringLiteral(" Aide : ") + aide_a_dire() + QLatin1Char('.');
    }
    return verdict;
}

} // namespace exercise
