#include "ui/short_sound_player.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QThread>
#include <atomic>
#include <memory>

namespace lumigrave::ui {

ShortSoundPlayer::ShortSoundPlayer(const PcmSound& sound, QObject* parent)
    : QObject(parent), sound_(sound) {}

ShortSoundPlayer::~ShortSoundPlayer() {
    if (sink_ != nullptr) {
        sink_->stop();
    }
}

void ShortSoundPlayer::play() {
    switch (output_) {
        case Output::Unknown:
            pending_ = true;
            probe();
            break;
        case Output::Probing:
            pending_ = true;
            break;
        case Output::None:
            break;
        case Output::Available:
            start();
            break;
    }
}

void ShortSoundPlayer::probe() {
    output_ = Output::Probing;
    auto found = std::make_shared<std::atomic<bool>>(false);
    QThread* thread =
        QThread::create([found] { *found = !QMediaDevices::audioOutputs().isEmpty(); });
    // The thread owns itself: a player that goes first only stops listening, and a thread
    // object is never deleted while its thread still runs.
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    connect(thread, &QThread::finished, this, [this, found] { probed(*found); });
    thread->start();
}

void ShortSoundPlayer::probed(bool available) {
    output_ = available ? Output::Available : Output::None;
    if (!available) {
        qInfo("No audio output: short sounds stay silent");
    }
    emit outputKnown(available);
    if (available && pending_) {
        start();
    }
    pending_ = false;
}

void ShortSoundPlayer::start() {
    if (sink_ == nullptr) {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        QAudioFormat format;
        format.setSampleRate(sound_.sampleRate);
        format.setChannelCount(sound_.channelCount);
        format.setSampleFormat(QAudioFormat::Int16);
        if (device.isNull() || !device.isFormatSupported(format)) {
            qInfo("The audio output cannot play the sound: short sounds stay silent");
            output_ = Output::None;
            return;
        }
        sink_ = new QAudioSink(device, format, this);
        buffer_ = new QBuffer(this);
        buffer_->setData(sound_.samples);
    }
    // A click on a click starts the sound over, as a key struck again does.
    sink_->stop();
    buffer_->close();
    buffer_->open(QIODevice::ReadOnly);
    sink_->start(buffer_);
    ++started_;
}

}  // namespace lumigrave::ui
