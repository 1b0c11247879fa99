// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace zq {

// An icon whose files are read and drawn only when it is first painted or
// asked for a picture: dialogs built at start-up but shown much later then
// cost nothing until they appear. disabledFile, if given, is its disabled look.
QIcon LazyIcon(const QString& file, const QString& disabledFile = {});

// A bitmap icon from the raw picture base + ".pix" and, on a screen of scale
// above 1, base + "@2x.pix" drawn at twice the size.
QIcon BitmapIcon(const QString& base);

// The game's icon from its bitmaps at 16 to 256 pixels, each read when a size
// near it is first wanted. Needs the art resources registered.
QIcon GameIcon();

} // namespace zq
