// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

namespace zq {

// The dialogs' small font: the desktop's sans-serif face at 8 point on a
// 96 dpi screen, given in pixels so that pictures drawn into a canvas look
// the same whatever the resolution of the image they are drawn into.
class SmallSansFont {
public:
    static constexpr int PixelSize = 11;
    static QFont Make(bool bold = false);
};

} // namespace zq
