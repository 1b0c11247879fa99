// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace zq {

// One byte of progress per Quarvel: bits 0-2 the help level, bit 3 finished.
inline constexpr std::uint8_t FinishedBit = 8;

constexpr bool IsFinished(std::uint8_t progress) { return (progress & FinishedBit) != 0; }
constexpr int HelpLevel(std::uint8_t progress) { return progress & 7; }

// Help levels 5 to 7 only come from damaged game files; they are read as the
// level that reveals everything, so that no more than eight pieces are laid.
constexpr int EffectiveHelpLevel(std::uint8_t progress) { return HelpLevel(progress) > 4 ? 4 : HelpLevel(progress); }

} // namespace zq
