// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TGauge.h"

#include <gtest/gtest.h>

#include <set>

using namespace zq;

namespace {

constexpr Colour Back = 10526880;
constexpr Colour Fore = 16744448;

struct GaugeFixture {
    TGauge g;
    GaugeFixture()
    {
        g.setGeometry(0, 0, 410, 18);
        g.SetBackColor(Back);
        g.SetForeColor(Fore);
    }
    std::set<Colour> Colours()
    {
        std::set<Colour> s;
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < 410; ++x)
                s.insert(g.Canvas().Pixel(x, y));
        return s;
    }
};

} // namespace

TEST(Gauge, PercentageTruncatesAndAnEmptyRangeIsZero)
{
    TGauge g;
    g.SetMaxValue(0);
    EXPECT_EQ(g.PercentDone(), 0);
    g.SetMaxValue(3);
    g.SetProgress(2);
    EXPECT_EQ(g.PercentDone(), 66);
    g.SetMaxValue(4000);
    g.SetProgress(3999);
    EXPECT_EQ(g.PercentDone(), 99);
}

TEST(Gauge, ProgressIsKeptWithinTheRange)
{
    TGauge g;
    g.SetMaxValue(10);
    g.SetProgress(15);
    EXPECT_EQ(g.Progress(), 10);
    g.SetProgress(-3);
    EXPECT_EQ(g.Progress(), 0);
    g.SetProgress(8);
    g.SetMaxValue(5); // a lower maximum takes Progress down with it
    EXPECT_EQ(g.Progress(), 5);
    g.SetMaxValue(20); // a higher one leaves it
    EXPECT_EQ(g.Progress(), 5);
    EXPECT_EQ(g.MinValue(), 0);
}

TEST(Gauge, FillsFromTheLeftAndInvertsTheText)
{
    EXPECT_EQ(TGauge::FilledWidth(410, 33), 135);
    EXPECT_EQ(TGauge::FilledWidth(410, 100), 410);

    GaugeFixture f;
    f.g.SetMaxValue(10);
    f.g.SetProgress(5);
    EXPECT_EQ(f.g.Canvas().Pixel(204, 0), Fore);
    EXPECT_EQ(f.g.Canvas().Pixel(205, 0), Back);
    // "50%" straddles the edge: its pixels read inverted over both colours.
    EXPECT_EQ(f.Colours(), (std::set<Colour>{Back, Fore, Back ^ 0xFFFFFFu, Fore ^ 0xFFFFFFu}));

    f.g.SetProgress(0);
    EXPECT_EQ(f.Colours(), (std::set<Colour>{Back, Back ^ 0xFFFFFFu}));
    f.g.SetProgress(10);
    EXPECT_EQ(f.Colours(), (std::set<Colour>{Fore, Fore ^ 0xFFFFFFu}));
}
