#include "support.h"

#include "runtime_error.h"
#include "units.h"

#include <QKeyEvent>
#include <QPainter>
#include <cmath>
#include <stdexcept>

namespace testsupport {

namespace {

shell::Programme::Options optionsFor(std::uint32_t seed, bool& ended, exercise::Reglages reglages) {
    shell::Programme::Options options;
    options.reglages = std::move(reglages);
    options.graine = [seed] { return seed; };
    options.fin = [&ended] { ended = true; };
    return options;
}

template <typename T> T& control(const ui::Form& form, QStringView name, int index = 0) {
    auto* c = dynamic_cast<T*>(form.findControl(name, index));
    if (c == nullptr) {
        throw std::logic_error("no such control: " + name.toString().toStdString());
    }
    return *c;
}

} // namespace

Game::Game(std::uint32_t seed, bool followWindowSystem, exercise::Reglages reglages)
    : programme(optionsFor(seed, ended_, std::move(reglages))), module11(programme.module11) {
    programme.runtime().setFollowWindowSystem(followWindowSystem);
    programme.runtime().setStopOnError(false);
    programme.hasard().seed(seed);
}

Game::~Game() = default;

exercise::Reglages avecTemps(exercise::TempsAccorde temps) {
    exercise::Reglages reglages;
    reglages.temps = temps;
    return reglages;
}

ui::FormSlot& Game::screen(QStringView name) {
    const QStringView names[] = {u"Accueil", u"présentation", u"Kovrant", u"FIN", u"Aurevoir"};
    return *screens().at(std::size_t(std::find(std::begin(names), std::end(names), name) - names));
}

bool Game::isActive(ui::FormSlot& slot) {
    return slot.isLoaded() && runtime().activeForm() == &slot.get();
}

exercise::Kovrant& Game::startGame(std::initializer_list<int> families) {
    for (int f : families) {
        module11.operations_choisies[f] = 1;
    }
    kovrant().show();
    return exercise();
}

exercise::Kovrant& Game::playFromStart(std::initializer_list<int> families) {
    accueil().show();
    for (int f : families) {
        clickControl(presentation().get(), u"Table", f);
    }
    clickControl(presentation().get(), u"flèche");
    return exercise();
}

exercise::Kovrant& newGame(std::optional<Game>& game, std::uint32_t seed,
                           std::initializer_list<int> families) {
    game.emplace(seed);
    return game->startGame(families);
}

ui::Label& label(const ui::Form& form, QStringView name) {
    return control<ui::Label>(form, name);
}

ui::Image& image(const ui::Form& form, QStringView name) {
    return control<ui::Image>(form, name);
}

ui::CheckBox& checkBox(const ui::Form& form, int index) {
    return control<ui::CheckBox>(form, u"Table", index);
}

void answer(exercise::Kovrant& k, double fraction) {
    typeText(k, QString::number(std::lround(k.champs().calcul.resultat * fraction)) + QLatin1Char('\r'));
}

QImage drawing(const exercise::Kovrant& k) {
    QImage image(k.render(1.0).size(), QImage::Format_RGB32);
    QPainter painter(&image);
    k.surface().paint(painter);
    return image;
}

QColor colourAtUnits(const QImage& render, QPointF units, qreal scale, qreal twipsPerUnit) {
    const QPointF pixel = units * twipsPerUnit / ui::units::twipsPerPixel * scale;
    return render.pixelColor(int(pixel.x()), int(pixel.y()));
}

void typeKey(ui::Form& form, Qt::Key key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&form, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&form, &release);
}

void typeText(ui::Form& form, const QString& text) {
    for (const QChar c : text) {
        Qt::Key key = Qt::Key_unknown;
        if (c.isDigit()) {
            key = Qt::Key(Qt::Key_0 + c.digitValue());
        } else if (c == QLatin1Char('=')) {
            key = Qt::Key_Equal;
        } else if (c.isLetter() && c.unicode() < 128) {
            key = Qt::Key(Qt::Key_A + (c.toUpper().unicode() - 'A'));
        }
        typeKey(form, key, QString(c));
    }
}

void clickControl(ui::Form& form, QStringView name, int index) {
    const ui::Control* control = form.findControl(name, index);
    QVERIFY2(control != nullptr, "no such control");
    QTest::mouseClick(&form, Qt::LeftButton, Qt::NoModifier,
                      form.widgetPointForTwips(QRectF(control->twips()).center()).toPoint());
}

void clickEmptyPart(ui::Form& form, QPointF units) {
    QTest::mouseClick(&form, Qt::LeftButton, {}, form.widgetPointForUnits(units).toPoint());
}

} // namespace testsupport
