// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModalDriver.h"
#include "dialogs/TTongueDlg.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace zq;
using zq::test::Press;
using zq::test::WhenModal;

namespace {
int Answer(TTongueDlg& dlg, const std::function<void(QWidget&)>& act)
{
    WhenModal(act);
    return dlg.ShowModal();
}
QPushButton* Btn(QWidget& w, const char* name) { return w.findChild<QPushButton*>(QString::fromLatin1(name)); }
} // namespace

TEST(TTongueDlg, EnterChoosesEnglishEvenAfterGermanWasChosen)
{
    ProgramState state;
    TTongueDlg dlg(state, nullptr);
    EXPECT_EQ(Answer(dlg, [](QWidget& w) { Btn(w, "GermanBtn")->click(); }), 1);
    EXPECT_EQ(state.Language, 1);
    EXPECT_EQ(Answer(dlg, [](QWidget& w) { Press(w, Qt::Key_Return); }), 1);
    EXPECT_EQ(state.Language, 0);
}

TEST(TTongueDlg, CloseBoxAndEscapeLeaveTheLanguage)
{
    for (int language : {-1, 1}) {
        ProgramState state;
        state.Language = language;
        TTongueDlg dlg(state, nullptr);
        bool openAfterEscape = false;
        EXPECT_EQ(Answer(dlg,
                         [&](QWidget& w) {
                             Press(w, Qt::Key_Escape);
                             openAfterEscape = w.isVisible();
                             w.close();
                         }),
                  2);
        EXPECT_TRUE(openAfterEscape);
        EXPECT_EQ(state.Language, language);
    }
}

TEST(TTongueDlg, Layout)
{
    ProgramState state;
    // The picture beside the buttons is the main window's own icon.
    QWidget main;
    QPixmap red(32, 32);
    red.fill(Qt::red);
    main.setWindowIcon(QIcon(red));
    TTongueDlg dlg(state, &main);
    const auto* image = dlg.findChild<QLabel*>(QStringLiteral("Image4"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
              red.toImage().convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Zibble Quarvel V2.3"));
    EXPECT_EQ(dlg.size(), QSize(320, 91));
    EXPECT_EQ(Btn(dlg, "EnglishBtn")->text(), QStringLiteral("I speak english."));
    EXPECT_EQ(Btn(dlg, "GermanBtn")->text(), QStringLiteral("Ich spreche deutsch."));
    EXPECT_EQ(Btn(dlg, "EnglishBtn")->geometry(), QRect(84, 16, 221, 27));
    EXPECT_EQ(Btn(dlg, "GermanBtn")->geometry(), QRect(84, 48, 221, 27));
    EXPECT_FALSE(Btn(dlg, "EnglishBtn")->icon().pixmap(48, 16).isNull());
    EXPECT_FALSE(Btn(dlg, "GermanBtn")->icon().pixmap(48, 16).isNull());
}
