// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/canvas/Canvas.h"
#include "dialogs/StatCounts.h"

#include <QDialog>

#include <array>

class QFrame;
class QLabel;
class QPushButton;

namespace zq {

struct ProgramState;
class CanvasWidget;
class TGauge;

// The statistics: finished Quarvels, the help they took and the points,
// counted afresh from the progress bytes at every showing.
class TStatDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 448;
    static constexpr int ClientHeight = 316;
    static constexpr int BarLength = 410;
    // Bar colours for help levels 0..4: green, yellow-green, yellow, orange, red.
    static constexpr std::array<Colour, 5> LevelColour = {65280, 65473, 2023679, 1997311, 255};

    TStatDlg(ProgramState& state, QWidget* mainForm, QWidget* parent = nullptr);

    // Shows the dialog modally: 1 from OK or Enter, 2 from Escape or the close box.
    int ShowModal();

    // Runs at every showing: placement, counts, gauges and texts.
    void FormActivate();
    void pieBoxPaint(Canvas& canvas) const;

    // Right ends of the five bar segments; a level without Quarvels still takes one pixel.
    static std::array<int, 5> SegmentEnds(const StatCounts& counts);
    static void PaintBar(Canvas& canvas, const StatCounts& counts);
    static int RoundHalfEven(double v);

    const StatCounts& Counts() const { return counts_; }
    QLabel* L1() const { return L1_; }
    QLabel* L2() const { return L2_; }
    QLabel* L3() const { return L3_; }
    TGauge* G1() const { return G1_; }
    TGauge* G2() const { return G2_; }
    CanvasWidget* pieBox() const { return pieBox_; }
    QPushButton* OkBtn() const { return OkBtn_; }

public slots:
    void reject() override; // Escape and the close box answer 2

protected:
    void showEvent(QShowEvent* event) override;

private:
    ProgramState& state_;
    QWidget* mainForm_;
    StatCounts counts_;

    QFrame* Bevel2_;
    QLabel* L1_;
    TGauge* G1_;
    QFrame* Bevel1_;
    QLabel* L2_;
    CanvasWidget* pieBox_;
    QFrame* Bevel3_;
    QLabel* L3_;
    TGauge* G2_;
    QPushButton* OkBtn_;
};

} // namespace zq
