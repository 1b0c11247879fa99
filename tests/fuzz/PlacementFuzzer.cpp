// SPDX-License-Identifier: GPL-3.0-or-later
// A stored window placement of any text, and the screen arithmetic on it.
// SettingsError is the expected answer to a damaged number; anything else
// thrown ends the run as a finding.
#include "platform/placement/PlacementText.h"
#include "platform/settings/SettingsError.h"
#include "tests/fuzz/FuzzRequire.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace zq;
using zq::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The whole input is the stored text, so a seed is a plain placement.
    const std::string text(reinterpret_cast<const char*>(data), size);

    std::optional<WindowPlacement> placement;
    try {
        placement = PlacementText::Parse(text);
    } catch (const SettingsError&) {
        return 0;
    }
    if (!placement)
        return 0;

    // What is stored is read back unchanged.
    const std::string stored = PlacementText::Format(*placement);
    Require(PlacementText::Parse(stored) == placement, "format then parse");

    // Screens around the placement's own edges and at the ends of the range.
    const WindowPlacement& p = *placement;
    const std::int32_t screens[][2] = {
        {1920, 1080}, {0, 0}, {INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}, {p.right, p.bottom}, {p.left, p.top},
        {p.right - (p.right > INT32_MIN), p.bottom - (p.bottom > INT32_MIN)}};
    for (const auto& [screenRight, screenBottom] : screens) {
        const WindowPlacement kept = PlacementText::KeepOnScreen(p, screenRight, screenBottom);
        Require(kept.flags == p.flags && kept.showCmd == p.showCmd, "state kept");
        Require(kept.right == std::min(p.right, screenRight) && kept.bottom == std::min(p.bottom, screenBottom),
                "moved onto the screen");
        Require(PlacementText::Parse(PlacementText::Format(kept)) == kept, "kept placement stores");
        // Brought into an area from (0, 0) to the screen's corner: never larger than the area, and
        // somewhere on it whenever it has room.
        if (screenRight > 0 && screenBottom > 0) {
            const WindowPlacement fitted = PlacementText::FitToArea(p, 0, 0, screenRight, screenBottom);
            Require(std::int64_t{fitted.right} - fitted.left <= screenRight &&
                        std::int64_t{fitted.bottom} - fitted.top <= screenBottom && fitted.right >= fitted.left &&
                        fitted.bottom >= fitted.top,
                    "fitted size");
            Require(fitted.left < screenRight && fitted.top < screenBottom && fitted.right >= 0 && fitted.bottom >= 0 &&
                        (fitted.right > 0 || fitted.right == fitted.left) &&
                        (fitted.bottom > 0 || fitted.bottom == fitted.top),
                    "fitted onto the area");
        }
        for (const std::int32_t extent : {p.right, p.left, p.top, p.bottom}) {
            const std::int64_t origin = PlacementText::CentredOrigin(screenRight, extent);
            Require(origin == (std::int64_t{screenRight} - extent) / 2, "centred origin");
        }
    }
    return 0;
}
