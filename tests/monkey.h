#pragma once

#include <QString>
#include <Qt>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <utility>

namespace ui {
class Form;
}
namespace testsupport {
class Game;
}

// A child at the keyboard and mouse for as long as it likes: keys of every kind, clicks on and off the
// controls, timer ticks, windows brought back to the front, and a fresh start whenever the program ends.
// After every event the player checks what must hold whatever the child does. The monkey test draws the
// choices from a seeded generator, the fuzzer from its input bytes, so both share one player.
namespace monkey {

class Player {
public:
    // A choice in [0, n): where the child's whims come from.
    using Draw = std::function<std::uint32_t(std::uint32_t n)>;

    explicit Player(Draw draw);
    ~Player();

    // A fresh program on its welcome screen, every reseed of its random source giving `seed`.
    void start(std::uint32_t seed);

    // Plays one event and checks the program afterwards: an empty text when all holds, otherwise what
    // broke and on which event. A runtime error of the program is reported the same way.
    QString step();

    // What the last step did, for a failure report.
    const QString& lastEvent() const { return event_; }

    // How far the play went, so that a run can show it reached every screen.
    struct Tally {
        long events = 0;
        long verdicts = 0;
        long games = 0;    // programs started
        long finishes = 0; // end screens reached
        long farewells = 0;
    };
    const Tally& tally() const { return tally_; }

private:
    // A key with any modifiers it holds, and the character it types, if any.
    using Key = std::pair<QKeyCombination, char16_t>;

    void playOne();
    Key randomKey();
    void pressKey(const Key& key);
    void answer();
    void click(bool onControl);
    void tick();
    void settle();
    void switchWindow(bool close);

    QString check();

    Draw draw_;
    std::unique_ptr<testsupport::Game> game_;
    QString event_;
    Tally tally_;
    std::deque<Key> typing_; // an answer being typed, one key per event
    int away_ = 0;           // events left while nobody is at the keyboard

    // What the previous check saw of the exercise window, to tell each verdict apart.
    const ui::Form* exercise_ = nullptr;
    int attente_ = 0;
    float clignotements_ = 0;
    bool finSeen_ = false;
    bool aurevoirSeen_ = false;
};

} // namespace monkey
