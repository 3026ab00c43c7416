#pragma once

#include "runtime_error.h"

#include <QtGlobal>
#include <array>
#include <compare>
#include <cstdint>
#include <limits>

namespace base {

// A 16-bit signed whole number whose arithmetic stops the program on overflow instead of wrapping: the
// score, counters, flags and palette indexes all live in this range and leaving it is a bug, never a
// value to carry on with.
class Integer {
public:
    constexpr Integer() = default;
    constexpr Integer(int v)
        : value_(checked(v)) {} // NOLINT(google-explicit-constructor): reads like a literal

    constexpr int value() const { return value_; }

    friend constexpr Integer operator+(Integer a, Integer b) { return Integer(a.value_ + b.value_); }
    friend constexpr Integer operator-(Integer a, Integer b) { return Integer(a.value_ - b.value_); }
    friend constexpr Integer operator*(Integer a, Integer b) { return Integer(a.value_ * b.value_); }
    constexpr Integer operator-() const { return Integer(-value_); }
    constexpr Integer& operator+=(Integer b) { return *this = *this + b; }
    constexpr Integer& operator-=(Integer b) { return *this = *this - b; }

    friend constexpr bool operator==(Integer a, Integer b) = default;
    friend constexpr auto operator<=>(Integer a, Integer b) = default;

private:
    static constexpr std::int16_t checked(int v) {
        if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max()) {
            runtimeError(ErrorCode::Overflow);
        }
        return static_cast<std::int16_t>(v);
    }

    std::int16_t value_ = 0;
};

// A fixed array indexed from Lo to Hi inclusive, whose subscripts are checked like the Integer's range.
template <typename T, int Lo, int Hi> class Array {
    static_assert(Lo <= Hi);

public:
    constexpr T& operator[](Integer i) { return items_[offset(i)]; }
    constexpr const T& operator[](Integer i) const { return items_[offset(i)]; }
    static constexpr int lowerBound() { return Lo; }
    static constexpr int upperBound() { return Hi; }

private:
    static constexpr std::size_t offset(Integer i) {
        if (i.value() < Lo || i.value() > Hi) {
            runtimeError(ErrorCode::SubscriptOutOfRange);
        }
        return static_cast<std::size_t>(i.value() - Lo);
    }

    std::array<T, Hi - Lo + 1> items_{};
};

} // namespace base
