// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/TWaveList.h"

#include <QFile>
#include <QString>

#include <stdexcept>

// Outside any namespace, as the resource initialiser requires. The sounds live
// in a static library, so nothing would pull their registration in otherwise.
static void InitSoundResources()
{
    Q_INIT_RESOURCE(sounds);
}

namespace zq {

namespace {
std::vector<std::uint8_t> ReadResource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return {bytes.begin(), bytes.end()};
}
} // namespace

TWaveList::TWaveList(std::unique_ptr<SoundOutput> output)
    : output_(std::move(output))
{
    if (!output_)
        throw std::invalid_argument("TWaveList needs an output");
}

TWaveList::~TWaveList()
{
    Clear();
}

void TWaveList::LoadBuiltInSounds()
{
    InitSoundResources();
    Clear();
    for (int i = 0; i < BuiltInCount; ++i)
        Add(i, ReadResource(QStringLiteral(":/sounds/sound%1.wav").arg(i + 1)));
}

TWaveListItem& TWaveList::Add(std::int32_t ident, std::vector<std::uint8_t> image, std::string description)
{
    items_.push_back(std::make_unique<TWaveListItem>(ident, std::move(image), *output_, std::move(description)));
    return *items_.back();
}

void TWaveList::Clear()
{
    // Whatever plays may be one of ours; stop it before the samples are freed.
    output_->Stop();
    items_.clear();
}

bool TWaveList::Play(int position)
{
    if (position < 0 || position >= Count())
        return false;
    return Item(position).Play();
}

void TWaveList::Stop()
{
    output_->Stop();
}

} // namespace zq
