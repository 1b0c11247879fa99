// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace zq {

// The numbers behind the statistics: how many Quarvels are finished, how
// many at each help level 0..4, and the points they are worth.
struct StatCounts {
    int FinishedCount = 0;
    std::array<int, 5> LevelCount{};
    int Points = 0;

    // progress[n - 1] is the progress byte of Quarvel n.
    static StatCounts Count(std::span<const std::uint8_t> progress);
};

} // namespace zq
