// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/StatCounts.h"

#include "engine/ProgressByte.h"

namespace zq {

StatCounts StatCounts::Count(std::span<const std::uint8_t> progress)
{
    StatCounts c;
    for (std::uint8_t b : progress) {
        if (!IsFinished(b))
            continue;
        // A damaged file can hold levels 5..7; they mean "everything shown", like level 4.
        const int h = EffectiveHelpLevel(b);
        ++c.FinishedCount;
        ++c.LevelCount[static_cast<std::size_t>(h)];
        c.Points += 4 - h;
    }
    return c;
}

} // namespace zq
