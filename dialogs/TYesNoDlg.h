// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/ProgramState.h"

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;
class QStackedWidget;

namespace zq {

// The game's one message dialog: nine prepared pages, each with a message, a
// picture and one or two buttons. The caller names a page, the dialog shows it
// modally and the caller reads the modal result (1 OK, 2 Cancel, 6 Yes, 7 No).
// Texts follow the current language at every showing.
class TYesNoDlg : public QDialog {
    Q_OBJECT
public:
    enum Page : int { won = 1, restart, endgame, giveup, toslow, allsolved, gameover, nextlevel, lost };
    static constexpr int PageCount = 9;

    TYesNoDlg(ProgramState& state, QWidget* mainForm);

    // 1..9 select the page; any other number shows the page that was shown last.
    int ShowModal(int page);
    int ModalResult() const { return modalResult_; }
    int ActivePage() const;

    // Writes the labels and the Yes/No captions for the current language.
    void FormActivate();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

public slots:
    // The close box: Cancel, whatever the page.
    void reject() override;

private:
    struct PageWidgets {
        QLabel* label = nullptr;
        QPushButton* defaultButton = nullptr; // answers Enter
        QPushButton* cancelButton = nullptr;  // answers Escape; none on the OK pages
        QPushButton* yesButton = nullptr;
        QPushButton* noButton = nullptr;
    };

    void BuildPage(int page, const QIcon& icon);

    ProgramState& state_;
    QWidget* mainForm_;
    QStackedWidget* pages_ = nullptr;
    std::array<PageWidgets, PageCount> widgets_{};
    int modalResult_ = 0;
};

} // namespace zq
