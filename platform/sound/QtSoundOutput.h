// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/sound/SoundOutput.h"

#include <QAudio>
#include <QBuffer>

#include <memory>

class QAudioSink;

namespace zq {

// Plays through the system's default audio output, one QAudioSink per sound;
// a new sound stops and drops the previous sink first.
class QtSoundOutput final : public SoundOutput {
public:
    QtSoundOutput();
    ~QtSoundOutput() override;
    QtSoundOutput(const QtSoundOutput&) = delete;
    QtSoundOutput& operator=(const QtSoundOutput&) = delete;

    // Binds to the sound system now, which the first sound would otherwise
    // wait for; the game calls it once its window is up.
    void Prepare() override;
    bool HasDevice() override;
    bool Start(const Pcm& pcm) override;
    void Stop() override;
    const Pcm* Source() const override { return source_; }
    bool IsPlaying() const override;

    // The sink of the current sound, null when stopped; lets callers watch its state.
    QAudioSink* Sink() const { return sink_.get(); }
    QAudio::State State() const;

private:
    std::unique_ptr<QAudioSink> sink_;
    QBuffer buffer_;
    const Pcm* source_ = nullptr;
};

} // namespace zq
