// SPDX-License-Identifier: GPL-3.0-or-later
#include "TStatDlg.h"

#include "CanvasWidget.h"
#include "GalleryState.h"
#include "TGauge.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <initializer_list>

using namespace zq;
using zq::test::AnswerModal;
using zq::test::GalleryState;

namespace {

// A statistics dialog over N Quarvels with the given progress bytes for Quarvels 1, 2, ...
struct Stats {
    std::unique_ptr<ProgramState> state;
    std::unique_ptr<TStatDlg> dlg;

    Stats(int N, std::initializer_list<std::uint8_t> progress, int language = 0)
        : state(GalleryState(N))
    {
        int n = 1;
        for (std::uint8_t b : progress)
            state->Progress(n++) = b;
        state->Language = language;
        dlg = std::make_unique<TStatDlg>(*state, nullptr);
        dlg->FormActivate();
    }
    QString L1() const { return dlg->L1()->text(); }
    QString L2() const { return dlg->L2()->text(); }
    QString L3() const { return dlg->L3()->text(); }
};

QString U(const char* s) { return QString::fromUtf8(s); }

} // namespace

TEST(StatDlg, NothingFinished)
{
    Stats de(10, {}, 1);
    EXPECT_EQ(de.L1(), U("Bisher wurde noch kein Quarvel gelöst !!!"));
    EXPECT_EQ(de.L2(), U("Du hast für kein Quarvel keine, für kein Quarvel wenig, für kein Quarvel etwas mehr und für "
                         "kein Quarvel viel Hilfe benötigt. Du hast kein Quarvel aufgegeben."));
    EXPECT_EQ(de.L3(), U("Du hast bisher leider keine Punkte erreicht."));
    EXPECT_EQ(de.dlg->G1()->PercentDone(), 0);
    EXPECT_EQ(de.dlg->G2()->PercentDone(), 0);

    Stats en(10, {4, 3}); // help taken but not finished: not counted
    EXPECT_EQ(en.L1(), "Until now no Quarvel was solved !!!");
    EXPECT_EQ(en.L2(), "For no Quarvel you didn't need any help. For no Quarvel you needed little, for no Quarvel "
                       "some more and for no Quarvel much help. You dropped no Quarvel.");
    EXPECT_EQ(en.L3(), "Sorry, until now you've reached no points.");
    EXPECT_EQ(en.dlg->Counts().FinishedCount, 0);
}

TEST(StatDlg, OneSolvedWithoutHelp)
{
    Stats de(10, {0, 8}, 1);
    EXPECT_EQ(de.L1(), U("Bisher wurde eines von insgesamt 10 Quarvelen gelöst."));
    EXPECT_EQ(de.L3(), U("Du hast bisher 4 von 40 möglichen Punkten erreicht."));
    EXPECT_EQ(de.dlg->G1()->PercentDone(), 10);
    EXPECT_EQ(de.dlg->G2()->PercentDone(), 10);

    Stats en(10, {8});
    EXPECT_EQ(en.L1(), "Until now one out of total 10 Quarvels was solved.");
    EXPECT_EQ(en.L2(), "For one Quarvel you didn't need any help. For no Quarvel you needed little, for no Quarvel "
                       "some more and for no Quarvel much help. You dropped no Quarvel.");
    EXPECT_EQ(en.L3(), "Until now you've reached 4 out of 40 possible points.");
}

TEST(StatDlg, EverythingSolvedWithoutHelpOrEverythingRevealed)
{
    Stats de(3, {8, 8, 8}, 1);
    EXPECT_EQ(de.L1(), U("Bisher wurden 3 von insgesamt 3 Quarvelen gelöst."));
    EXPECT_EQ(de.L3(), U("Hurra, Du hast alle möglichen Punkte erreicht."));
    EXPECT_EQ(de.dlg->G2()->PercentDone(), 100);
    Stats en(3, {8, 8, 8});
    EXPECT_EQ(en.L1(), "Until now 3 out of total 3 Quarvels were solved.");
    EXPECT_EQ(en.L3(), "Hurrah, you reached all possible points.");

    Stats deR(2, {12, 12}, 1);
    EXPECT_EQ(deR.L2(), U("Du hast für kein Quarvel keine, für kein Quarvel wenig, für kein Quarvel etwas mehr und für "
                          "kein Quarvel viel Hilfe benötigt. Du hast 2 Quarvele aufgegeben."));
    EXPECT_EQ(deR.L3(), U("Du hast leider keinen einzigen Punkt erreicht."));
    EXPECT_EQ(deR.dlg->G1()->PercentDone(), 100);
    Stats enR(2, {12, 12});
    EXPECT_EQ(enR.L3(), "Sorry, you reached no points.");
}

