// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;

namespace zq {

struct ProgramState;

// The About page: the program's name, version and licence.
class TAboutDlg : public QDialog {
    Q_OBJECT
public:
    TAboutDlg(ProgramState& state, QWidget* mainForm);

    int ShowModal();

private:
    ProgramState& state_;
    QWidget* mainForm_;
    QLabel* text_;
};

} // namespace zq
