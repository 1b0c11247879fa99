// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModalDriver.h"
#include "dialogs/TYesNoDlg.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <array>
#include <string>

using namespace zq;
using zq::test::Press;
using zq::test::WhenModal;

namespace {

QLabel* Label(QWidget& dlg, int page)
{
    return dlg.findChild<QLabel*>(QStringLiteral("L%1").arg(page * 100 + 1, 4, 10, QLatin1Char('0')));
}

QString LabelText(QWidget& dlg, int page)
{
    QLabel* label = Label(dlg, page);
    return label ? label->text() : QStringLiteral("<missing>");
}

QPushButton* Button(QWidget& dlg, int page, int index)
{
    return dlg.findChild<QPushButton*>(QStringLiteral("Btn%1").arg(page * 100 + index, 4, 10, QLatin1Char('0')));
}

struct Shown {
    std::array<QString, 10> labels;   // by page 1..9
    std::array<QString, 10> first;    // caption of the page's first button
    std::array<QString, 10> second;   // caption of the second button, if any
    int visiblePage = 0;
};

// Shows `page` once, records what the player sees and closes with the close box.
Shown ShowAndRead(TYesNoDlg& dlg, int page)
{
    Shown seen;
    WhenModal([&](QWidget& w) {
        for (int p = 1; p <= 9; ++p) {
            seen.labels[static_cast<std::size_t>(p)] = LabelText(w, p);
            seen.first[static_cast<std::size_t>(p)] = Button(w, p, 1)->text();
            if (QPushButton* b = Button(w, p, 2))
                seen.second[static_cast<std::size_t>(p)] = b->text();
            if (QLabel* label = Label(w, p); label && label->isVisible())
                seen.visiblePage = p;
        }
        w.close();
    });
    dlg.ShowModal(page);
    return seen;
}

int Answer(TYesNoDlg& dlg, int page, const std::function<void(QWidget&)>& act)
{
    WhenModal(act);
    return dlg.ShowModal(page);
}

const std::array<const char*, 10> German = {"",
    "Hurra, geschafft!", "Willst Du die Stufe wirklich aufgeben?", "Willst Du wirklich schon aufhören?",
    "Willst Du das Spiel wirklich aufgeben?", "Du warst leider zu langsam!",
    "Gratulation, Du hast alle Stufen gelöst.", "Das Spiel ist leider aus.", "Auf zur nächsten Stufe!",
    "Du hast leider verloren!"};
const std::array<const char*, 10> English = {"",
    "Hurrah, you did it!", "Do you really want to give up the level?", "Do you really want to go?",
    "Do you really want to give up the game?", "Sorry, you weren't quick enough!",
    "Congratulation, you solved all levels.", "Sorry, game over!", "The next level is waiting!",
    "Sorry, that was it!"};
const std::array<const char*, 10> French = {"",
    "Super, tu as réussi!", "Do you really want to give up the level?", "Veux-tu vraiment arrêter?",
    "Veux-tu vraiment abandonner le jeu?", "Sorry, you weren't quick enough!",
    "Congratulation, you solved all levels.", "", "", "Tu as malheureusement perdu!"};

void ExpectTexts(const Shown& seen, const std::array<const char*, 10>& labels, const char* yes, const char* no)
{
    for (std::size_t p = 1; p <= 9; ++p)
        EXPECT_EQ(seen.labels[p], QString::fromUtf8(labels[p])) << "page " << p;
    for (std::size_t p : {2u, 3u, 4u}) {
        EXPECT_EQ(seen.first[p], QString::fromUtf8(yes)) << "page " << p;
        EXPECT_EQ(seen.second[p], QString::fromUtf8(no)) << "page " << p;
    }
    for (std::size_t p : {1u, 5u, 6u, 7u, 8u, 9u})
        EXPECT_EQ(seen.first[p], QStringLiteral("OK")) << "page " << p;
}

} // namespace

TEST(TYesNoDlg, TextsFollowTheLanguage)
{
    ProgramState state;
    TYesNoDlg dlg(state, nullptr);
    state.Language = 1;
    ExpectTexts(ShowAndRead(dlg, TYesNoDlg::won), German, "Ja", "Nein");
    for (int language : {0, -1, 3}) {
        state.Language = language;
        ExpectTexts(ShowAndRead(dlg, TYesNoDlg::won), English, "Yes", "No");
    }
    state.Language = 2;
    ExpectTexts(ShowAndRead(dlg, TYesNoDlg::won), French, "Oui", "Non");
}

TEST(TYesNoDlg, FrenchPagesWithoutTextAreEmptyEvenAfterAnotherLanguage)
{
    ProgramState state;
    TYesNoDlg dlg(state, nullptr);
    state.Language = 1;
    ShowAndRead(dlg, TYesNoDlg::gameover);
    state.Language = 2;
    const Shown seen = ShowAndRead(dlg, TYesNoDlg::gameover);
    EXPECT_EQ(seen.labels[TYesNoDlg::gameover], QString());
    EXPECT_EQ(seen.labels[TYesNoDlg::nextlevel], QString());
}

TEST(TYesNoDlg, LanguageChangesAtTheNextShowingNotWhileOpen)
{
    ProgramState state;
    state.Language = 0;
    TYesNoDlg dlg(state, nullptr);
    QString whileOpen;
    WhenModal([&](QWidget& w) {
        state.Language = 1;
        QTest::qWait(20);
        whileOpen = LabelText(w, TYesNoDlg::endgame);
        w.close();
    });
    dlg.ShowModal(TYesNoDlg::endgame);
    EXPECT_EQ(whileOpen, QStringLiteral("Do you really want to go?"));
    EXPECT_EQ(ShowAndRead(dlg, 0).labels[TYesNoDlg::endgame], QStringLiteral("Willst Du wirklich schon aufhören?"));
}

