// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/canvas/CanvasWidget.h"

#include <QFont>

namespace zq {

// A horizontal progress bar: the fore colour fills the done part from the
// left, the back colour the rest, and the percentage stands in the middle,
// inverted so that it reads over both parts.
class TGauge : public CanvasWidget {
    Q_OBJECT
public:
    explicit TGauge(QWidget* parent = nullptr);

    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    int Progress() const { return progress_; }
    Colour ForeColor() const { return fore_; }
    Colour BackColor() const { return back_; }

    // The minimum never rises above the maximum and vice versa; Progress
    // follows a bound that moves past it and is always kept between them.
    void SetMinValue(int value);
    void SetMaxValue(int value);
    void SetProgress(int value);
    void SetForeColor(Colour colour);
    void SetBackColor(Colour colour);
    void SetTextFont(const QFont& font);

    // trunc(100 * (Progress - MinValue) / (MaxValue - MinValue)), 0 for an empty range.
    int PercentDone() const;
    // How many columns from the left the fore colour covers for a given width.
    static int FilledWidth(int width, int percent);

    void Paint(zq::Canvas& canvas) const;

private:
    int min_ = 0;
    int max_ = 100;
    int progress_ = 0;
    Colour fore_ = clBlack;
    Colour back_ = clWhite;
    QFont font_;
};

} // namespace zq
