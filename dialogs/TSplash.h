// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QTimer;

namespace zq {

// The title picture shown at start-up. A click closes it, and so does every
// tick of Timer1, which runs from creation to the end of the program: shown
// modally, the splash therefore stays up at most one timer interval.
class TSplash : public QDialog {
    Q_OBJECT
public:
    static constexpr int Interval = 3000; // ms

    explicit TSplash(QWidget* parent = nullptr);

    int ShowModal();
    // Closes the splash if it is shown; otherwise nothing happens.
    void Click();

protected:
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTimer* timer1_ = nullptr;
    QLabel* image_ = nullptr;
};

} // namespace zq
