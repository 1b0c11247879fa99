// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/settings/TIniStore.h"
#include "platform/placement/WindowPlacement.h"

#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>
#include <string>

class QWidget;

namespace zq {

// Where a window of that outer size whose stored top-left corner is `stored`
// goes: within the primary screen's area for windows (see
// PlacementText::FitToArea), for windows that keep only their position.
QPoint OnScreen(const QPoint& stored, const QSize& frame);

// Brings the main window back at the place, size and state it was left in.
// The owner calls Restore() just before the window is first shown and Save()
// when it is being destroyed (hidden, but still existing).
class TFormPlacement : public QObject {
    Q_OBJECT

public:
    TFormPlacement(QWidget& form, TIniStore& store, QObject* parent = nullptr);

    std::string Section = "Common";
    std::string IniKey = "MainForm";

    // Applies the stored placement, or centres the window on the primary
    // screen when none is stored; the size set before then counts as the
    // outer size, frame included, as a stored rectangle does. A stored field that is not a number raises
    // SettingsError before the window is touched.
    void Restore();
    // Stores the normal rectangle and state, and removes the colour and font
    // values that older versions kept beside it.
    void Save();

    // The window's placement as Save() would store it.
    WindowPlacement Current() const;
    // The placement of a window whose frame in the normal state has these margins.
    static WindowPlacement Capture(const QWidget& form, const QMargins& normalFrame);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& form_;
    TIniStore& store_;
    void PlaceFrame(const QRect& frame);
    void Centre(const QRect& screenArea);

    // What Restore asked for while the frame's thickness was not yet known:
    // the outer rectangle at frameTopLeft of the size set, or centring.
    struct Pending {
        QSize size;
        QPoint frameTopLeft;
        bool centre = false;
    };
    std::optional<Pending> pending_;
    // The frame's thickness last seen in the normal state, and the one assumed
    // when restoring; a maximised window's own frame differs from both.
    std::optional<QMargins> normalMargins_;
    std::optional<QMargins> restoreMargins_;
};

} // namespace zq
