// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/sound/Pcm.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zq {

class SoundOutput;

// One sound of the bank: a whole RIFF WAVE image, decoded once when it is
// set so that playing costs nothing but starting the output.
class TWaveListItem {
public:
    // An image that fails the header check leaves the item empty.
    TWaveListItem(std::int32_t ident, std::vector<std::uint8_t> image, SoundOutput& output,
                  std::string description = {});
    ~TWaveListItem();
    // The output may read our samples while they play, so items stay put.
    TWaveListItem(const TWaveListItem&) = delete;
    TWaveListItem& operator=(const TWaveListItem&) = delete;

    std::int32_t Ident;
    std::string Description;

    bool IsEmpty() const { return image_.empty(); }
    std::span<const std::uint8_t> Image() const { return image_; }
    // The decoded samples; empty when the item is empty or its format cannot be played.
    const Pcm& Sound() const { return sound_; }

    // Stops our own sound first if it plays, then takes the new image.
    void SetImage(std::vector<std::uint8_t> image);

    // Starts the sound, cutting off whatever plays. False for an empty item,
    // without an output device, or when the output cannot play it.
    bool Play();
    // Stops playback if it is this item's sound that the output reads.
    void Stop();

private:
    SoundOutput& output_;
    std::vector<std::uint8_t> image_;
    Pcm sound_;
};

} // namespace zq
