// SPDX-License-Identifier: GPL-3.0-or-later
// The board in the window: its size follows the window, and every drawing of pieces.
#include "game/TMainform.h"

#include "engine/BoardLayout.h"
#include "engine/Geometry.h"
#include "platform/canvas/CanvasWidget.h"

#include <QLineF>
#include <QPainter>
#include <QPolygonF>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <cmath>

namespace zq {

void TMainform::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A hint shown before the window grew would be left standing over the board.
    QToolTip::hideText();
    formResize();
}

void TMainform::formResize()
{
    toolPanel->setGeometry(0, 0, width(), ToolPanelHeight);
    // The editor's line goes under the board's frame; only where there is no room for it does the board give way.
    BoardLayout l = BoardLayout::For(width(), height(), ToolPanelHeight);
    if (const int bar = EditorBarHeight(); bar > 0 && l.Top + l.Height + 7 + bar > height())
        l = BoardLayout::For(width(), height() - bar, ToolPanelHeight);
    Engine.CellWidth = Engine.CellHeight = l.CellSize;
    box->setGeometry(l.Left, l.Top, l.Width, l.Height);
    PlaceEditorBar();
    formCanvas_.Resize(width(), height());
    FormPaint(formCanvas_);
    box->Repaint();
    update();
}

void TMainform::paintEvent(QPaintEvent*)
{
    if (formCanvas_.Width() != width() || formCanvas_.Height() != height()) {
        formCanvas_.Resize(width(), height());
        FormPaint(formCanvas_);
    }
    QPainter p(this);
    p.drawImage(QPoint(0, 0), formCanvas_.Image());
    if (!soundPrepared_) {
        soundPrepared_ = true;
        // Binding to the sound system would hold up the first paint, and left
        // to the first sound it would start that one late: do it in between,
        // once the other windows and the splash have had their first paint too.
        QTimer::singleShot(200, this, [this] {
            if (SoundBtn->isChecked()) {
                ReadSounds();
                waves.Output().Prepare();
            }
        });
        connect(SoundBtn, &QToolButton::toggled, this, [this](bool on) {
            if (on) {
                ReadSounds();
                waves.Output().Prepare();
            }
        });
    }
}

void TMainform::FormPaint(Canvas& c)
{
    if (!back.isNull())
        for (int x = 0; x <= c.Width() + 96; x += 96)
            for (int y = 0; y <= c.Height() + 96; y += 96)
                c.Draw(x, y, back);
    c.BrushSolid = false;
    c.PenVisible = true;
    c.PenMode_ = Canvas::PenMode::Copy;
    c.PenColour = clBlack;
    const int L = box->x(), T = box->y(), W = box->width(), H = box->height();
    c.PenWidth = 3;
    c.Rectangle(L - 4, T - 4, L + W + 4, T + H + 4);
    c.PenWidth = 1;
    c.Rectangle(L - 7, T - 7, L + W + 7, T + H + 7);
    c.Rectangle(L - 1, T - 1, L + W + 1, T + H + 1);
    c.Rectangle(0, ToolPanelHeight, c.Width(), c.Height());
    c.BrushSolid = true;
}

void TMainform::boxPaint(Canvas& c)
{
    // The pieces go onto the canvas being painted, which is the board's own except in checks.
    paintTarget_ = &c;
    c.PenMode_ = Canvas::PenMode::Copy;
    c.PenVisible = true;
    c.PenWidth = 1;
    c.BrushSolid = true;
    c.BrushColour = clSilver;
    c.PenColour = clSilver;
    c.Rectangle(0, 0, Engine.CellWidth * 91 + 1, Engine.CellHeight * 61 + 1);
    const Colour fill = Engine.PlayState == BoardEngine::Solved     ? clGreen
                        : Engine.PlayState == BoardEngine::Revealed ? clRed
                                                                    : clBlack;
    DrawPieces(fill, clGrey);
    liftedShown_.reset();
    if (Engine.SelectedPiece != 0)
        ShowLifted();
    paintTarget_ = nullptr;
}

void TMainform::ToggleLifted(const PiecePlacement& at)
{
    PiecePlacement& p = Engine.Placements[Engine.SelectedPiece];
    const PiecePlacement now = p;
    p = at;
    DrawPieceOutline(Engine.SelectedPiece, clYellow, true);
    const auto t = Triangle(Engine.SelectedPiece);
    p = now;
    // The outline alone vanishes where it runs along the grey edges of the
    // pieces around its own gap; the tint keeps the piece in view there too.
    BoardCanvas().XorPattern(t, clLiftTint);
}

