// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace zq {

// Decoded PCM, ready for an output device: the data chunk's bytes as stored
// (interleaved; 8-bit unsigned or 16-bit signed little-endian samples).
struct Pcm {
    int SampleRate = 0;
    int Channels = 0;
    int BitsPerSample = 0;
    std::vector<std::uint8_t> Samples;

    bool Empty() const { return Samples.empty(); }
};

} // namespace zq
