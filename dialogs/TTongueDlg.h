// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/ProgramState.h"

#include <QDialog>

class QPushButton;

namespace zq {

// Asks the player for German or English. Each button sets the program's
// language and closes with 1; the close box leaves the language as it was (2);
// Escape does nothing, since the player has to choose.
class TTongueDlg : public QDialog {
    Q_OBJECT
public:
    TTongueDlg(ProgramState& state, QWidget* mainForm);

    int ShowModal();

    void EnglishBtnClick();
    void GermanBtnClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

public slots:
    void reject() override;

private:
    ProgramState& state_;
    QWidget* mainForm_;
    QPushButton* englishBtn_ = nullptr;
};

} // namespace zq
