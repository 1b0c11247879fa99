// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TStatDlg.h"

#include "platform/canvas/CanvasWidget.h"
#include "GalleryState.h"
#include "dialogs/TGauge.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

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

// Every sentence of the dialog in both languages: each help level's phrase for
// none, one and many, each points case, the caption with and without a game.
TEST(StatDlg, EverySentenceInBothLanguages)
{
    struct Texts {
        const char* caption;
        const char* l1;
        const char* l2;
        const char* l3;
    };
    struct Row {
        int N;
        std::initializer_list<std::uint8_t> progress;
        const char* game;
        Texts german;
        Texts english;
    };
    const Row rows[] = {
        {10, {3, 1}, "", // help taken but nothing finished
         {"Quarvel Statistik", "Bisher wurde noch kein Quarvel gelöst !!!",
          "Du hast für kein Quarvel keine, für kein Quarvel wenig, für kein Quarvel etwas mehr und für kein Quarvel "
          "viel Hilfe benötigt. Du hast kein Quarvel aufgegeben.",
          "Du hast bisher leider keine Punkte erreicht."},
         {"Quarvel statistics", "Until now no Quarvel was solved !!!",
          "For no Quarvel you didn't need any help. For no Quarvel you needed little, for no Quarvel some more and for "
          "no Quarvel much help. You dropped no Quarvel.",
          "Sorry, until now you've reached no points."}},
        {10, {0, 8}, "/home/player/games/round1.zqv",
         {"Quarvel Statistik für Spiel round1", "Bisher wurde eines von insgesamt 10 Quarvelen gelöst.",
          "Du hast für ein Quarvel keine, für kein Quarvel wenig, für kein Quarvel etwas mehr und für kein Quarvel "
          "viel Hilfe benötigt. Du hast kein Quarvel aufgegeben.",
          "Du hast bisher 4 von 40 möglichen Punkten erreicht."},
         {"Quarvel statistics for game round1", "Until now one out of total 10 Quarvels was solved.",
          "For one Quarvel you didn't need any help. For no Quarvel you needed little, for no Quarvel some more and "
          "for no Quarvel much help. You dropped no Quarvel.",
          "Until now you've reached 4 out of 40 possible points."}},
        // Levels 0..4 counted 0, 1, 2, 0, 1 times.
        {10, {9, 10, 10, 12, 2}, "",
         {"Quarvel Statistik", "Bisher wurden 4 von insgesamt 10 Quarvelen gelöst.",
          "Du hast für kein Quarvel keine, für ein Quarvel wenig, für 2 Quarvele etwas mehr und für kein Quarvel viel "
          "Hilfe benötigt. Ein Quarvel hast Du aufgegeben.",
          "Du hast bisher 7 von 40 möglichen Punkten erreicht."},
         {"Quarvel statistics", "Until now 4 out of total 10 Quarvels were solved.",
          "For no Quarvel you didn't need any help. For one Quarvel you needed little, for 2 Quarvels some more and "
          "for no Quarvel much help. You dropped one Quarvel.",
          "Until now you've reached 7 out of 40 possible points."}},
        // 1, 2, 0, 1, 2 times, every Quarvel finished.
        {6, {8, 9, 9, 11, 12, 12}, "",
         {"Quarvel Statistik", "Bisher wurden 6 von insgesamt 6 Quarvelen gelöst.",
          "Du hast für ein Quarvel keine, für 2 Quarvele wenig, für kein Quarvel etwas mehr und für ein Quarvel viel "
          "Hilfe benötigt. Du hast 2 Quarvele aufgegeben.",
          "Du hast 11 von 24 möglichen Punkten erreicht."},
         {"Quarvel statistics", "Until now 6 out of total 6 Quarvels were solved.",
          "For one Quarvel you didn't need any help. For 2 Quarvels you needed little, for no Quarvel some more and "
          "für one Quarvel much help. You dropped 2 Quarvels.",
          "You reached 11 out of 24 possible points."}},
        // 2, 0, 1, 2, 0 times.
        {5, {8, 8, 10, 11, 11}, "",
         {"Quarvel Statistik", "Bisher wurden 5 von insgesamt 5 Quarvelen gelöst.",
          "Du hast für 2 Quarvels keine, für kein Quarvel wenig, für ein Quarvel etwas mehr und für 2 Quarvele viel "
          "Hilfe benötigt. Du hast kein Quarvel aufgegeben.",
          "Du hast 12 von 20 möglichen Punkten erreicht."},
         {"Quarvel statistics", "Until now 5 out of total 5 Quarvels were solved.",
          "For 2 Quarvels you didn't need any help. For no Quarvel you needed little, for one Quarvel some more and "
          "for 2 Quarvels much help. You dropped no Quarvel.",
          "You reached 12 out of 20 possible points."}},
        {3, {8, 8, 8}, "",
         {"Quarvel Statistik", "Bisher wurden 3 von insgesamt 3 Quarvelen gelöst.",
          "Du hast für 3 Quarvels keine, für kein Quarvel wenig, für kein Quarvel etwas mehr und für kein Quarvel "
          "viel Hilfe benötigt. Du hast kein Quarvel aufgegeben.",
          "Hurra, Du hast alle möglichen Punkte erreicht."},
         {"Quarvel statistics", "Until now 3 out of total 3 Quarvels were solved.",
          "For 3 Quarvels you didn't need any help. For no Quarvel you needed little, for no Quarvel some more and "
          "for no Quarvel much help. You dropped no Quarvel.",
          "Hurrah, you reached all possible points."}},
        {2, {12, 12}, "",
         {"Quarvel Statistik", "Bisher wurden 2 von insgesamt 2 Quarvelen gelöst.",
          "Du hast für kein Quarvel keine, für kein Quarvel wenig, für kein Quarvel etwas mehr und für kein Quarvel "
          "viel Hilfe benötigt. Du hast 2 Quarvele aufgegeben.",
          "Du hast leider keinen einzigen Punkt erreicht."},
         {"Quarvel statistics", "Until now 2 out of total 2 Quarvels were solved.",
          "For no Quarvel you didn't need any help. For no Quarvel you needed little, for no Quarvel some more and "
          "for no Quarvel much help. You dropped 2 Quarvels.",
          "Sorry, you reached no points."}},
        {3, {12}, "", // finished, yet no points
         {"Quarvel Statistik", "Bisher wurde eines von insgesamt 3 Quarvelen gelöst.",
          "Du hast für kein Quarvel keine, für kein Quarvel wenig, für kein Quarvel etwas mehr und für kein Quarvel "
          "viel Hilfe benötigt. Ein Quarvel hast Du aufgegeben.",
          "Du hast bisher leider keine Punkte erreicht."},
         {"Quarvel statistics", "Until now one out of total 3 Quarvels was solved.",
          "For no Quarvel you didn't need any help. For no Quarvel you needed little, for no Quarvel some more and "
          "for no Quarvel much help. You dropped one Quarvel.",
          "Sorry, until now you've reached no points."}},
    };
    for (const Row& r : rows)
        for (const int language : {1, 0, -1}) {
            SCOPED_TRACE(::testing::Message() << "N " << r.N << ", language " << language << ", bytes "
                                              << ::testing::PrintToString(std::vector<int>(r.progress.begin(), r.progress.end())));
            Stats s(r.N, r.progress, language);
            s.state->GameFileName = QString::fromUtf8(r.game);
            s.dlg->FormActivate();
            const Texts& t = language == 1 ? r.german : r.english;
            EXPECT_EQ(s.dlg->windowTitle(), U(t.caption));
            EXPECT_EQ(s.L1(), U(t.l1));
            EXPECT_EQ(s.L2(), U(t.l2));
            EXPECT_EQ(s.L3(), U(t.l3));
        }
}

TEST(StatDlg, GaugesShowTheFinishedAndThePointShares)
{
    struct Row {
        int N;
        std::initializer_list<std::uint8_t> progress;
        int g1, g2;
    };
    const Row rows[] = {
        {10, {3, 1}, 0, 0},
        {10, {0, 8}, 10, 10},
        {10, {9, 10, 10, 12, 2}, 40, 17}, // 7 of 40 points
        {3, {8, 8, 8}, 100, 100},
        {2, {12, 12}, 100, 0},
    };
    for (const Row& r : rows) {
        Stats s(r.N, r.progress);
        EXPECT_EQ(s.dlg->G1()->PercentDone(), r.g1) << r.N;
        EXPECT_EQ(s.dlg->G2()->PercentDone(), r.g2) << r.N;
    }
}

TEST(StatDlg, ADamagedHelpLevelCountsAsRevealed)
{
    Stats s(4, {8 + 5, 8 + 7, 7, 8});
    EXPECT_EQ(s.dlg->Counts().FinishedCount, 3);
    EXPECT_EQ(s.dlg->Counts().LevelCount, (std::array<int, 5>{1, 0, 0, 0, 2}));
    EXPECT_EQ(s.dlg->Counts().Points, 4);
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
