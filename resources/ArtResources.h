// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zq {

// Registers the game's pictures under ":/art/" (for example ":/art/back.png")
// and, as raw pixels (platform/services/RawPicture.h), the toolbar's bitmaps
// under ":/glyphs/" and the bitmaps needed at start-up as ":/art/<name>.pix".
// They live in the static library zq_art, whose resource table the linker
// would drop unless something refers to it: call this once at start-up,
// before the first picture is loaded. Calling it again does no harm.
void initArtResources();

} // namespace zq
