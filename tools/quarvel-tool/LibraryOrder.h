// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace zq::tool {

// Orders the library: the easiest designed figures first, then designed and
// grown figures interleaved, each kind in the order of its scores, so that the
// median score of every block never falls and designed figures come all the
// way through (at least one in four of the first 300), designs of one kind
// not side by side where another nearly as easy can come between.
struct LibraryOrder {
    struct Item {
        double score = 0;
        bool designed = false;
        int orientationClass = 0; // the first hundred stay along the grid
        bool compact = true;      // the first hundred grown figures are compact
        int kind = 0;             // a design's category: neighbours differ where they can
    };

    // The order as indices into items.
    static std::vector<int> Make(const std::vector<Item>& items);
};

} // namespace zq::tool
