// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace zq {

// One of the 16 piece orientations, k times 22.5 degrees clockwise on screen.
// Kept as its own type so that turning can only ever wrap modulo 16.
class Orientation {
public:
    constexpr Orientation() = default;
    constexpr explicit Orientation(int value) : v_(static_cast<std::uint8_t>(value & 15)) {}

    constexpr int value() const { return v_; }

    // Negative steps wrap as well: (v - 1) & 15 is the step back.
    constexpr Orientation operator+(int steps) const { return Orientation(v_ + steps); }
    constexpr Orientation operator-(int steps) const { return Orientation(v_ - steps); }

    friend constexpr bool operator==(Orientation, Orientation) = default;

private:
    std::uint8_t v_ = 0;
};

static_assert(sizeof(Orientation) == 1);
static_assert((Orientation(15) + 1).value() == 0);
static_assert((Orientation(0) - 1).value() == 15);

} // namespace zq
