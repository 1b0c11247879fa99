// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TSelectDlg.h"
#include "dialogs/NameTips.h"

#include "resources/ArtResources.h"
#include "platform/canvas/CanvasWidget.h"
#include "engine/Geometry.h"
#include "dialogs/OverMainPlacement.h"
#include "state/ProgramState.h"
#include "engine/ProgressByte.h"
#include "dialogs/SmallSansFont.h"
#include "platform/services/Glyphs.h"
#include "platform/services/RawPicture.h"

#include "dialogs/TOwnDlg.h"
#include "platform/services/FileNames.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QMessageBox>
#include <QTimer>
#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QScrollBar>

#include <algorithm>
#include <array>

namespace zq {

TSelectDlg::TSelectDlg(ProgramState& state, QWidget* mainForm, QWidget* parent)
    : QDialog(parent), state_(state), mainForm_(mainForm)
{
    initArtResources();
    sm_ = ReadRawPicture(QStringLiteral(":/art/faces.pix")).convertToFormat(QImage::Format_RGB32);
    setObjectName(QStringLiteral("SelectDlg"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    setFont(SmallSansFont::Make());

    Bevel1_ = new QFrame(this);
    Bevel1_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1_->setGeometry(8, 8, 417, 268);

    box_ = new CanvasWidget(this);
    box_->setGeometry(20, 20, 397, 249);
    box_->OnPaint = [this](Canvas& c) {
        // The gaps between the thumbnails show the dialog beneath.
        c.BrushSolid = true;
        c.BrushColour = FromQRgb(palette().color(QPalette::Window).rgb());
        c.FillRect(0, 0, c.Width(), c.Height());
        boxPaint(c);
    };
    box_->OnMouseDown = [this](QMouseEvent* e) {
        const QPoint p = e->position().toPoint();
        boxMouseDown(p.x(), p.y());
    };
    box_->setFocusPolicy(Qt::StrongFocus);
    box_->OnKeyDown = [this](QKeyEvent* e) {
        if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        // The gallery keeps the arrows; Tab still goes on to the buttons.
        if (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab)
            return focusNextPrevChild(e->key() == Qt::Key_Tab);
        return boxKeyDown(e->key());
    };
    // The wheel pages over the thumbnails as it does over the scroll bar.
    box_->OnWheel = [this](QWheelEvent* e) { QApplication::sendEvent(Scroll_, e); };
    // A designed Quarvel's name heads the gallery's hint over its thumbnail.
    new NameTips(box_, [this](const QPoint& p) { return state_.NameOf(view_, QuarvelAt(p.x(), p.y())); });

    Scroll_ = new QScrollBar(Qt::Vertical, this);
    Scroll_->setGeometry(424, 9, 16, 266);
    Scroll_->setMinimum(1);
    Scroll_->setMaximum(1);
    Scroll_->setValue(1);
    Scroll_->setSingleStep(4);
    Scroll_->setPageStep(12);
    connect(Scroll_, &QScrollBar::valueChanged, this, [this] { ScrollChange(); });

    PrevBtn_ = new QPushButton(this);
    PrevBtn_->setGeometry(304, 284, 25, 25);
    PrevBtn_->setIcon(LazyIcon(QStringLiteral(":/art/prev.svg"), QStringLiteral(":/art/prev_disabled.svg")));
    PrevBtn_->setAutoDefault(false);
    connect(PrevBtn_, &QPushButton::clicked, this, [this] { PrevBtnClick(); });

    NextBtn_ = new QPushButton(this);
    NextBtn_->setGeometry(332, 284, 25, 25);
    NextBtn_->setIcon(LazyIcon(QStringLiteral(":/art/next.svg"), QStringLiteral(":/art/next_disabled.svg")));
    NextBtn_->setAutoDefault(false);
    connect(NextBtn_, &QPushButton::clicked, this, [this] { NextBtnClick(); });

    CancelBtn_ = new QPushButton(LazyIcon(QStringLiteral(":/art/cancel.svg")), QString(), this);
    CancelBtn_->setGeometry(364, 284, 75, 25);
    CancelBtn_->setAutoDefault(false);
    connect(CancelBtn_, &QPushButton::clicked, this, [this] { done(2); });

    // Below the gallery, left of the arrows, where nothing else is shown.
    CollectionBox_ = new QComboBox(this);
    CollectionBox_->setObjectName(QStringLiteral("CollectionBox"));
    CollectionBox_->setGeometry(8, 284, 150, 25);
    connect(CollectionBox_, &QComboBox::activated, this, [this](int index) {
        View(static_cast<ProgramState::Collection>(CollectionBox_->itemData(index).toInt()));
    });
    OwnBtn_ = new QPushButton(this);
    OwnBtn_->setObjectName(QStringLiteral("OwnBtn"));
    OwnBtn_->setGeometry(162, 284, 100, 25);
    OwnBtn_->setAutoDefault(false);
    connect(OwnBtn_, &QPushButton::clicked, this, [this] { OwnBtnClick(); });

    FormCreate();
}

int TSelectDlg::ShowModal() { return exec(); }

void TSelectDlg::reject() { done(2); }

void TSelectDlg::FormCreate()
{
    // The last position shows the last twelve Quarvels. A library of fewer
    // than twelve has the one position 1, and the empty cells pick nothing.
    Scroll_->setMaximum(std::max(1, Count() - (Cells - 1)));
}

void TSelectDlg::showEvent(QShowEvent* event)
{
    // Only the showing asked for by the game; the window system's own show
    // events (say after a restore from the task bar) must not reset the view.
    if (!event->spontaneous())
        FormActivate();
    QDialog::showEvent(event);
    // Each showing starts with the keys on the thumbnails.
    if (!event->spontaneous())
        box_->setFocus();
}

void TSelectDlg::FormActivate()
{
    OverMainPlacement::Apply(*this, mainForm_);

    const bool german = state_.German();
    setWindowTitle(german ? QString::fromUtf8("Quarvel wählen") : QStringLiteral("Select Quarvel"));
    CancelBtn_->setText(german ? QStringLiteral("Abbruch") : QStringLiteral("Cancel"));
    PrevBtn_->setToolTip(german ? QStringLiteral("Welches vorhergehende Quarvel hab ich noch nicht geschafft?")
                                : QStringLiteral("Which previous Quarvel I havn't solved yet?"));
    NextBtn_->setToolTip(german ? QStringLiteral("Welches folgende Quarvel hab ich noch nicht geschafft?")
                                : QStringLiteral("Which following Quarvel I havn't solved yet?"));
    box_->setToolTip(german ? QStringLiteral("Ein Mausklick und schon gehts mit diesem Quarvel los.")
                            : QStringLiteral("A mouselick and the Quarvel is selected."));

    // Each showing starts with the collection on the board; it may have changed since the last one.
    view_ = state_.Playing;
    UpdateCollectionBox();
    FormCreate();
    // The scroll bar keeps the position in its range: a late Quarvel shows the last twelve.
    const int before = Scroll_->value();
    selected_ = std::clamp(state_.CurrentPuzzle, 1, std::max(1, Count()));
    Scroll_->setValue(state_.CurrentPuzzle);
    if (Scroll_->value() == before)
        ScrollChange(); // progress may have changed since the last showing

}

void TSelectDlg::UpdateCollectionBox()
{
    const bool german = state_.German();
    CollectionBox_->clear();
    CollectionBox_->addItem(german ? QStringLiteral("Mitgelieferte Quarvels") : QStringLiteral("Shipped Quarvels"),
                            static_cast<int>(ProgramState::Collection::Shipped));
    CollectionBox_->addItem(german ? QStringLiteral("Meine Quarvels") : QStringLiteral("My Quarvels"),
                            static_cast<int>(ProgramState::Collection::Own));
    if (state_.Playing == ProgramState::Collection::File)
        CollectionBox_->addItem(ShownFileName(QFileInfo(state_.Loose.File).fileName()),
                                static_cast<int>(ProgramState::Collection::File));
    CollectionBox_->setCurrentIndex(CollectionBox_->findData(static_cast<int>(view_)));
    CollectionBox_->setToolTip(german ? QStringLiteral("Welche Quarvels die Galerie zeigt")
                                      : QStringLiteral("Which Quarvels the gallery shows"));
    OwnBtn_->setText(german ? QString::fromUtf8("Verwalten…") : QString::fromUtf8("Manage…"));
    OwnBtn_->setToolTip(german ? QStringLiteral("Eigene Quarvels bauen, umbenennen, ordnen, teilen")
                               : QStringLiteral("Make, rename, order and share your own Quarvels"));
    OwnBtn_->setVisible(view_ == ProgramState::Collection::Own);
}

void TSelectDlg::View(ProgramState::Collection c)
{
    if (c == ProgramState::Collection::Own) {
        // Read when first shown, not at start-up; a damaged file is reported here.
        if (const QString message = state_.LoadOwnOnce(); !message.isEmpty())
            QMessageBox::warning(this, QStringLiteral("Zibble Quarvel"), message);
    }
    view_ = c;
    UpdateCollectionBox();
    FormCreate();
    const int start = state_.CurrentOf(c);
    selected_ = std::clamp(start, 1, std::max(1, Count()));
    Scroll_->setValue(start);
    ScrollChange();
}

TOwnDlg* TSelectDlg::OwnDlg()
{
    if (!OwnDlg_)
        OwnDlg_ = new TOwnDlg(state_, this);
    return OwnDlg_;
}

void TSelectDlg::OwnBtnClick()
{
    TOwnDlg* dlg = OwnDlg();
    dlg->CanEdit = static_cast<bool>(OpenEditor);
    const int result = dlg->ShowModal(selected_);
    // The collection may have changed: shown afresh, at the figure last chosen there.
    FormCreate();
    if (dlg->Chosen() > 0)
        selected_ = dlg->Chosen();
    selected_ = std::clamp(selected_, 1, std::max(1, Count()));
    Scroll_->setValue(selected_);
    ScrollChange();
    if (result == TOwnDlg::PlayResult && dlg->Chosen() > 0)
        Pick(dlg->Chosen());
    else if (result == TOwnDlg::EditResult && OpenEditor) {
        // The editor opens once the gallery is closed: it takes the main window's board.
        const int which = dlg->Chosen();
        done(2);
        QTimer::singleShot(0, this, [this, which] {
            if (OpenEditor)
                OpenEditor(which);
        });
    }
}

bool TSelectDlg::Finished(int n) const
{
    // An empty collection has nothing unfinished to go to.
    return n > Count() || IsFinished(state_.ProgressOf(view_, n));
}

void TSelectDlg::DrawCell(Canvas& canvas, int i, int n) const
{
    const int x0 = CellWidth * (i % Columns);
    const int y0 = CellHeight * (i / Columns);

    canvas.PenVisible = true;
    canvas.PenMode_ = Canvas::PenMode::Copy;
    canvas.PenWidth = 1;
    canvas.PenColour = clBlack;
    canvas.BrushSolid = true;
    canvas.BrushColour = clSilver;
    canvas.Rectangle(x0, y0, x0 + 90, y0 + 75);
    canvas.TextOut(x0 + 3, y0 + 1, QString::number(n), SmallSansFont::Make(true), clBlack);

    const std::uint8_t progress = state_.ProgressOf(view_, n);
    if (IsFinished(progress)) {
        // Levels 5..7 come only from a damaged file; they show the face of level 4, not a picture from outside the strip.
        const int level = EffectiveHelpLevel(progress);
        canvas.Draw(x0 + 73, y0 + 2, sm_, 15 * (4 - level), 0, 15, 15);
    }

    canvas.BrushColour = IsFinished(progress) ? clGrey : clBlack;
    const PuzzleRecord& record = state_.RecordOf(view_, n);
    for (int j = 1; j <= PieceCount; ++j) {
        const PiecePlacement& pl = record[j];
        const auto o = static_cast<std::size_t>(pl.o.value());
        std::array<CanvasPoint, 3> pts;
        for (std::size_t k = 0; k < 3; ++k)
            pts[k] = {x0 + pl.x + VertexX[k][o], y0 + 15 + pl.y + VertexY[k][o]};
        canvas.Polygon(pts);
    }
}

void TSelectDlg::boxPaint(Canvas& canvas) const
{
    const int first = Scroll_->value();
    if (Count() == 0) {
        const bool german = state_.German();
        // Two short lines: one long line would not fit the gallery in German.
        canvas.TextOut(8, 8, german ? QStringLiteral("Noch keine eigenen Quarvels.") : QStringLiteral("No Quarvels of your own yet."),
                       SmallSansFont::Make(true), clBlack);
        canvas.TextOut(8, 24,
                       german ? QStringLiteral("\u201EVerwalten\u2026\u201C baut oder importiert welche.")
                              : QStringLiteral("\u201CManage\u2026\u201D makes or imports some."),
                       SmallSansFont::Make(), clBlack);
        return;
    }
    for (int i = 0; i < Cells; ++i) {
        const int n = first + i;
        if (n > Count())
            continue;
        DrawCell(canvas, i, n);
    }
    // The selection: a blue frame, four pixels wide, two of them in the gap around the thumbnail.
    const int i = selected_ - first;
    if (i >= 0 && i < Cells && selected_ <= Count()) {
        const int x0 = CellWidth * (i % Columns);
        const int y0 = CellHeight * (i / Columns);
        canvas.BrushSolid = false;
        canvas.PenColour = 0xC80000; // blue
        for (int d = -2; d <= 1; ++d)
            canvas.Rectangle(x0 + d, y0 + d, x0 + 90 - d, y0 + 75 - d);
        canvas.BrushSolid = true;
    }
}

void TSelectDlg::ScrollChange()
{
    // Scrolled by the bar or the wheel, the selection keeps its place in the grid.
    const int first = Scroll_->value();
    if (selected_ < first || selected_ >= first + Cells)
        selected_ = std::min(first + std::clamp(selected_ - shownFirst_, 0, Cells - 1),
                             std::max(1, Count()));
    shownFirst_ = first;
    box_->Repaint();
}

void TSelectDlg::Select(int n)
{
    selected_ = std::clamp(n, 1, std::max(1, Count()));
    // Scrolled by whole rows, so that the columns stay as they were.
    int first = Scroll_->value();
    while (selected_ < first && first > Scroll_->minimum())
        first = std::max(first - Columns, Scroll_->minimum());
    while (selected_ >= first + Cells && first < Scroll_->maximum())
        first = std::min(first + Columns, Scroll_->maximum());
    if (first != Scroll_->value())
        Scroll_->setValue(first);
    else
        box_->Repaint();
}

bool TSelectDlg::boxKeyDown(int key)
{
    switch (key) {
    case Qt::Key_Left: Select(selected_ - 1); return true;
    case Qt::Key_Right: Select(selected_ + 1); return true;
    case Qt::Key_Up: Select(selected_ - Columns); return true;
    case Qt::Key_Down: Select(selected_ + Columns); return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        // A page on: the view moves by twelve and the selection with it, where there is room.
        const int step = key == Qt::Key_PageDown ? Cells : -Cells;
        const int to = selected_ + step;
        Scroll_->setValue(Scroll_->value() + step);
        Select(to);
        return true;
    }
    case Qt::Key_Home: Select(1); return true;
    case Qt::Key_End: Select(Count()); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (selected_ >= 1 && selected_ <= Count())
            Pick(selected_);
        return true;
    default: return false;
    }
}

int TSelectDlg::QuarvelAt(int X, int Y) const
{
    if (X < 0 || Y < 0 || X / CellWidth > Columns - 1 || Y / CellHeight > Rows - 1)
        return 0;
    // The whole 100 by 85 cell counts, gaps included.
    const int n = Scroll_->value() + X / CellWidth + Columns * (Y / CellHeight);
    return n <= Count() ? n : 0;
}

void TSelectDlg::boxMouseDown(int X, int Y)
{
    const int n = QuarvelAt(X, Y);
    if (n == 0)
        return;
    Pick(n);
}

void TSelectDlg::Pick(int n)
{
    // A pick in the other collection puts that collection on the board.
    if (view_ != state_.Playing)
        state_.Play(view_, n);
    state_.CurrentPuzzle = n;
    done(1);
}

void TSelectDlg::PrevBtnClick()
{
    int v = Scroll_->value();
    if (v > 1)
        --v;
    while (v > 1 && Finished(v))
        --v;
    if (!Finished(v)) {
        Scroll_->setValue(v);
        selected_ = v;
        box_->Repaint();
    }
}

void TSelectDlg::NextBtnClick()
{
    const int m = Scroll_->maximum();
    int v = Scroll_->value();
    if (v < m)
        ++v;
    while (v < m && Finished(v))
        ++v;
    if (!Finished(v)) {
        Scroll_->setValue(v);
        selected_ = v;
        box_->Repaint();
    }
}

} // namespace zq
