// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/sound/SoundOutput.h"

#include <numeric>
#include <string>
#include <vector>

namespace zq::test {

// What a FakeSoundOutput saw; owned by the test so it outlives the bank.
struct SoundLog {
    bool Device = true;
    // "start N" / "stop N", N = sample bytes of the sound; "stop N changed"
    // when the samples were altered while they played.
    std::vector<std::string> Events;
    const Pcm* Playing = nullptr;
    int Prepared = 0;
};

// Records instead of playing. Like a real device it reads the samples it
// plays, on Stop too, so a bank that frees them first trips the sanitizer.
class FakeSoundOutput final : public SoundOutput {
public:
    explicit FakeSoundOutput(SoundLog& log) : log_(log) {}
    ~FakeSoundOutput() override { Stop(); }

    void Prepare() override { ++log_.Prepared; }
    bool HasDevice() override { return log_.Device; }

    bool Start(const Pcm& pcm) override
    {
        Stop();
        if (!log_.Device)
            return false;
        log_.Events.push_back("start " + std::to_string(pcm.Samples.size()));
        startSum_ = Sum(pcm);
        log_.Playing = &pcm;
        return true;
    }

    void Stop() override
    {
        if (log_.Playing == nullptr)
            return;
        const bool changed = Sum(*log_.Playing) != startSum_;
        log_.Events.push_back("stop " + std::to_string(log_.Playing->Samples.size()) + (changed ? " changed" : ""));
        log_.Playing = nullptr;
    }

    const Pcm* Source() const override { return log_.Playing; }
    bool IsPlaying() const override { return log_.Playing != nullptr; }

private:
    static unsigned Sum(const Pcm& pcm) { return std::accumulate(pcm.Samples.begin(), pcm.Samples.end(), 0u); }

    SoundLog& log_;
    unsigned startSum_ = 0;
};

} // namespace zq::test
