#include "random.h"

#include <chrono>

namespace ui {

namespace {
std::optional<std::uint32_t>& injected() {
    static std::optional<std::uint32_t> seed;
    return seed;
}
} // namespace

float Random::next() {
    state_ = (state_ * 1140671485u + 12820163u) & 0xFFFFFFu;
    return static_cast<float>(state_) / 16777216.0f;
}

void Random::seed(std::uint32_t value) {
    state_ = (value ^ (value >> 24)) & 0xFFFFFFu;
}

void Random::reseedFromClock() {
    if (injected()) {
        seed(*injected());
        return;
    }
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const auto ticks =
        static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
    seed(static_cast<std::uint32_t>(ticks ^ (ticks >> 24) ^ (ticks >> 48)));
}

void Random::injectSeed(std::optional<std::uint32_t> seed) {
    injected() = seed;
}

Random& random() {
    static Random instance;
    return instance;
}

} // namespace ui
