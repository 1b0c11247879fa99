// SPDX-License-Identifier: GPL-3.0-or-later
// A game file of any content read for a library of any size.
#include "engine/GameFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace zq;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const int puzzleCount = in.ConsumeIntegralInRange(-2, 1002);
    const std::uint8_t mark = in.ConsumeIntegral<std::uint8_t>();
    const std::vector<std::uint8_t> file = in.ConsumeRemainingBytes<std::uint8_t>();

    std::array<std::uint8_t, 1001> progress{};
    progress.fill(mark);
    ReadProgress(file, puzzleCount, progress);
    const int count = puzzleCount < 0 ? 0 : puzzleCount > 1000 ? 1000 : puzzleCount;
    for (int i = 0; i <= 1000; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const std::uint8_t expected = i == 0 || i > count ? mark : at <= file.size() ? file[at - 1] : 0;
        if (progress[at] != expected) {
            std::fprintf(stderr, "Quarvel %d: %d, expected %d\n", i, progress[at], expected);
            std::abort();
        }
    }
    return 0;
}
