// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PuzzleRecord.h"
#include "engine/QuarvelNames.h"

#include <filesystem>
#include <vector>

namespace zq::tool {

// A picture of many silhouettes side by side, each numbered and drawn the way
// the gallery draws its thumbnails (filled triangles through the vertices on a
// silver frame), scaled up so that a person can judge the library by eye.
class ContactSheet {
public:
    struct Options {
        int scale = 2;     // pixels per cell
        int columns = 10;
        int first = 1;     // number of the first Quarvel shown
        int count = 1000;  // at most this many
        const QuarvelNames* names = nullptr; // labels each named figure below its frame
        bool namedOnly = false;              // leaves out the figures without a name
    };

    // Returns false when the picture cannot be written.
    static bool Write(const std::vector<PuzzleRecord>& records, const std::filesystem::path& png, const Options& options);
};

} // namespace zq::tool
