// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/placement/PlacementText.h"

#include "platform/settings/IntegerText.h"
#include "platform/settings/SettingsError.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace zq {

namespace {

// Stored numbers can be anything; the arithmetic runs wide and is then brought
// back into range rather than overflow.
std::int32_t Saturate(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

} // namespace

std::string PlacementText::Format(const WindowPlacement& p)
{
    std::string text(LayoutMark);
    for (const std::int32_t v : {p.flags, p.showCmd, p.left, p.top, p.right, p.bottom}) {
        text += ',';
        text += IntegerText::Format(v);
    }
    return text;
}

std::vector<std::string_view> PlacementText::SplitFields(std::string_view text)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto comma = text.find(',', start);
        if (comma == std::string_view::npos) {
            fields.push_back(text.substr(start));
            break;
        }
        fields.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return fields;
}

std::optional<WindowPlacement> PlacementText::Parse(std::string_view text)
{
    const auto fields = SplitFields(text);
    if (fields.size() != 7 || fields[0] != LayoutMark)
        return std::nullopt;
    std::array<std::int32_t, 6> n{};
    for (std::size_t i = 0; i < n.size(); ++i) {
        const auto value = IntegerText::Parse(fields[i + 1]);
        if (!value)
            throw SettingsError::WithName("'%s' ist kein gültiger Integerwert", std::string(fields[i + 1]));
        n[i] = *value;
    }
    return WindowPlacement{n[0], n[1], n[2], n[3], n[4], n[5]};
}

WindowPlacement PlacementText::KeepOnScreen(WindowPlacement p, int screenRight, int screenBottom)
{
    if (p.right > screenRight) {
        const std::int64_t width = std::int64_t{p.right} - p.left;
        p.left = Saturate(screenRight - (width < 0 ? -width : width));
        p.right = screenRight;
    }
    if (p.bottom > screenBottom) {
        const std::int64_t height = std::int64_t{p.bottom} - p.top;
        p.top = Saturate(screenBottom - (height < 0 ? -height : height));
        p.bottom = screenBottom;
    }
    return p;
}

WindowPlacement PlacementText::FitToArea(WindowPlacement p, int areaLeft, int areaTop, int areaRight, int areaBottom)
{
    const auto fit = [](std::int32_t& from, std::int32_t& to, int areaFrom, int areaTo) {
        const std::int64_t room = std::max<std::int64_t>(std::int64_t{areaTo} - areaFrom, 0);
        const std::int64_t extent = std::clamp<std::int64_t>(std::int64_t{to} - from, 0, room);
        std::int64_t start = from;
        // An empty rectangle counts as one pixel wide, so that it too lands inside.
        if (start + extent <= areaFrom || start >= areaTo)
            start = std::clamp<std::int64_t>(start, areaFrom,
                                             std::max<std::int64_t>(areaFrom, areaTo - std::max<std::int64_t>(extent, 1)));
        from = Saturate(start);
        to = Saturate(start + extent);
    };
    fit(p.left, p.right, areaLeft, areaRight);
    fit(p.top, p.bottom, areaTop, areaBottom);
    return p;
}

int PlacementText::CentredOrigin(int screenExtent, int windowExtent)
{
    return Saturate((std::int64_t{screenExtent} - windowExtent) / 2);
}

} // namespace zq
