// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zq::sounds {

// Builds a RIFF WAVE image of 8-bit mono PCM: "fmt ", "data" and, when the
// image must be larger than that, a LIST/INFO chunk naming the sound that
// fills it to the exact size.
class WaveFile {
public:
    static constexpr int SampleRate = 22050;
    static constexpr std::size_t HeaderBytes = 44; // RIFF + WAVE + fmt chunk + data header

    // Throws std::invalid_argument when the samples and the name cannot fill imageSize exactly.
    static std::vector<std::uint8_t> Build(const std::vector<std::uint8_t>& samples, const std::string& name,
                                           const std::string& comment, std::size_t imageSize);
};

} // namespace zq::sounds
