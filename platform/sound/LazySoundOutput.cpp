// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/LazySoundOutput.h"

#include "platform/sound/SoundModule.h"

#include <QLibrary>

namespace zq {

LazySoundOutput::LazySoundOutput(QStringList modulePaths) : paths_(std::move(modulePaths)) {}

LazySoundOutput::~LazySoundOutput()
{
    // The output's code lives in the module, which stays loaded until the process ends.
    real_.reset();
}

QStringList LazySoundOutput::ModulePathsFor(const QString& programFolder)
{
    const QString file = QStringLiteral(ZQ_SOUND_MODULE_FILE);
    return {programFolder + QLatin1Char('/') + file, programFolder + QStringLiteral("/../lib/zibble-quarvel/") + file};
}

SoundOutput* LazySoundOutput::Real()
{
    if (tried_)
        return real_.get();
    tried_ = true;
    for (const QString& path : paths_) {
        auto module = std::make_unique<QLibrary>(path);
        if (!module->load())
            continue;
        const auto create = reinterpret_cast<SoundModuleCreate>(module->resolve(SoundModuleCreateName));
        if (!create)
            continue;
        real_.reset(create());
        if (real_) {
            module_ = std::move(module);
            break;
        }
    }
    return real_.get();
}

void LazySoundOutput::Prepare()
{
    if (SoundOutput* out = Real())
        out->Prepare();
}

bool LazySoundOutput::HasDevice()
{
    SoundOutput* out = Real();
    return out && out->HasDevice();
}

bool LazySoundOutput::Start(const Pcm& pcm)
{
    SoundOutput* out = Real();
    return out && out->Start(pcm);
}

void LazySoundOutput::Stop()
{
    // Nothing can play before the module is loaded, so there is nothing to load it for.
    if (real_)
        real_->Stop();
}

const Pcm* LazySoundOutput::Source() const { return real_ ? real_->Source() : nullptr; }

bool LazySoundOutput::IsPlaying() const { return real_ && real_->IsPlaying(); }

} // namespace zq
