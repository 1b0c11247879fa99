// SPDX-License-Identifier: GPL-3.0-or-later
#include "TPatForm.h"

#include "Geometry.h"
#include "ProgressByte.h"
#include "SettingsError.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QWindow>

#include <array>

namespace zq {

namespace {

constexpr const char* Section = "common";
constexpr int PixelsPerCell = 2;

// A settings failure is told to the player and the window goes on without it.
void Report(const SettingsError& error)
{
    if (QApplication::instance())
        QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Zibble Quarvel"), QString::fromUtf8(error.what()));
}

} // namespace

TPatForm::TPatForm(ProgramState& state, TIniStore& ini, QWidget* owner) : state_(state), ini_(ini)
{
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(ClientWidth, ClientHeight);
    OnPaint = [this](zq::Canvas& canvas) { FormPaint(canvas); };
    FormCreate();
    if (owner) {
        // Belonging to the main window, it is minimised and restored with it
        // instead of being left alone on the desktop. The window system learns
        // this when the window is shown, so both must exist by then; made after
        // the move, so that the stored position stays the frame's.
        owner->winId();
        winId();
        windowHandle()->setTransientParent(owner->windowHandle());
    }
    show();
}

TPatForm::~TPatForm() { FormDestroy(); }

void TPatForm::FormCreate()
{
    move(DefaultLeft, DefaultTop);
    try {
        const int left = ini_.ReadInteger(Section, "pleft", DefaultLeft);
        const int top = ini_.ReadInteger(Section, "ptop", DefaultTop);
        // Not checked against the screen: the player may keep it anywhere.
        move(left, top);
    } catch (const SettingsError& error) {
        Report(error);
    }
}

void TPatForm::FormDestroy()
{
    // A destructor must not throw: a position that cannot be stored is reported and lost.
    try {
        const QPoint at = pos();
        ini_.WriteInteger(Section, "pleft", at.x());
        ini_.WriteInteger(Section, "ptop", at.y());
    } catch (const SettingsError& error) {
        Report(error);
    }
}

QString TPatForm::Caption() const
{
    QString caption = QStringLiteral("Quarvel %1").arg(state_.CurrentPuzzle);
    const int n = state_.CurrentPuzzle;
    if (n < 0 || n > PuzzleLibrary::MaxPuzzles)
        return caption;
    const std::uint8_t progress = state_.Progress(n);
    if (!IsFinished(progress))
        return caption;
    const bool german = state_.Language == 1;
    if (EffectiveHelpLevel(progress) == 4)
        caption += german ? QStringLiteral(" - aufgegeben") : QStringLiteral(" - dropped");
    else
        caption += german ? QStringLiteral(" - gelöst") : QStringLiteral(" - solved");
    return caption;
}

void TPatForm::FormPaint(zq::Canvas& canvas)
{
    canvas.PenVisible = true;
    canvas.PenMode_ = zq::Canvas::PenMode::Copy;
    canvas.PenWidth = 1;
    canvas.PenColour = clBlack;
    canvas.BrushSolid = true;
    canvas.BrushColour = clSilver;
    canvas.FillRect(0, 0, ClientWidth, ClientHeight);

    // The solution itself, from the working copy: all pieces black, so overlaps need no care.
    canvas.BrushColour = clBlack;
    const PuzzleRecord& record = state_.Library[0];
    for (int j = 1; j <= PieceCount; ++j) {
        const PiecePlacement& p = record[j];
        const auto o = static_cast<std::size_t>(p.o.value());
        std::array<CanvasPoint, 3> points;
        for (std::size_t k = 0; k < 3; ++k)
            points[k] = {PixelsPerCell * (p.x + VertexX[k][o]), PixelsPerCell * (p.y + VertexY[k][o])};
        canvas.Polygon(points);
    }

    setWindowTitle(Caption());
}

void TPatForm::Repaint()
{
    CanvasWidget::Repaint();
    repaint();
}

// Every paint draws afresh, so the caption follows the Quarvel's state and the
// language at whatever repaint comes next.
void TPatForm::paintEvent(QPaintEvent* event)
{
    if (Canvas().Width() == width() && Canvas().Height() == height())
        FormPaint(Canvas());
    // Otherwise the canvas is resized and drawn by the base class first.
    CanvasWidget::paintEvent(event);
}

void TPatForm::closeEvent(QCloseEvent* event) { event->ignore(); }

} // namespace zq
