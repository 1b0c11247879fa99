// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CanvasWidget.h"
#include "ProgramState.h"
#include "TIniStore.h"

namespace zq {

// The small floating window with the current Quarvel's silhouette, its number
// and whether it is finished. It stays on top, has no buttons and takes no
// input; the player may drag it, and it comes back where it was left.
class TPatForm : public CanvasWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 181;
    static constexpr int ClientHeight = 120;
    static constexpr int DefaultLeft = 500;
    static constexpr int DefaultTop = 50;

    // Places itself from the settings and shows itself at once; it goes and
    // comes back with the owner when that is minimised and restored.
    TPatForm(ProgramState& state, TIniStore& ini, QWidget* owner = nullptr);
    // Writes the window's position back to the settings.
    ~TPatForm() override;

    // Draws the silhouette and sets the caption, on the screen at once.
    void Repaint();

    // The caption for the current Quarvel and language.
    QString Caption() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    // The target stays in view for the whole run, even where a window manager offers a close button.
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormDestroy();
    void FormPaint(zq::Canvas& canvas);

    ProgramState& state_;
    TIniStore& ini_;
};

} // namespace zq
