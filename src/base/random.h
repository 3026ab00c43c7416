#pragma once

#include <cstdint>
#include <functional>

namespace base {

// Uniform draws in [0, 1) as singles. The sequence is a 24-bit linear congruential generator, so every
// draw is exact in a float and a seed replays a whole game draw for draw.
class Random {
public:
    // Where a fresh seed comes from when a window wants a fresh game: the clock in the program; a fixed
    // value in tests, the screenshots and a replayed monkey run.
    using SeedSource = std::function<std::uint32_t()>;
    static std::uint32_t clockSeed();

    explicit Random(SeedSource source = clockSeed) : source_(std::move(source)) {}

    float next();
    void seed(std::uint32_t value);
    // Seeds from the source.
    void reseed() { seed(source_()); }

private:
    SeedSource source_;
    std::uint32_t state_ = 0x50000;
};

} // namespace base
