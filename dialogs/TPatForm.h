// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/canvas/CanvasWidget.h"
#include "state/ProgramState.h"
#include "platform/settings/TIniStore.h"

#include <QFont>

#include <optional>

namespace zq {

// The small floating window with the current Quarvel's silhouette, its number
// and whether it is finished. It stays on top, has no buttons and takes no
// input; the player may drag it, and it comes back where it was left.
//
// It draws its own border and caption bar: window managers that ignore the
// request for no buttons would otherwise add close, minimise and maximise
// buttons and cut the caption short in so narrow a window.
class TPatForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 181;
    static constexpr int ClientHeight = 120;
    static constexpr int BorderWidth = 1;
    static constexpr int CaptionHeight = 18;
    static constexpr int DefaultLeft = 500;
    static constexpr int DefaultTop = 50;

    // Places itself from the settings. Without an owner it shows itself at once;
    // with one it shows itself when the owner is first activated, beside the owner
    // on a first run, and goes and comes back with the owner when that is
    // minimised and restored. It never takes the focus from the owner.
    TPatForm(ProgramState& state, TIniStore& ini, QWidget* owner = nullptr);
    // Writes the window's position back to the settings.
    ~TPatForm() override;

    // Draws the silhouette and sets the caption, on the screen at once.
    void Repaint();

    // The caption for the current Quarvel and language.
    QString Caption() const;

    // The client area's picture, brought up to date first.
    zq::Canvas& Canvas() { return client_->Canvas(); }
    // The client area: ClientWidth by ClientHeight below the caption bar.
    QRect ClientRect() const { return client_->geometry(); }
    // The caption bar, where a press starts a drag.
    QRect CaptionRect() const { return {BorderWidth, BorderWidth, ClientWidth, CaptionHeight}; }

    // Where a window of the given size goes beside the owner's frame: right of it,
    // else left, below or above, wholly inside the screen's free area and clear of
    // the owner; where no side has room, the place that covers least of the owner.
    static QPoint BesidePlace(const QRect& owner, QSize size, const QRect& screen);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // The target stays in view for the whole run, even where something asks it to close.
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormDestroy();
    void FormPaint(zq::Canvas& canvas);
    void ShowCaption(const QString& caption);
    void ShowByOwner();

    ProgramState& state_;
    TIniStore& ini_;
    CanvasWidget* client_;
    QString caption_;
    QFont captionFont_;
    // Where the pointer held the window, for a drag the window system does not carry out.
    std::optional<QPoint> dragGrip_;
    QWidget* owner_ = nullptr;
    bool placeStored_ = false;
    // Where the window stands, as stored at the end: the places the game gives it
    // and those the player carries it to.
    QPoint place_;
    bool carried_ = false;
    bool placeAskedAgain_ = false;
};

} // namespace zq
