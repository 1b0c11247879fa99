// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace zq {

// A window's normal (restored) rectangle with its state, in the numbers that
// are stored: outer frame, right and bottom exclusive, screen pixels.
struct WindowPlacement {
    // Show commands.
    static constexpr std::int32_t ShowNormal = 1;
    static constexpr std::int32_t ShowMinimized = 2;
    static constexpr std::int32_t ShowMaximized = 3;
    // Flag: a minimised window goes back to maximised, not to normal.
    static constexpr std::int32_t RestoreToMaximized = 2;

    std::int32_t flags = 0;
    std::int32_t showCmd = ShowNormal;
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

} // namespace zq
