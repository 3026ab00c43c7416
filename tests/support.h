#pragma once

#include "form.h"
#include "kovrant.h"
#include "programme.h"
#include "units.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QTest>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>

// What every test of the game shares: a programme of its own, with a fixed seed, runtime errors that throw
// instead of stopping the process, and ways to drive and look at a window without a screen.
namespace testsupport {

// A programme for one test: every new game starts from `seed`, a runtime error is thrown to the test,
// and the end of the program is recorded instead of leaving the event loop. The window system's own
// activations are ignored unless `followWindowSystem`: the offscreen platform sends them late. What an
// adult sets (the time allowed, a séance) is `reglages`, fixed for the programme's life as in the game.
class Game {
public:
    explicit Game(std::uint32_t seed = 1, bool followWindowSystem = false, exercise::Reglages reglages = {});
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    shell::Programme programme;
    shell::Module11& module11;

    ui::FormSlot& accueil() { return programme.accueil(); }
    ui::FormSlot& presentation() { return programme.presentation(); }
    ui::FormSlot& kovrant() { return programme.kovrant(); }
    ui::FormSlot& fin() { return programme.fin(); }
    ui::FormSlot& aurevoir() { return programme.aurevoir(); }
    ui::Runtime& runtime() { return programme.runtime(); }
    // Every screen, and one by its window's name.
    std::array<ui::FormSlot*, 5> screens() {
        return {&accueil(), &presentation(), &kovrant(), &fin(), &aurevoir()};
    }
    ui::FormSlot& screen(QStringView name);

    // Whether the program has ended.
    bool ended() const { return ended_; }
    // Whether the window of `slot` is loaded and the active one.
    bool isActive(ui::FormSlot& slot);

    // The exercise window, shown with the given families chosen.
    exercise::Kovrant& startGame(std::initializer_list<int> families);
    // The whole way in, as a player goes: the program starts, the families are ticked and the arrow
    // clicked on the presentation screen.
    exercise::Kovrant& playFromStart(std::initializer_list<int> families);
    exercise::Kovrant& exercise() { return kovrant().as<exercise::Kovrant>(); }

private:
    bool ended_ = false;
};

// What an adult sets when it is only the time allowed.
exercise::Reglages avecTemps(exercise::TempsAccorde temps);

// A fresh programme in `game`, every new game starting from `seed`, on the exercise window.
exercise::Kovrant& newGame(std::optional<Game>& game, std::uint32_t seed,
                           std::initializer_list<int> families);

// A control of a window's layout, typed; the test fails if it is missing.
ui::Label& label(const ui::Form& form, QStringView name);
ui::Image& image(const ui::Form& form, QStringView name);
ui::CheckBox& checkBox(const ui::Form& form, int index);

// Keys `fraction` of the result, rounded, then Enter: the window goes to the pause with its verdict.
void answer(exercise::Kovrant& k, double fraction = 0.0);
// The exercise window's drawing alone, without the labels painted over it.
QImage drawing(const exercise::Kovrant& k);

// The colour a scene render shows at a point of the window's drawing units (points on the game's two
// big windows), at `scale` device pixels per scene pixel.
QColor colourAtUnits(const QImage& render, QPointF units, qreal scale = 1.0,
                     qreal twipsPerUnit = ui::units::twipsPerPoint);

// A key as a player types it on the window: key-down, then the character it types, if any.
void typeKey(ui::Form& form, Qt::Key key, const QString& text = QString());
void typeText(ui::Form& form, const QString& text);
// A left click in the middle of a named control, as the window currently maps it.
void clickControl(ui::Form& form, QStringView name, int index = 0);
// A press on an empty part of a window, given in its drawing units, as a player brings it to the front.
void clickEmptyPart(ui::Form& form, QPointF units);

} // namespace testsupport
