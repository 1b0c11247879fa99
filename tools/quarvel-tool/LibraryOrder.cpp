// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/quarvel-tool/LibraryOrder.h"

#include "engine/figures/LibraryChecker.h"

#include <algorithm>
#include <map>
#include <numeric>

namespace zq::tool {

namespace {

std::vector<int> SortedBy(const std::vector<LibraryOrder::Item>& items, bool designed)
{
    std::vector<int> out;
    for (int i = 0; i < static_cast<int>(items.size()); ++i)
        if (items[static_cast<std::size_t>(i)].designed == designed)
            out.push_back(i);
    std::stable_sort(out.begin(), out.end(), [&](int a, int b) {
        return items[static_cast<std::size_t>(a)].score < items[static_cast<std::size_t>(b)].score;
    });
    return out;
}

// Five people or five letters in a row tire: among the next few designs by score,
// take one whose kind differs from the last taken, the kind with most left
// first, so that no kind is left over for a run at the end.
std::vector<int> MixKinds(const std::vector<LibraryOrder::Item>& items, std::vector<int> run, std::size_t window)
{
    auto kind = [&](int i) { return items[static_cast<std::size_t>(i)].kind; };
    std::map<int, int> left;
    for (const int i : run)
        ++left[kind(i)];
    std::vector<int> out;
    while (!run.empty()) {
        auto rank = [&](std::size_t k) {
            const int c = kind(run[k]);
            return std::pair{out.empty() || c != kind(out.back()), left[c]};
        };
        std::size_t pick = 0; // the easiest opens the run
        for (std::size_t k = 1; !out.empty() && k < std::min(window, run.size()); ++k)
            if (rank(k) > rank(pick))
                pick = k;
        --left[kind(run[pick])];
        out.push_back(run[pick]);
        run.erase(run.begin() + static_cast<std::ptrdiff_t>(pick));
    }
    return out;
}

// Interleaves two sorted runs evenly: each element takes the place of its share.
void Merge(const std::vector<int>& a, const std::vector<int>& b, std::vector<int>& out)
{
    std::size_t i = 0, k = 0;
    while (i < a.size() || k < b.size()) {
        // Compare (i + 0.5) / |a| with (k + 0.5) / |b| without division.
        const bool takeA = k >= b.size() ||
                           (i < a.size() && (2 * i + 1) * b.size() <= (2 * k + 1) * a.size());
        out.push_back(takeA ? a[i++] : b[k++]);
    }
}

bool Early(const LibraryOrder::Item& it)
{
    return it.orientationClass == 0 && (it.designed || it.compact);
}

} // namespace

std::vector<int> LibraryOrder::Make(const std::vector<Item>& items)
{
    std::vector<int> designed = MixKinds(items, SortedBy(items, true), 6);
    const std::vector<int> grown = SortedBy(items, false);
    const std::size_t total = items.size();
    // The first twenty: the easiest designs; then, up to 300, enough designs for
    // one in four; the rest share the remainder evenly.
    const std::size_t first = std::min<std::size_t>(designed.size(), LibraryChecker::NamedFirst);
    const std::size_t span = std::min<std::size_t>(total, LibraryChecker::NamedShareCount);
    const std::size_t designsEarly = std::min(designed.size(), std::max(first, (span + 3) / 4));
    // The late designs stand one in twenty or so, where the grown figures set the
    // medians: mix their kinds harder, else the hardest kind fills the last blocks.
    const auto late = designed.begin() + static_cast<std::ptrdiff_t>(designsEarly);
    const std::vector<int> lateMixed = MixKinds(items, std::vector<int>(late, designed.end()), 12);
    std::copy(lateMixed.begin(), lateMixed.end(), late);
    std::vector<int> order(designed.begin(), designed.begin() + static_cast<std::ptrdiff_t>(first));
    const std::size_t grownEarly = std::min(grown.size(), span - std::min(span, designsEarly));
    Merge(std::vector<int>(designed.begin() + static_cast<std::ptrdiff_t>(first),
                           designed.begin() + static_cast<std::ptrdiff_t>(designsEarly)),
          std::vector<int>(grown.begin(), grown.begin() + static_cast<std::ptrdiff_t>(grownEarly)), order);
    Merge(std::vector<int>(designed.begin() + static_cast<std::ptrdiff_t>(designsEarly), designed.end()),
          std::vector<int>(grown.begin() + static_cast<std::ptrdiff_t>(grownEarly), grown.end()), order);

    auto score = [&](std::size_t pos) { return items[static_cast<std::size_t>(order[pos])].score; };
    // The first hundred: only figures along the grid (and compact grown ones);
    // one that is not swaps with the nearest later one of its kind that is.
    for (std::size_t p = 0; p < std::min<std::size_t>(total, LibraryChecker::CompactCount); ++p) {
        if (Early(items[static_cast<std::size_t>(order[p])]))
            continue;
        for (std::size_t q = LibraryChecker::CompactCount; q < total; ++q) {
            const Item& c = items[static_cast<std::size_t>(order[q])];
            if (Early(c) && c.designed == items[static_cast<std::size_t>(order[p])].designed) {
                std::swap(order[p], order[q]);
                break;
            }
        }
    }
    // Repair falling medians: move the hardest of the earlier block behind the
    // easiest of the later one, of the same kind where possible, until none falls.
    const std::size_t block = LibraryChecker::BlockSize;
    for (int round = 0; round < 100000; ++round) {
        std::vector<double> scores(total);
        for (std::size_t p = 0; p < total; ++p)
            scores[p] = score(p);
        const std::vector<double> med = LibraryChecker::BlockMedians(scores);
        std::size_t b = 1;
        while (b < med.size() && med[b] >= med[b - 1])
            ++b;
        if (b >= med.size())
            break;
        const std::size_t lo = (b - 1) * block, mid = b * block, hi = std::min(total, mid + block);
        // The hardest of block b-1 outside the protected first places, the easiest of block b.
        std::size_t hard = lo, easy = mid;
        for (std::size_t p = lo; p < mid; ++p)
            if (p >= LibraryChecker::NamedFirst && (hard < LibraryChecker::NamedFirst || score(p) > score(hard)))
                hard = p;
        for (std::size_t p = mid; p < hi; ++p)
            if (score(p) < score(easy))
                easy = p;
        if (score(hard) <= score(easy))
            break; // cannot happen with a falling median; stop rather than loop
        const bool earlyOk = mid >= LibraryChecker::CompactCount || Early(items[static_cast<std::size_t>(order[easy])]);
        if (!earlyOk)
            break;
        std::swap(order[hard], order[easy]);
    }
    return order;
}

} // namespace zq::tool
