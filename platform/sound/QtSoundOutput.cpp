// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/QtSoundOutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

namespace zq {

QtSoundOutput::QtSoundOutput() = default;

QtSoundOutput::~QtSoundOutput()
{
    Stop();
}

void QtSoundOutput::Prepare()
{
    HasDevice();
}

bool QtSoundOutput::HasDevice()
{
    return !QMediaDevices::defaultAudioOutput().isNull();
}

bool QtSoundOutput::Start(const Pcm& pcm)
{
    Stop();
    if (pcm.Empty())
        return false;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return false;

    QAudioFormat format;
    format.setSampleRate(pcm.SampleRate);
    format.setChannelCount(pcm.Channels);
    format.setSampleFormat(pcm.BitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);

    // No copy: the bank keeps the samples alive and unchanged while they play.
    buffer_.setData(QByteArray::fromRawData(reinterpret_cast<const char*>(pcm.Samples.data()),
                                            static_cast<qsizetype>(pcm.Samples.size())));
    if (!buffer_.open(QIODevice::ReadOnly))
        return false;
    sink_ = std::make_unique<QAudioSink>(device, format);
    sink_->start(&buffer_);
    if (sink_->error() != QAudio::NoError || sink_->state() == QAudio::StoppedState) {
        Stop();
        return false;
    }
    source_ = &pcm;
    return true;
}

void QtSoundOutput::Stop()
{
    if (sink_) {
        sink_->stop();
        sink_.reset();
    }
    buffer_.close();
    buffer_.setData(QByteArray());
    source_ = nullptr;
}

bool QtSoundOutput::IsPlaying() const
{
    return State() == QAudio::ActiveState;
}

QAudio::State QtSoundOutput::State() const
{
    return sink_ ? sink_->state() : QAudio::StoppedState;
}

} // namespace zq
