// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zq {

// Direction of a screen vector (dy grows downward) in radians, 0 <= a < 2 pi,
// counter-clockwise as seen on the screen; the zero vector gives pi / 2.
long double PointAngle(long double dx, long double dy);

} // namespace zq
