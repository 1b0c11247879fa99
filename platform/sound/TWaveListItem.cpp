// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/TWaveListItem.h"

#include "platform/sound/SoundOutput.h"
#include "platform/sound/WaveImage.h"

namespace zq {

TWaveListItem::TWaveListItem(std::int32_t ident, std::vector<std::uint8_t> image, SoundOutput& output,
                             std::string description)
    : Ident(ident)
    , Description(std::move(description))
    , output_(output)
{
    SetImage(std::move(image));
}

TWaveListItem::~TWaveListItem()
{
    Stop();
}

void TWaveListItem::SetImage(std::vector<std::uint8_t> image)
{
    Stop();
    image_.clear();
    sound_ = Pcm{};
    if (!HasWaveHeader(image))
        return;
    image_ = std::move(image);
    if (auto pcm = DecodeWave(image_))
        sound_ = std::move(*pcm);
}

bool TWaveListItem::Play()
{
    if (IsEmpty())
        return false;
    if (!output_.HasDevice())
        return false;
    if (sound_.Empty())
        return false;
    return output_.Start(sound_);
}

void TWaveListItem::Stop()
{
    if (output_.Source() == &sound_)
        output_.Stop();
}

} // namespace zq
