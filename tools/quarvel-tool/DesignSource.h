// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PuzzleRecord.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zq::tool {

// The designed figures, read from a text file people can extend. A figure:
//
//   figure animal | Fish | Fisch
//   d#b
//   a#c
//   end
//
// The drawing's rows are 10-cell squares: '#' a whole square (two pieces), 'a'
// its lower right half, 'b' lower left, 'c' upper left, 'd' upper right, '.' or
// ' ' empty. Between the header and "end" there may also be
//   turn 45            the drawing turned onto the diagonal orientations
//                      (22 or -22: onto the two odd families)
//   piece X,Y X,Y X,Y  one more piece by its three corners, in cells from the
//                      drawing's top left corner (after the turn)
// A figure has exactly eight pieces; lines starting with '#' outside a figure
// are comments. The tool lays each figure centred on the board, in an order the
// pieces can be put down in.
struct Design {
    int line = 0; // of the header, for messages
    std::string category, english, german;
    PuzzleRecord record;
};

struct DesignSource {
    std::vector<Design> designs;
    std::vector<std::string> errors; // "line N: ..."

    static DesignSource Parse(std::string_view text);
    static DesignSource Read(const std::filesystem::path& file);
};

} // namespace zq::tool
