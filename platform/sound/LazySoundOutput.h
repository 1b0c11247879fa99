// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/sound/SoundOutput.h"

#include <QString>
#include <QStringList>

#include <memory>

class QLibrary;

namespace zq {

// The game's sound output. The audio libraries are large enough to slow the
// start noticeably, so they live in a module of their own (zq-sound-qt) that
// is loaded when sound is first prepared or played. Without the module there
// is no device: nothing plays and nothing is reported, as without a sound card.
class LazySoundOutput final : public SoundOutput {
public:
    // The module is looked for at each path in turn.
    explicit LazySoundOutput(QStringList modulePaths);
    ~LazySoundOutput() override;
    LazySoundOutput(const LazySoundOutput&) = delete;
    LazySoundOutput& operator=(const LazySoundOutput&) = delete;

    // Where the game keeps the module: beside the program in a build tree,
    // in ../lib/zibble-quarvel/ of an installation.
    static QStringList ModulePathsFor(const QString& programFolder);

    void Prepare() override;
    bool HasDevice() override;
    bool Start(const Pcm& pcm) override;
    void Stop() override;
    const Pcm* Source() const override;
    bool IsPlaying() const override;

    // True once the module is loaded; for tests.
    bool Loaded() const { return real_ != nullptr; }

private:
    SoundOutput* Real();

    QStringList paths_;
    bool tried_ = false;
    // Declared first so that it outlives the output made by its code.
    std::unique_ptr<QLibrary> module_;
    std::unique_ptr<SoundOutput> real_;
};

} // namespace zq
