// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TStatDlg.h"

#include "resources/ArtResources.h"
#include "platform/canvas/CanvasWidget.h"
#include "dialogs/OverMainPlacement.h"
#include "state/ProgramState.h"
#include "dialogs/SmallSansFont.h"
#include "dialogs/StatTexts.h"
#include "dialogs/TGauge.h"
#include "platform/services/Glyphs.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include <cmath>
#include <span>

namespace zq {

namespace {

QFrame* LoweredBevel(QWidget* parent, int l, int t, int w, int h)
{
    auto* f = new QFrame(parent);
    f->setFrameStyle(QFrame::Box | QFrame::Sunken);
    f->setGeometry(l, t, w, h);
    return f;
}

QLabel* BoldLabel(QWidget* parent, int l, int t)
{
    auto* label = new QLabel(parent);
    label->setFont(SmallSansFont::Make(true));
    label->move(l, t);
    return label;
}

TGauge* Gauge(QWidget* parent, int l, int t, Colour fore)
{
    auto* g = new TGauge(parent);
    g->setGeometry(l, t, TStatDlg::BarLength, 18);
    g->SetBackColor(10526880);
    g->SetForeColor(fore);
    return g;
}

Colour FormColour(const QWidget& w) { return FromQRgb(w.palette().color(QPalette::Window).rgb()); }

} // namespace

TStatDlg::TStatDlg(ProgramState& state, QWidget* mainForm, QWidget* parent)
    : QDialog(parent), state_(state), mainForm_(mainForm)
{
    initArtResources();
    setObjectName(QStringLiteral("StatDlg"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    setFont(SmallSansFont::Make());

    // Bevels first, so that the rows' contents lie above their frames.
    Bevel2_ = LoweredBevel(this, 8, 8, 433, 69);
    Bevel1_ = LoweredBevel(this, 8, 84, 433, 109);
    Bevel3_ = LoweredBevel(this, 8, 200, 433, 69);

    L1_ = BoldLabel(this, 20, 20);
    G1_ = Gauge(this, 20, 44, 16744448);

    L2_ = BoldLabel(this, 20, 100);
    L2_->setWordWrap(true);
    L2_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    L2_->setFixedSize(401, 49);

    pieBox_ = new CanvasWidget(this);
    pieBox_->setGeometry(20, 156, 417, 29);
    // The bar box has no background of its own: the dialog shows through where no segment lies.
    pieBox_->OnPaint = [this](Canvas& c) {
        c.BrushSolid = true;
        c.BrushColour = FormColour(*this);
        c.FillRect(0, 0, c.Width(), c.Height());
        pieBoxPaint(c);
    };

    L3_ = BoldLabel(this, 20, 212);
    G2_ = Gauge(this, 20, 236, clGreen);

    OkBtn_ = new QPushButton(LazyIcon(QStringLiteral(":/art/smile_yellow.svg")), QStringLiteral("OK"), this);
    OkBtn_->setGeometry(368, 284, 75, 25);
    OkBtn_->setDefault(true);
    OkBtn_->setAutoDefault(true);
    connect(OkBtn_, &QPushButton::clicked, this, [this] { done(1); });
}

int TStatDlg::ShowModal() { return exec(); }

void TStatDlg::reject() { done(2); }

void TStatDlg::showEvent(QShowEvent* event)
{
    // Only the showing asked for by the game; the window system's own show
    // events (say after a restore from the task bar) must not reset the view.
    if (!event->spontaneous())
        FormActivate();
    QDialog::showEvent(event);
}

void TStatDlg::FormActivate()
{
    OverMainPlacement::Apply(*this, mainForm_);

    const int N = state_.Library.PuzzleCount;
    counts_ = StatCounts::Count(std::span(state_.ProgressBytes).subspan(1, static_cast<std::size_t>(N)));

    G1_->SetMaxValue(N);
    G1_->SetProgress(counts_.FinishedCount);
    G2_->SetMaxValue(4 * N);
    G2_->SetProgress(counts_.Points);

    const bool german = state_.German();
    setWindowTitle(StatTexts::Caption(german, StatTexts::GameName(state_.GameFileName)));
    L1_->setText(StatTexts::FinishedLine(german, counts_, N));
    L1_->adjustSize();
    L2_->setText(StatTexts::HelpLine(german, counts_));
    L3_->setText(StatTexts::PointsLine(german, counts_, N));
    L3_->adjustSize();

    pieBox_->Repaint();
}

int TStatDlg::RoundHalfEven(double v)
{
    const double r = std::floor(v);
    const double frac = v - r;
    int n = static_cast<int>(r);
    if (frac > 0.5 || (frac == 0.5 && n % 2 != 0))
        ++n;
    return n;
}

std::array<int, 5> TStatDlg::SegmentEnds(const StatCounts& counts)
{
    std::array<int, 5> end{};
    if (counts.FinishedCount <= 0)
        return end;
    const double scale = static_cast<double>(BarLength) / counts.FinishedCount;
    int start = 0;
    for (std::size_t h = 0; h < 4; ++h) {
        end[h] = RoundHalfEven(counts.LevelCount[h] * scale) + start + 1;
        start = end[h];
    }
    end[4] = BarLength;
    return end;
}

void TStatDlg::PaintBar(Canvas& canvas, const StatCounts& counts)
{
    if (counts.FinishedCount <= 0)
        return;
    const std::array<int, 5> end = SegmentEnds(counts);
    canvas.PenVisible = false;
    canvas.BrushSolid = true;
    for (std::size_t h = 0; h < 5; ++h) {
        if (counts.LevelCount[h] <= 0)
            continue;
        const int start = h == 0 ? 0 : end[h - 1];
        canvas.BrushColour = LevelColour[h];
        canvas.Rectangle(start, 0, end[h] + 1, 18);
    }
    canvas.PenVisible = true;
}

void TStatDlg::pieBoxPaint(Canvas& canvas) const { PaintBar(canvas, counts_); }

} // namespace zq
