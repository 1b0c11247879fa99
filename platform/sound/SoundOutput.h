// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/sound/Pcm.h"

namespace zq {

// Where the sound bank sends its sounds: one sound at a time, played
// asynchronously. Kept abstract so the bank can be tested without a device.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;

    // Gets ready to start a sound at once; may take a while, so not before the game is on screen.
    virtual void Prepare() {}
    // False when there is no output device; then nothing is to be played.
    virtual bool HasDevice() = 0;
    // Cuts off any sound that plays and starts this one. The output reads
    // straight from pcm, which must stay alive and unchanged until Stop or
    // the next Start.
    virtual bool Start(const Pcm& pcm) = 0;
    virtual void Stop() = 0;

    // The sound the output reads from (still playing or drained), null after Stop.
    virtual const Pcm* Source() const = 0;
    // True while the device is actually taking samples.
    virtual bool IsPlaying() const = 0;
};

} // namespace zq