void TMainform::ShowLifted()
{
    HideLifted();
    if (Engine.SelectedPiece == 0)
        return;
    liftedShown_ = Engine.Placements[Engine.SelectedPiece];
    ToggleLifted(*liftedShown_);
}

void TMainform::HideLifted()
{
    if (!liftedShown_ || Engine.SelectedPiece == 0)
        return;
    ToggleLifted(*liftedShown_);
    liftedShown_.reset();
}

void TMainform::SignalRefused()
{
    if (!refusalTimer_) {
        refusalTimer_ = new QTimer(this);
        refusalTimer_->setInterval(120);
        connect(refusalTimer_, &QTimer::timeout, this, [this] {
            if (--refusalTicks_ <= 0)
                refusalTimer_->stop();
            box->update();
        });
    }
    refusalTicks_ = 4;
    refusalTimer_->start();
    box->update();
}

// Over the picture on the screen, not in it, so nothing beneath needs restoring:
// the lifted piece washed green where it would fit and red where it would not, and
// after a refused put-down a red frame that blinks twice.
void TMainform::PaintOverlay(QPainter& painter)
{
    if (editor_)
        PaintEditorOverlay(painter);
    const int j = Engine.SelectedPiece;
    if (j == 0 || Engine.PlayState != BoardEngine::Playing)
        return;
    const PiecePlacement& p = Engine.Placements[j];
    QPolygonF triangle;
    for (const CanvasPoint& v : Triangle(j))
        triangle << QPointF(v.x + 0.5, v.y + 0.5);
    // The wash keeps two pixels off the edges, which stay the outline's own.
    const QLineF a(triangle[1], triangle[2]), b(triangle[2], triangle[0]), c(triangle[0], triangle[1]);
    const double perimeter = a.length() + b.length() + c.length();
    const QPointF centre = (a.length() * triangle[0] + b.length() * triangle[1] + c.length() * triangle[2]) / perimeter;
    const double area = std::abs((triangle[1].x() - triangle[0].x()) * (triangle[2].y() - triangle[0].y()) -
                                 (triangle[2].x() - triangle[0].x()) * (triangle[1].y() - triangle[0].y())) / 2;
    const double shrink = 1 - 2 / (2 * area / perimeter); // two pixels off an inradius
    QPolygonF wash;
    for (const QPointF& v : triangle)
        wash << centre + (v - centre) * shrink;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Engine.PieceFits(p.x, p.y, p.o) ? QColor(0, 200, 0, 100) : QColor(230, 0, 0, 110));
    if (shrink > 0)
        painter.drawPolygon(wash);
    if (!RefusalShowing())
        return;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolygon(triangle);
    painter.setPen(QPen(QColor(220, 0, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolygon(triangle);
}

Canvas& TMainform::BoardCanvas() { return paintTarget_ ? *paintTarget_ : box->Canvas(); }

std::array<CanvasPoint, 3> TMainform::Triangle(int j) const
{
    const PiecePlacement& p = Engine.Placements[j];
    const auto o = static_cast<std::size_t>(p.o.value());
    std::array<CanvasPoint, 3> t;
    for (std::size_t k = 0; k < 3; ++k)
        t[k] = {(VertexX[k][o] + p.x) * Engine.CellWidth, (VertexY[k][o] + p.y) * Engine.CellHeight};
    return t;
}

void TMainform::DrawPieceOutline(int j, Colour colour, bool xorMode)
{
    Canvas& c = BoardCanvas();
    c.PenVisible = true;
    c.PenWidth = 1;
    c.PenColour = colour;
    c.PenMode_ = xorMode ? Canvas::PenMode::Xor : Canvas::PenMode::Copy;
    const auto t = Triangle(j);
    const std::array<CanvasPoint, 4> ring{t[0], t[1], t[2], t[0]};
    c.Polyline(ring);
    c.PenMode_ = Canvas::PenMode::Copy;
    box->update();
}

void TMainform::DrawPiece(int j, Colour fillColour, Colour outlineColour)
{
    Canvas& c = BoardCanvas();
    c.PenVisible = true;
    c.PenWidth = 1;
    c.PenMode_ = Canvas::PenMode::Copy;
    c.PenColour = outlineColour;
    c.BrushSolid = true;
    c.BrushColour = fillColour;
    const auto t = Triangle(j);
    c.Polygon(t);
    box->update();
}

void TMainform::DrawPieces(Colour fillColour, Colour outlineColour)
{
    for (int j = 1; j <= PieceCount; ++j)
        if (j != Engine.SelectedPiece)
            DrawPiece(j, fillColour, outlineColour);
}

} // namespace zq
