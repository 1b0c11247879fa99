// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/GameFile.h"

#include <algorithm>

namespace zq {

void ReadProgress(std::span<const std::uint8_t> bytes, int puzzleCount, std::array<std::uint8_t, 1001>& progress)
{
    const std::size_t count = static_cast<std::size_t>(std::clamp(puzzleCount, 0, static_cast<int>(progress.size()) - 1));
    for (std::size_t i = 1; i <= count; ++i)
        progress[i] = i <= bytes.size() ? bytes[i - 1] : 0;
}

} // namespace zq
