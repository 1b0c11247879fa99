// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/sound/Pcm.h"

#include <cstdint>
#include <optional>
#include <span>

namespace zq {

// The check an image must pass to become a bank item's sound: "RIFF" at 0,
// "WAVE" at 8 and "fmt " at 12.
bool HasWaveHeader(std::span<const std::uint8_t> image);

// Reads the "fmt " and "data" chunks of a RIFF WAVE image; other chunks are
// skipped. Only uncompressed PCM of 8 or 16 bits is accepted. A data chunk
// that claims more bytes than the image holds is cut to what is there, so a
// damaged image can never make us read past its end.
std::optional<Pcm> DecodeWave(std::span<const std::uint8_t> image);

} // namespace zq
