// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zq {

// Where the board box goes in a client area of the given size below a toolbar
// of the given height: square cells of the largest whole size that leaves at
// least one cell of margin on every side, the board centred in what remains.
struct BoardLayout {
    int CellSize = 0;
    int Left = 0;
    int Top = 0;
    int Width = 1;
    int Height = 1;

    static constexpr BoardLayout For(int clientWidth, int clientHeight, int toolbarHeight)
    {
        BoardLayout l;
        const int below = clientHeight - toolbarHeight;
        const int cw = clientWidth / 93;
        const int ch = below / 63;
        l.CellSize = cw < ch ? cw : ch;
        if (l.CellSize < 0)
            l.CellSize = 0;
        l.Left = (clientWidth - l.CellSize * 91) / 2;
        l.Top = (below - l.CellSize * 61) / 2 + toolbarHeight;
        l.Width = l.CellSize * 91 + 1;
        l.Height = l.CellSize * 61 + 1;
        return l;
    }
};

static_assert(BoardLayout::For(945, 673, 33).CellSize == 10);
static_assert(BoardLayout::For(945, 673, 33).Left == 17);
static_assert(BoardLayout::For(945, 673, 33).Top == 48);
static_assert(BoardLayout::For(945, 673, 33).Width == 911);

} // namespace zq
