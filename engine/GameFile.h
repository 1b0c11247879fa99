// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace zq {

// Reads a game file's bytes into the progress array: byte i - 1 is Quarvel i's
// progress for i = 1..puzzleCount, Quarvels the file has no byte for become 0,
// bytes beyond puzzleCount are ignored. Elements 0 and above puzzleCount are
// left alone; a count outside 0..1000 is brought into it.
void ReadProgress(std::span<const std::uint8_t> bytes, int puzzleCount, std::array<std::uint8_t, 1001>& progress);

} // namespace zq
