// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/sound/SoundOutput.h"
#include "platform/sound/TWaveListItem.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zq {

// The sound bank: an ordered list of sounds addressed by position, played
// one at a time through its output. Game sound n is the item at position n - 1.
class TWaveList {
public:
    static constexpr int BuiltInCount = 6;

    // The six built-in sounds on the system's default audio output, linked in
    // directly (target zq_sound_qt).
    TWaveList();
    // An empty bank on the given output.
    explicit TWaveList(std::unique_ptr<SoundOutput> output);
    // Stops a sound still playing before the items go.
    ~TWaveList();
    TWaveList(const TWaveList&) = delete;
    TWaveList& operator=(const TWaveList&) = delete;

    // Replaces all items by the six built-in sounds, Ident 0..5 in order.
    void LoadBuiltInSounds();
    TWaveListItem& Add(std::int32_t ident, std::vector<std::uint8_t> image, std::string description = {});
    void Clear();

    int Count() const { return static_cast<int>(items_.size()); }
    TWaveListItem& Item(int position) { return *items_.at(static_cast<std::size_t>(position)); }
    const TWaveListItem& Item(int position) const { return *items_.at(static_cast<std::size_t>(position)); }

    // Plays the item at position; false for a position outside the list or when the item cannot play.
    bool Play(int position);
    void Stop();

    SoundOutput& Output() { return *output_; }

private:
    // Declared first so that it outlives the items, which stop it when they go.
    std::unique_ptr<SoundOutput> output_;
    // Held by pointer: the output reads an item's samples in place while they play.
    std::vector<std::unique_ptr<TWaveListItem>> items_;
};

} // namespace zq
