#pragma once

#include <cstdint>
#include <optional>

namespace ui {

// Uniform draws in [0, 1) as singles. The sequence is a 24-bit linear congruential generator, so every
// draw is exact in a float and a seed replays a whole game draw for draw.
class Random {
public:
    float next();
    void seed(std::uint32_t value);

    // What a window does when it wants a fresh game: seeds from the clock, unless a fixed seed was
    // injected (tests, screenshots, a replayed monkey run), in which case every reseed starts that same
    // sequence again.
    void reseedFromClock();
    static void injectSeed(std::optional<std::uint32_t> seed);

private:
    std::uint32_t state_ = 0x50000;
};

Random& random();

} // namespace ui
