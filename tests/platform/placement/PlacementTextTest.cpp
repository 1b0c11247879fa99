// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/placement/PlacementText.h"
#include "platform/settings/SettingsError.h"

#include <gtest/gtest.h>

#include <climits>

using zq::PlacementText;
using zq::WindowPlacement;

namespace {

TEST(PlacementText, FormatsSevenFields)
{
    EXPECT_EQ(PlacementText::Format({0, 1, 100, 50, 564, 436}), "200,0,1,100,50,564,436");
    EXPECT_EQ(PlacementText::Format({2, 2, -8, -30, 0, INT_MIN}), "200,2,2,-8,-30,0,-2147483648");
}

TEST(PlacementText, SplitsAtEveryComma)
{
    using V = std::vector<std::string_view>;
    EXPECT_EQ(PlacementText::SplitFields(""), V{});
    EXPECT_EQ(PlacementText::SplitFields(","), V{""});
    EXPECT_EQ(PlacementText::SplitFields("a,,b"), (V{"a", "", "b"}));
    EXPECT_EQ(PlacementText::SplitFields("a,b,"), (V{"a", "b"}));
    EXPECT_EQ(PlacementText::SplitFields("a,b,,"), (V{"a", "b", ""}));
    EXPECT_EQ(PlacementText::SplitFields(",a"), (V{"", "a"}));
}

TEST(PlacementText, ParsesOnlySevenFieldsMarked200)
{
    const WindowPlacement p{0, 1, 100, 50, 564, 436};
    EXPECT_EQ(PlacementText::Parse("200,0,1,100,50,564,436"), p);
    EXPECT_EQ(PlacementText::Parse("200,0,1,100,50,564,436,"), p);
    EXPECT_EQ(PlacementText::Parse("200,0,$1, 100,+50,0x234,436"), p); // the integer rules of the store
    for (const char* ignored : {"", "200", "200,0,1,100,50,564", "200,0,1,100,50,564,436,0", "200,0,1,100,50,564,436,,",
                                "100,0,1,100,50,564,436", " 200,0,1,100,50,564,436", "0200,0,1,100,50,564,436",
                                "200,0,1,100,50,564,x,y"})
        EXPECT_EQ(PlacementText::Parse(ignored), std::nullopt) << ignored;
}

TEST(PlacementText, FieldThatIsNoIntegerRaises)
{
    const std::pair<const char*, const char*> cases[] = {
        {"200,0,1,100,50,564,436 ", "'436 ' ist kein gültiger Integerwert"},
        {"200,,1,100,50,564,436", "'' ist kein gültiger Integerwert"},
        {"200,0,1,1x,50,564,436", "'1x' ist kein gültiger Integerwert"},
        {"200,0,1,100,50,2147483648,436", "'2147483648' ist kein gültiger Integerwert"},
    };
    for (const auto& [text, message] : cases) {
        try {
            PlacementText::Parse(text);
            ADD_FAILURE() << text << " did not raise";
        } catch (const zq::SettingsError& e) {
            EXPECT_STREQ(e.what(), message);
        }
    }
}

TEST(PlacementText, KeepsTheRectangleOnTheScreenAtRightAndBottom)
{
    // 100 pixels past the right and bottom edges of a 1024 x 768 screen.
    EXPECT_EQ(PlacementText::KeepOnScreen({0, 1, 660, 100, 1124, 486}, 1024, 768),
              (WindowPlacement{0, 1, 560, 100, 1024, 486}));
    EXPECT_EQ(PlacementText::KeepOnScreen({0, 3, 100, 482, 564, 868}, 1024, 768),
              (WindowPlacement{0, 3, 100, 382, 564, 768}));
    // Left and top are not checked; a rectangle that fits is left alone.
    const WindowPlacement offLeft{0, 1, -50, -20, 414, 366};
    EXPECT_EQ(PlacementText::KeepOnScreen(offLeft, 1024, 768), offLeft);
    // A right edge exactly at the screen edge is exclusive, so it fits.
    EXPECT_EQ(PlacementText::KeepOnScreen({0, 1, 560, 382, 1024, 768}, 1024, 768),
              (WindowPlacement{0, 1, 560, 382, 1024, 768}));
    // A reversed rectangle keeps its width as a distance.
    EXPECT_EQ(PlacementText::KeepOnScreen({0, 1, 2000, 0, 1500, 10}, 1024, 768), (WindowPlacement{0, 1, 524, 0, 1024, 10}));
    // Wild stored numbers saturate instead of overflowing.
    EXPECT_EQ(PlacementText::KeepOnScreen({0, 1, INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 1024, 768),
              (WindowPlacement{0, 1, INT_MIN, INT_MIN, 1024, 768}));
}

TEST(PlacementText, FitsAStoredRectangleIntoTheAreaBeforeUse)
{
    // An area of 1024 x 740 below a 28-pixel panel. Expected: sizes capped to the
    // area, rectangles wholly off it moved onto its nearest edge, others kept.
    const struct { WindowPlacement stored, fitted; } rows[] = {
        {{0, 1, 100, 50, 564, 436}, {0, 1, 100, 50, 564, 436}},              // fits: unchanged
        {{0, 1, -50, -20, 414, 366}, {0, 1, -50, -20, 414, 366}},            // partly off: kept
        {{0, 1, 0, 0, 33000, 33000}, {0, 1, 0, 0, 1024, 740}},               // too large: the area's size
        {{0, 1, 2000000000, 2000000000, 2100000000, 2100000000}, {0, 1, 0, 28, 1024, 768}},
        {{0, 1, -5000, 100, -4536, 486}, {0, 1, 0, 100, 464, 486}},          // wholly left of it
        {{0, 1, 100, 900, 564, 1286}, {0, 1, 100, 382, 564, 768}},           // wholly below it
        {{0, 1, INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {0, 1, 0, 28, 1024, 768}},   // capped, then off: moved
    };
    for (const auto& row : rows)
        EXPECT_EQ(PlacementText::FitToArea(row.stored, 0, 28, 1024, 768), row.fitted)
            << row.stored.left << "," << row.stored.top << "," << row.stored.right << "," << row.stored.bottom;
}

TEST(PlacementText, CentresTowardZero)
{
    EXPECT_EQ(PlacementText::CentredOrigin(1024, 464), 280);
    EXPECT_EQ(PlacementText::CentredOrigin(1023, 464), 279);
    EXPECT_EQ(PlacementText::CentredOrigin(400, 465), -32); // -32.5 halved toward zero, not down
    EXPECT_EQ(PlacementText::CentredOrigin(INT_MIN, INT_MAX), -INT_MAX); // no overflow on the way
}

} // namespace
