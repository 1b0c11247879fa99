// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/canvas/Canvas.h"
#include "state/ProgramState.h"

#include <QDialog>
#include <QImage>

#include <functional>

class QComboBox;
class QFrame;
class QPushButton;
class QScrollBar;

namespace zq {

class CanvasWidget;
class TOwnDlg;

// The gallery: twelve thumbnails at a time, four across and three down,
// each with its number, its silhouette and, once finished, a face for the
// help it took. A click on one makes it the current Quarvel.
class TSelectDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 448;
    static constexpr int ClientHeight = 316;
    static constexpr int CellWidth = 100;  // thumbnail 90 plus a 10-pixel gap
    static constexpr int CellHeight = 85;  // thumbnail 75 plus a 10-pixel gap
    static constexpr int Columns = 4;
    static constexpr int Rows = 3;
    static constexpr int Cells = Columns * Rows;

    // The library must be loaded: the scroll range is fixed here.
    TSelectDlg(ProgramState& state, QWidget* mainForm, QWidget* parent = nullptr);

    // Shows the dialog modally: 1 after a pick (CurrentPuzzle is set), 2 after Cancel, Escape or the close box.
    int ShowModal();

    void FormCreate();
    void FormActivate();
    void boxPaint(Canvas& canvas) const;
    void ScrollChange();
    // A press at (X, Y) of the gallery; a cell without a Quarvel picks nothing.
    void boxMouseDown(int X, int Y);
    void PrevBtnClick();
    void NextBtnClick();
    // The keys of the gallery: arrows move the selection, Page Up/Down page,
    // Home/End jump to the first or last Quarvel, Enter picks; returns whether used.
    bool boxKeyDown(int key);

    // The Quarvel the keys have selected; framed in the gallery.
    int Selected() const { return selected_; }

    // Number of the Quarvel under gallery point (X, Y), 0 for none.
    int QuarvelAt(int X, int Y) const;

    QScrollBar* Scroll() const { return Scroll_; }
    CanvasWidget* box() const { return box_; }
    QPushButton* PrevBtn() const { return PrevBtn_; }
    QPushButton* NextBtn() const { return NextBtn_; }
    QPushButton* CancelBtn() const { return CancelBtn_; }

    // Beside the gallery: which collection it shows (the shipped Quarvels, My
    // Quarvels, a collection file being played), and the management of My Quarvels.
    QComboBox* CollectionBox() const { return CollectionBox_; }
    QPushButton* OwnBtn() const { return OwnBtn_; }
    ProgramState::Collection Viewed() const { return view_; }
    void View(ProgramState::Collection c);
    // The My Quarvels window, made when first opened.
    TOwnDlg* OwnDlg();
    void OwnBtnClick();
    // Opens the editor on own Quarvel i (0: a new one), after the gallery has closed.
    // Unset, the gallery offers no editing.
    std::function<void(int)> OpenEditor;
    const QImage& FaceStrip() const { return sm_; }

public slots:
    void reject() override; // Cancel, Escape and the close box answer 2

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool Finished(int n) const;
    int Count() const { return state_.CountOf(view_); }
    void Pick(int n);
    void UpdateCollectionBox();
    void DrawCell(Canvas& canvas, int i, int n) const;
    void Select(int n);

    ProgramState& state_;
    QWidget* mainForm_;
    QImage sm_; // the face strip, 15 by 15 per help level, level 4 at the left

    QFrame* Bevel1_;
    CanvasWidget* box_;
    QScrollBar* Scroll_;
    QPushButton* PrevBtn_;
    QPushButton* NextBtn_;
    QPushButton* CancelBtn_;
    QComboBox* CollectionBox_;
    QPushButton* OwnBtn_;
    TOwnDlg* OwnDlg_ = nullptr;
    ProgramState::Collection view_ = ProgramState::Collection::Shipped;
    int selected_ = 1;
    int shownFirst_ = 1; // the scroll position the gallery was last drawn at
};

} // namespace zq
