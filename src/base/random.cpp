#include "random.h"

#include <chrono>

namespace base {

float Random::next() {
    state_ = (state_ * 1140671485u + 12820163u) & 0xFFFFFFu;
    return static_cast<float>(state_) / 16777216.0f;
}

void Random::seed(std::uint32_t value) {
    state_ = (value ^ (value >> 24)) & 0xFFFFFFu;
}

std::uint32_t Random::clockSeed() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const auto ticks =
        static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
    return static_cast<std::uint32_t>(ticks ^ (ticks >> 24) ^ (ticks >> 48));
}

} // namespace base
