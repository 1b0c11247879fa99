// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/WaveImage.h"

#include <algorithm>
#include <cstring>

namespace zq {

namespace {
bool TagAt(std::span<const std::uint8_t> image, std::size_t at, const char* tag)
{
    return image.size() >= at + 4 && std::memcmp(image.data() + at, tag, 4) == 0;
}

std::uint32_t Read16(std::span<const std::uint8_t> image, std::size_t at)
{
    return static_cast<std::uint32_t>(image[at]) | static_cast<std::uint32_t>(image[at + 1]) << 8;
}

std::uint32_t Read32(std::span<const std::uint8_t> image, std::size_t at)
{
    return Read16(image, at) | Read16(image, at + 2) << 16;
}
} // namespace

bool HasWaveHeader(std::span<const std::uint8_t> image)
{
    return TagAt(image, 0, "RIFF") && TagAt(image, 8, "WAVE") && TagAt(image, 12, "fmt ");
}

std::optional<Pcm> DecodeWave(std::span<const std::uint8_t> image)
{
    if (!HasWaveHeader(image))
        return std::nullopt;

    // The header check puts "fmt " first, so the format is known before any data.
    Pcm pcm;
    std::size_t blockAlign = 1;
    std::size_t at = 12;
    while (image.size() - at >= 8) {
        const std::size_t size = Read32(image, at + 4);
        const std::size_t body = at + 8;
        const std::size_t available = image.size() - body;
        if (TagAt(image, at, "fmt ")) {
            if (size < 16 || available < 16)
                return std::nullopt;
            const std::uint32_t tag = Read16(image, body);
            pcm.Channels = static_cast<int>(Read16(image, body + 2));
            pcm.SampleRate = static_cast<int>(std::min<std::uint32_t>(Read32(image, body + 4), 1'000'000));
            blockAlign = Read16(image, body + 12);
            pcm.BitsPerSample = static_cast<int>(Read16(image, body + 14));
            if (tag != 1 || pcm.Channels < 1 || pcm.SampleRate < 1
                || (pcm.BitsPerSample != 8 && pcm.BitsPerSample != 16)
                || blockAlign != static_cast<std::size_t>(pcm.Channels * pcm.BitsPerSample / 8))
                return std::nullopt;
        } else if (TagAt(image, at, "data")) {
            std::size_t take = std::min(size, available);
            take -= take % blockAlign;
            const auto first = image.begin() + static_cast<std::ptrdiff_t>(body);
            pcm.Samples.assign(first, first + static_cast<std::ptrdiff_t>(take));
            return pcm;
        }
        if (size >= available)
            break;
        at = body + size + (size & 1); // chunks are word aligned
    }
    return std::nullopt;
}

} // namespace zq
