// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TYesNoDlg.h"

#include "dialogs/CentreWindow.h"
#include "dialogs/DialogLook.h"
#include "platform/services/Glyphs.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>

namespace zq {

namespace {

enum class Role { OkHappy, OkSad, YesBack, NoCross, YesDoor, NoCancel };

struct RoleSpec {
    int modalResult;
    bool isDefault;
    bool isCancel;
    const char* glyph;
};

constexpr RoleSpec Roles[] = {
    {1, true, false, ":/art/smile_yellow.svg"},
    {1, true, false, ":/art/sad_green.svg"},
    {6, true, false, ":/art/turn_back_green.svg"},
    {7, false, true, ":/art/cross_red.svg"},
    {6, true, false, ":/art/door_blue.svg"},
    // Leaving the game is the one question whose No is a plain Cancel.
    {2, false, true, ":/art/cancel.svg"},
};

constexpr const RoleSpec& SpecOf(Role r) { return Roles[static_cast<int>(r)]; }

struct ButtonSpec {
    const char* name = nullptr;
    int left = 0;
    Role role = Role::OkHappy;
};

struct PageSpec {
    const char* label;
    int x, y, w, h;
    ButtonSpec first;
    ButtonSpec second; // name nullptr: a one-button page
    const char* german;
    const char* french; // nullptr: the page has no French text and stays empty
    const char* english;
};

// Pages in notebook order, numbered 1..9.
constexpr PageSpec Pages[TYesNoDlg::PageCount] = {
    {"L0101", 60, 28, 181, 17, {"Btn0101", 92, Role::OkHappy}, {},
     "Hurra, geschafft!", "Super, tu as réussi!", "Hurrah, you did it!"},
    {"L0201", 56, 20, 189, 26, {"Btn0201", 136, Role::YesBack}, {"Btn0202", 48, Role::NoCross},
     "Willst Du die Stufe wirklich aufgeben?", "Do you really want to give up the level?",
     "Do you really want to give up the level?"},
    {"L0301", 72, 20, 153, 29, {"Btn0301", 136, Role::YesDoor}, {"Btn0302", 52, Role::NoCancel},
     "Willst Du wirklich schon aufhören?", "Veux-tu vraiment arrêter?", "Do you really want to go?"},
    {"L0401", 56, 20, 189, 26, {"Btn0401", 136, Role::YesBack}, {"Btn0402", 52, Role::NoCross},
     "Willst Du das Spiel wirklich aufgeben?", "Veux-tu vraiment abandonner le jeu?",
     "Do you really want to give up the game?"},
    {"L0501", 60, 20, 181, 33, {"Btn0501", 92, Role::OkSad}, {},
     "Du warst leider zu langsam!", "Sorry, you weren't quick enough!", "Sorry, you weren't quick enough!"},
    {"L0601", 60, 24, 181, 21, {"Btn0601", 92, Role::OkHappy}, {},
     "Gratulation, Du hast alle Stufen gelöst.", "Congratulation, you solved all levels.",
     "Congratulation, you solved all levels."},
    {"L0701", 60, 20, 181, 33, {"Btn0701", 92, Role::OkSad}, {},
     "Das Spiel ist leider aus.", nullptr, "Sorry, game over!"},
    {"L0801", 60, 24, 181, 21, {"Btn0801", 92, Role::OkHappy}, {},
     "Auf zur nächsten Stufe!", nullptr, "The next level is waiting!"},
    {"L0901", 60, 20, 181, 33, {"Btn0901", 92, Role::OkSad}, {},
     "Du hast leider verloren!", "Tu as malheureusement perdu!", "Sorry, that was it!"},
};

struct Words {
    const char* yes;
    const char* no;
};
constexpr Words German{"Ja", "Nein"};
constexpr Words French{"Oui", "Non"};
constexpr Words English{"Yes", "No"};

constexpr int ClientWidth = 261;
constexpr int ClientHeight = 103;
constexpr int ButtonTop = 68;
constexpr int ButtonWidth = 77;
constexpr int ButtonHeight = 27;
constexpr int GlyphSize = 16;

} // namespace

TYesNoDlg::TYesNoDlg(ProgramState& state, QWidget* mainForm) : state_(state), mainForm_(mainForm)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    setFont(DialogFont(true));
    setWindowTitle(QStringLiteral("Zibble Quarvel"));

    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("pages"));
    pages_->setGeometry(0, 0, ClientWidth, ClientHeight);
    const QIcon icon = MainFormIcon(mainForm_);
    for (int page = 1; page <= PageCount; ++page)
        BuildPage(page, icon);
    pages_->setCurrentIndex(lost - 1);
}

