#pragma once

#include <QObject>

#include "ui/wave_sound.h"

class QAudioSink;
class QBuffer;

namespace lumigrave::ui {

// Plays one short sound on the default audio output, and never makes the caller wait.
//
// Qt Multimedia reaches the sound server synchronously: the first use of the audio
// devices connects to it, and a server that does not answer holds the calling thread
// until the client library gives up (half a minute). So the first play() asks for the
// outputs on a thread of its own and returns; the sound starts when the answer comes
// (when it is still wanted: one pending play at most), or never when there is no output.
// Later plays start at once, from samples kept in memory: no file is loaded in the
// background, so nothing is left in flight when the process ends.
class ShortSoundPlayer : public QObject {
    Q_OBJECT
  public:
    enum class Output { Unknown, Probing, None, Available };

    explicit ShortSoundPlayer(const PcmSound& sound, QObject* parent = nullptr);
    ~ShortSoundPlayer() override;

    void play();
    Output output() const { return output_; }
    // The times the sound was handed to the audio output.
    int started() const { return started_; }

  signals:
    // The outputs are known: the sound can be heard, or it never will be.
    void outputKnown(bool available);

  private:
    void probe();
    void probed(bool available);
    void start();

    PcmSound sound_;
    Output output_ = Output::Unknown;
    bool pending_ = false;
    int started_ = 0;
    QAudioSink* sink_ = nullptr;
    QBuffer* buffer_ = nullptr;
};

}  // namespace lumigrave::ui
