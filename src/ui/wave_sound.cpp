#include "ui/wave_sound.h"

namespace lumigrave::ui {

namespace {

// Byte by byte: the callers have checked that the bytes are there.
quint16 le16(const QByteArray& bytes, qsizetype at) {
    return quint16(quint8(bytes.at(at)) | quint8(bytes.at(at + 1)) << 8);
}

quint32 le32(const QByteArray& bytes, qsizetype at) {
    return quint32(le16(bytes, at)) | quint32(le16(bytes, at + 2)) << 16;
}

bool fail(QString* errorMessage, const char* reason) {
    if (errorMessage != nullptr) {
        *errorMessage = QString::fromLatin1(reason);
    }
    return false;
}

}  // namespace

bool decodeWave(const QByteArray& wave, PcmSound* sound, QString* errorMessage) {
    if (wave.size() < 12 || !wave.startsWith("RIFF") || wave.mid(8, 4) != "WAVE") {
        return fail(errorMessage, "not a RIFF WAVE file");
    }
    PcmSound found;
    bool haveFormat = false;
    qsizetype at = 12;
    while (at + 8 <= wave.size()) {
        const QByteArray tag = wave.mid(at, 4);
        const quint32 size = le32(wave, at + 4);
        const qsizetype body = at + 8;
        if (size > quint32(wave.size() - body)) {
            return fail(errorMessage, "the file is truncated");
        }
        if (tag == "fmt ") {
            if (size < 16) {
                return fail(errorMessage, "the format block is too short");
            }
            const int encoding = le16(wave, body);
            const int channels = le16(wave, body + 2);
            const quint32 rate = le32(wave, body + 4);
            const int blockAlign = le16(wave, body + 12);
            const int bits = le16(wave, body + 14);
            if (encoding != 1 || bits != 16) {
                return fail(errorMessage, "only 16-bit PCM is played");
            }
            if (channels < 1 || channels > 8 || rate < 1000 || rate > 192000 ||
                blockAlign != channels * 2 || le32(wave, body + 8) != rate * quint32(blockAlign)) {
                return fail(errorMessage, "the format block contradicts itself");
            }
            found.channelCount = channels;
            found.sampleRate = int(rate);
            haveFormat = true;
        } else if (tag == "data") {
            if (!haveFormat) {
                return fail(errorMessage, "the samples come before their format");
            }
            const qsizetype frame = found.channelCount * 2;
            found.samples = wave.mid(body, qsizetype(size) - qsizetype(size) % frame);
            if (found.samples.isEmpty()) {
                return fail(errorMessage, "the sound has no samples");
            }
            *sound = found;
            return true;
        }
        // Chunks are padded to an even size.
        at = body + qsizetype(size) + (size & 1);
    }
    return fail(errorMessage, haveFormat ? "the sound has no samples" : "the file is truncated");
}

}  // namespace lumigrave::ui