void TYesNoDlg::BuildPage(int page, const QIcon& icon)
{
    const PageSpec& layout = Pages[page - 1];
    PageWidgets& w = widgets_[static_cast<std::size_t>(page - 1)];
    auto* sheet = new QWidget(pages_);

    auto* bevel = new QFrame(sheet);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(8, 8, 245, 49);

    auto* image = new QLabel(sheet);
    image->setGeometry(16, 16, 32, 32);
    image->setPixmap(icon.pixmap(32, 32));

    w.label = new QLabel(sheet);
    w.label->setObjectName(QString::fromLatin1(layout.label));
    w.label->setGeometry(layout.x, layout.y, layout.w, layout.h);
    w.label->setTextFormat(Qt::PlainText);
    w.label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    w.label->setWordWrap(true);

    for (const ButtonSpec* b : {&layout.first, &layout.second}) {
        if (!b->name)
            continue;
        const RoleSpec& role = SpecOf(b->role);
        auto* button = new QPushButton(sheet);
        button->setObjectName(QString::fromLatin1(b->name));
        button->setGeometry(b->left, ButtonTop, ButtonWidth, ButtonHeight);
        button->setIcon(LazyIcon(QString::fromLatin1(role.glyph)));
        button->setIconSize(QSize(GlyphSize, GlyphSize));
        const int result = role.modalResult;
        connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
        if (role.isDefault)
            w.defaultButton = button;
        if (role.isCancel)
            w.cancelButton = button;
        if (role.modalResult == 6)
            w.yesButton = button;
        else if (role.isCancel)
            w.noButton = button;
        else
            button->setText(QStringLiteral("OK"));
    }
    pages_->addWidget(sheet);
}

int TYesNoDlg::ActivePage() const { return pages_->currentIndex() + 1; }

int TYesNoDlg::ShowModal(int page)
{
    if (page >= won && page <= lost)
        pages_->setCurrentIndex(page - 1);
    modalResult_ = exec();
    return modalResult_;
}

void TYesNoDlg::FormActivate()
{
    const int language = state_.Language;
    const Words& words = language == 1 ? German : language == 2 ? French : English;
    for (int page = 1; page <= PageCount; ++page) {
        const PageSpec& layout = Pages[page - 1];
        PageWidgets& w = widgets_[static_cast<std::size_t>(page - 1)];
        const char* text = language == 1 ? layout.german : language == 2 ? layout.french : layout.english;
        // Pages without a French text show an empty label rather than a leftover of another language.
        w.label->setText(text ? QString::fromUtf8(text) : QString());
        if (w.yesButton)
            w.yesButton->setText(QString::fromUtf8(words.yes));
        if (w.noButton)
            w.noButton->setText(QString::fromUtf8(words.no));
    }
}

void TYesNoDlg::showEvent(QShowEvent* event)
{
    FormActivate();
    CentreWindow(*this, mainForm_);
    // One default button per dialog: the page being shown decides which.
    if (QPushButton* button = widgets_[static_cast<std::size_t>(ActivePage() - 1)].defaultButton) {
        button->setDefault(true);
        button->setFocus();
    }
    QDialog::showEvent(event);
}

void TYesNoDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        // Escape presses the page's cancel button; a page without one ignores it.
        if (QPushButton* button = widgets_[static_cast<std::size_t>(ActivePage() - 1)].cancelButton)
            button->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TYesNoDlg::reject() { done(2); }

} // namespace zq
