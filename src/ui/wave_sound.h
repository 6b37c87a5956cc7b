#pragma once

#include <QByteArray>
#include <QString>

namespace lumigrave::ui {

// A short sound as the audio output takes it: interleaved signed 16-bit samples.
struct PcmSound {
    int sampleRate = 0;
    int channelCount = 0;
    QByteArray samples;
};

// Reads a RIFF WAVE file of 16-bit PCM samples (the form the bundled sounds are kept in).
// Chunks other than "fmt " and "data" are skipped. False, with the reason, for anything
// else: another container or encoding, a truncated file, a format block that
// contradicts itself, no samples.
bool decodeWave(const QByteArray& wave, PcmSound* sound, QString* errorMessage);

}  // namespace lumigrave::ui
