// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/PointAngle.h"

#include <cmath>
#include <numbers>

namespace zq {

long double PointAngle(long double dx, long double dy)
{
    constexpr long double pi = std::numbers::pi_v<long double>;
    const long double X = dx;
    const long double Y = -dy; // screen y points down; angles count with y up
    if (X == 0)
        return Y < 0 ? 3 * pi / 2 : pi / 2;
    if (X > 0)
        return Y >= 0 ? std::atan(Y / X) : 2 * pi - std::atan(-Y / X);
    return Y >= 0 ? pi - std::atan(Y / -X) : pi + std::atan(Y / X);
}

} // namespace zq