TEST(TYesNoDlg, EndgameAnswers)
{
    ProgramState state;
    TYesNoDlg dlg(state, nullptr);
    EXPECT_EQ(Answer(dlg, TYesNoDlg::endgame, [](QWidget& w) { Press(w, Qt::Key_Return); }), 6);
    EXPECT_EQ(Answer(dlg, TYesNoDlg::endgame, [](QWidget& w) { Press(w, Qt::Key_Escape); }), 2);
    EXPECT_EQ(Answer(dlg, TYesNoDlg::endgame, [](QWidget& w) { Button(w, 3, 2)->click(); }), 2);
    EXPECT_EQ(Answer(dlg, TYesNoDlg::endgame, [](QWidget& w) { Button(w, 3, 1)->click(); }), 6);
    EXPECT_EQ(Answer(dlg, TYesNoDlg::endgame, [](QWidget& w) { w.close(); }), 2);
    EXPECT_EQ(dlg.ModalResult(), 2);
}

TEST(TYesNoDlg, RestartAndGiveupAnswers)
{
    ProgramState state;
    TYesNoDlg dlg(state, nullptr);
    for (int page : {TYesNoDlg::restart, TYesNoDlg::giveup}) {
        EXPECT_EQ(Answer(dlg, page, [](QWidget& w) { Press(w, Qt::Key_Escape); }), 7) << page;
        EXPECT_EQ(Answer(dlg, page, [](QWidget& w) { Press(w, Qt::Key_Return); }), 6) << page;
        EXPECT_EQ(Answer(dlg, page, [page](QWidget& w) { Button(w, page, 2)->click(); }), 7) << page;
        EXPECT_EQ(Answer(dlg, page, [](QWidget& w) { w.close(); }), 2) << page;
        EXPECT_EQ(dlg.ModalResult(), 2);
    }
}

TEST(TYesNoDlg, OkPagesAnswerEnterAndIgnoreEscape)
{
    ProgramState state;
    TYesNoDlg dlg(state, nullptr);
    for (int page : {1, 5, 6, 7, 8, 9}) {
        EXPECT_EQ(Answer(dlg, page, [](QWidget& w) { Press(w, Qt::Key_Return); }), 1) << page;
        bool openAfterEscape = false;
        EXPECT_EQ(Answer(dlg, page,
                         [&](QWidget& w) {
                             Press(w, Qt::Key_Escape);
                             openAfterEscape = w.isVisible();
                             w.close();
                         }),
                  2)
            << page;
        EXPECT_TRUE(openAfterEscape) << page;
    }
}

TEST(TYesNoDlg, OtherPageNumbersKeepTheLastPage)
{
    ProgramState state;
    state.Language = 0;
    TYesNoDlg dlg(state, nullptr);
    EXPECT_EQ(dlg.ActivePage(), TYesNoDlg::lost);
    EXPECT_EQ(ShowAndRead(dlg, 0).visiblePage, TYesNoDlg::lost);
    EXPECT_EQ(ShowAndRead(dlg, TYesNoDlg::giveup).visiblePage, TYesNoDlg::giveup);
    EXPECT_EQ(ShowAndRead(dlg, 10).visiblePage, TYesNoDlg::giveup);
    EXPECT_EQ(ShowAndRead(dlg, -1).visiblePage, TYesNoDlg::giveup);
    // The page kept is the one answered with: Escape on giveup is No.
    EXPECT_EQ(Answer(dlg, 0, [](QWidget& w) { Press(w, Qt::Key_Escape); }), 7);
}

TEST(TYesNoDlg, LayoutGlyphsAndPlacement)
{
    ProgramState state;
    QWidget mainForm;
    mainForm.setGeometry(300, 200, 640, 480);
    mainForm.show();
    TYesNoDlg dlg(state, &mainForm);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Zibble Quarvel"));
    EXPECT_EQ(dlg.size(), QSize(261, 103));
    EXPECT_EQ(Label(dlg, 3)->geometry(), QRect(72, 20, 153, 29));
    EXPECT_EQ(Button(dlg, 2, 2)->geometry(), QRect(48, 68, 77, 27));
    EXPECT_EQ(Button(dlg, 4, 1)->geometry(), QRect(136, 68, 77, 27));
    for (int page = 1; page <= 9; ++page)
        for (int i = 1; i <= 2; ++i)
            if (QPushButton* b = Button(dlg, page, i)) {
                EXPECT_FALSE(b->icon().pixmap(16, 16).isNull()) << page << "/" << i;
            }

    int pictures = 0;
    for (const QLabel* label : dlg.findChildren<QLabel*>())
        if (!label->pixmap().isNull() && label->geometry() == QRect(16, 16, 32, 32))
            ++pictures;
    EXPECT_EQ(pictures, 9); // the icon on every page

    QRect frame;
    WhenModal([&](QWidget& w) {
        frame = w.frameGeometry();
        w.close();
    });
    dlg.ShowModal(TYesNoDlg::won);
    EXPECT_LE(std::abs(frame.center().x() - mainForm.frameGeometry().center().x()), 1);
    EXPECT_LE(std::abs(frame.center().y() - mainForm.frameGeometry().center().y()), 1);
}
