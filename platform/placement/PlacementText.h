// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/placement/WindowPlacement.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zq {

// The stored form of a window placement, "200,flags,show,left,top,right,bottom",
// and the arithmetic that puts a restored window back on the screen.
class PlacementText {
public:
    static constexpr std::string_view LayoutMark = "200";

    static std::string Format(const WindowPlacement& placement);

    // Cut at every comma; two commas in a row give an empty field, a comma at
    // the very end gives no field after it, and an empty text no field at all.
    static std::vector<std::string_view> SplitFields(std::string_view text);

    // nullopt when the text does not hold a placement (not seven fields, or a
    // first field other than "200"). A field that is not an integer raises
    // SettingsError "'<field>' ist kein gültiger Integerwert".
    static std::optional<WindowPlacement> Parse(std::string_view text);

    // Moves a rectangle that reaches past the screen's right or bottom edge
    // (exclusive) back onto it, keeping its size. Left and top stay unchecked.
    static WindowPlacement KeepOnScreen(WindowPlacement placement, int screenRight, int screenBottom);

    // Brings a stored rectangle within the area the screen has for windows
    // before it is used, so that no stored value can make a window larger than
    // the screen (which the window system cannot draw) or put it where the
    // player can never reach it: a width or height beyond the area's becomes
    // the area's, and a rectangle that would show nowhere on the area is moved
    // onto it. A rectangle partly on the area stays where it is.
    static WindowPlacement FitToArea(WindowPlacement placement, int areaLeft, int areaTop, int areaRight,
                                     int areaBottom);

    // Where a window of that extent starts when centred, halved toward zero.
    static int CentredOrigin(int screenExtent, int windowExtent);
};

} // namespace zq