TEST(StatDlg, MixedLevels)
{
    // Levels 0, 0, 1, 3, 4, 4, 4: 4 + 4 + 3 + 1 = 12 of 28 points.
    const std::initializer_list<std::uint8_t> mixed = {8, 8, 9, 11, 12, 12, 12};
    Stats de(7, mixed, 1);
    EXPECT_EQ(de.L2(), U("Du hast für 2 Quarvels keine, für ein Quarvel wenig, für kein Quarvel etwas mehr und für ein "
                         "Quarvel viel Hilfe benötigt. Du hast 3 Quarvele aufgegeben."));
    EXPECT_EQ(de.L3(), U("Du hast 12 von 28 möglichen Punkten erreicht."));
    Stats en(7, mixed);
    EXPECT_EQ(en.L2(), "For 2 Quarvels you didn't need any help. For one Quarvel you needed little, for no Quarvel "
                       "some more and für one Quarvel much help. You dropped 3 Quarvels.");
    EXPECT_EQ(en.L3(), "You reached 12 out of 28 possible points.");

    Stats many(20, {9, 9, 10, 10, 10, 11, 11, 12}, 1);
    EXPECT_EQ(many.L2(), U("Du hast für kein Quarvel keine, für 2 Quarvele wenig, für 3 Quarvele etwas mehr und für 2 "
                           "Quarvele viel Hilfe benötigt. Ein Quarvel hast Du aufgegeben."));
    EXPECT_EQ(many.L3(), U("Du hast bisher 14 von 80 möglichen Punkten erreicht."));
}

TEST(StatDlg, ADamagedHelpLevelCountsAsRevealed)
{
    Stats s(4, {8 + 5, 8 + 7, 7, 8});
    EXPECT_EQ(s.dlg->Counts().FinishedCount, 3);
    EXPECT_EQ(s.dlg->Counts().LevelCount, (std::array<int, 5>{1, 0, 0, 0, 2}));
    EXPECT_EQ(s.dlg->Counts().Points, 4);
}

TEST(StatDlg, CaptionNamesTheGame)
{
    Stats en(3, {});
    EXPECT_EQ(en.dlg->windowTitle(), "Quarvel statistics");
    en.state->GameFileName = "/home/player/games/round1.zqv";
    en.dlg->FormActivate();
    EXPECT_EQ(en.dlg->windowTitle(), "Quarvel statistics for game round1");
    en.state->Language = 1;
    en.dlg->FormActivate();
    EXPECT_EQ(en.dlg->windowTitle(), U("Quarvel Statistik für Spiel round1"));
}

TEST(StatDlg, BarSegmentsEndWhereTheirRoundedSharesDo)
{
    // F = 3, c0 = 2, c4 = 1: ends 274, 275, 276, 277 and 410.
    Stats s(3, {8, 8, 12});
    EXPECT_EQ(TStatDlg::SegmentEnds(s.dlg->Counts()), (std::array<int, 5>{274, 275, 276, 277, 410}));
    const Canvas& c = s.dlg->pieBox()->Canvas();
    const Colour form = FromQRgb(s.dlg->palette().color(QPalette::Window).rgb());
    // Without a pen the rectangles (0, 0)-(275, 18) and (277, 0)-(411, 18) fill one pixel short.
    EXPECT_EQ(c.Pixel(0, 0), clGreen);
    EXPECT_EQ(c.Pixel(273, 16), clGreen);
    EXPECT_EQ(c.Pixel(274, 0), form);
    EXPECT_EQ(c.Pixel(276, 8), form);
    EXPECT_EQ(c.Pixel(0, 17), form);
    EXPECT_EQ(c.Pixel(277, 0), clRed);
    EXPECT_EQ(c.Pixel(409, 16), clRed);
    EXPECT_EQ(c.Pixel(410, 0), form);

    // 410 / 4 = 102.5 rounds to the even 102, 3 * 102.5 = 307.5 to 308.
    EXPECT_EQ(TStatDlg::RoundHalfEven(102.5), 102);
    EXPECT_EQ(TStatDlg::RoundHalfEven(307.5), 308);
    EXPECT_EQ(TStatDlg::RoundHalfEven(2.4), 2);
    EXPECT_EQ(TStatDlg::RoundHalfEven(2.6), 3);
    Stats tie(4, {8, 9, 9, 9});
    EXPECT_EQ(TStatDlg::SegmentEnds(tie.dlg->Counts())[0], 103);
    EXPECT_EQ(tie.dlg->pieBox()->Canvas().Pixel(102, 0), clGreen);
    EXPECT_EQ(tie.dlg->pieBox()->Canvas().Pixel(103, 0), TStatDlg::LevelColour[1]);

    Stats none(3, {});
    EXPECT_EQ(none.dlg->pieBox()->Canvas().Pixel(0, 0), form);
}

TEST(StatDlg, OkAndEnterAnswerOneEscapeAndCloseBoxTwo)
{
    Stats s(3, {});
    TStatDlg& d = *s.dlg;
    EXPECT_EQ(d.OkBtn()->text(), "OK");
    EXPECT_TRUE(d.OkBtn()->isDefault());
    const auto show = [&d] { return d.ShowModal(); };
    EXPECT_EQ(AnswerModal(d, show, [&] { d.OkBtn()->click(); }), 1);
    EXPECT_EQ(AnswerModal(d, show, [&] { QTest::keyClick(&d, Qt::Key_Return); }), 1);
    EXPECT_EQ(AnswerModal(d, show, [&] { QTest::keyClick(&d, Qt::Key_Escape); }), 2);
    EXPECT_EQ(AnswerModal(d, show, [&] { d.close(); }), 2);
}
