// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TTongueDlg.h"

#include "dialogs/CentreWindow.h"
#include "dialogs/DialogLook.h"
#include "platform/services/Glyphs.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace zq {

namespace {
constexpr int ClientWidth = 320;
constexpr int ClientHeight = 91;
constexpr int GlyphSize = 16;
} // namespace

TTongueDlg::TTongueDlg(ProgramState& state, QWidget* mainForm) : state_(state), mainForm_(mainForm)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    setFont(DialogFont(false));
    // The same for every player: the dialog is where the language is chosen.
    setWindowTitle(QStringLiteral("Zibble Quarvel V2.3"));

    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(8, 8, 305, 77);

    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image4"));
    image->setGeometry(28, 28, 37, 37);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->setPixmap(MainFormIcon(mainForm_).pixmap(32, 32));

    // Created first, so it comes first in the tab order.
    englishBtn_ = new QPushButton(QStringLiteral("I speak english."), this);
    englishBtn_->setObjectName(QStringLiteral("EnglishBtn"));
    englishBtn_->setGeometry(84, 16, 221, 27);
    englishBtn_->setIcon(LazyIcon(QStringLiteral(":/art/flags_en.svg")));
    englishBtn_->setIconSize(QSize(3 * GlyphSize, GlyphSize));
    connect(englishBtn_, &QPushButton::clicked, this, &TTongueDlg::EnglishBtnClick);

    auto* germanBtn = new QPushButton(QStringLiteral("Ich spreche deutsch."), this);
    germanBtn->setObjectName(QStringLiteral("GermanBtn"));
    germanBtn->setGeometry(84, 48, 221, 27);
    germanBtn->setIcon(LazyIcon(QStringLiteral(":/art/flags_de.svg")));
    germanBtn->setIconSize(QSize(3 * GlyphSize, GlyphSize));
    connect(germanBtn, &QPushButton::clicked, this, &TTongueDlg::GermanBtnClick);
}

int TTongueDlg::ShowModal() { return exec(); }

void TTongueDlg::EnglishBtnClick()
{
    state_.Language = 0;
    done(1);
}

void TTongueDlg::GermanBtnClick()
{
    state_.Language = 1;
    done(1);
}

void TTongueDlg::showEvent(QShowEvent* event)
{
    CentreWindow(*this, mainForm_);
    // Enter answers with the focused button: English, unless the player moves on.
    englishBtn_->setFocus();
    QDialog::showEvent(event);
}

void TTongueDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel))
        return;
    QDialog::keyPressEvent(event);
}

void TTongueDlg::reject() { done(2); }

} // namespace zq
