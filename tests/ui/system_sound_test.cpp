// The short sounds: the bundled click, reading WAVE files, and a player that never makes
// its caller wait. Its own binary: the audio back end is set up once per process, and the
// first test here must be the first to reach it.
#include <gtest/gtest.h>

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/bundle.h"
#include "support/log_capture.h"
#include "support/widget_test_support.h"
#include "ui/short_sound_player.h"
#include "ui/system_sound.h"
#include "ui/wave_sound.h"

namespace lumigrave::ui {
namespace {

using test::eventually;

QByteArray bundledClick() {
    QFile file(Bundle::pathForResource("keyboard-click", "wav"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A sound server that takes connections and never says a word, as a hung one does.
class MuteSoundServer {
  public:
    MuteSoundServer() {
        server_.listen(dir_.filePath("native"));
        QObject::connect(&server_, &QLocalServer::newConnection, [this] {
            while (QLocalSocket* socket = server_.nextPendingConnection()) {
                clients_.emplace_back(socket);
            }
        });
        saved_ = qgetenv("PULSE_SERVER");
        qputenv("PULSE_SERVER", ("unix:" + server_.fullServerName()).toUtf8());
    }
    ~MuteSoundServer() {
        hangUp();
        qputenv("PULSE_SERVER", saved_);
    }
    bool isListening() const { return server_.isListening(); }
    int connections() const { return int(clients_.size()); }
    // Closes everything: the clients waiting on it learn at once that it is gone.
    void hangUp() {
        server_.close();
        clients_.clear();
    }

  private:
    QTemporaryDir dir_;
    QLocalServer server_;
    std::vector<std::unique_ptr<QLocalSocket>> clients_;
    QByteArray saved_;
};

TEST(ShortSoundPlayer, PlayNeverWaitsForASoundServerThatDoesNotAnswer) {
    PcmSound click;
    ASSERT_TRUE(decodeWave(bundledClick(), &click, nullptr));
    MuteSoundServer server;
    ASSERT_TRUE(server.isListening());
    ShortSoundPlayer player(click);
    int told = 0;
    QObject::connect(&player, &ShortSoundPlayer::outputKnown, [&](bool available) {
        ++told;
        EXPECT_FALSE(available);
    });

    // The server is asked, and while it keeps silent the main loop goes on turning.
    player.play();
    EXPECT_EQ(player.output(), ShortSoundPlayer::Output::Probing);
    EXPECT_TRUE(eventually([&] { return server.connections() > 0; }));
    player.play();
    test::settle();
    EXPECT_EQ(player.output(), ShortSoundPlayer::Output::Probing);
    EXPECT_EQ(player.started(), 0);

    // Once it is gone, the player knows there is no output and stays silent.
    server.hangUp();
    EXPECT_TRUE(eventually([&] { return player.output() != ShortSoundPlayer::Output::Probing; }));
    EXPECT_EQ(player.output(), ShortSoundPlayer::Output::None);
    EXPECT_EQ(told, 1);
    player.play();
    test::settle();
    EXPECT_EQ(player.started(), 0);
    EXPECT_EQ(told, 1);
}

TEST(SystemSound, TheClickPlaysThroughOnePlayerAndUnknownSoundsAreLogged) {
    EXPECT_EQ(SystemSound::keyboardClickPlayer(), nullptr);
    SystemSound::play(SystemSound::kKeyboardClick);
    ShortSoundPlayer* player = SystemSound::keyboardClickPlayer();
    ASSERT_NE(player, nullptr);
    SystemSound::play(SystemSound::kKeyboardClick);
    SystemSound::play(SystemSound::kKeyboardClick);
    EXPECT_EQ(SystemSound::keyboardClickPlayer(), player);
    // There is no sound server for the tests: silence, and the player knows it.
    EXPECT_TRUE(eventually([&] { return player->output() == ShortSoundPlayer::Output::None; }));
    EXPECT_EQ(player->started(), 0);

    lumigrave::test::LogCapture log;
    SystemSound::play(9999);
    EXPECT_EQ(log.lines(), QStringList{"Unknown system sound 9999: nothing is played"});
    EXPECT_EQ(SystemSound::keyboardClickPlayer(), player);
}

quint16 le16(const QByteArray& bytes, int at) {
    return quint16(quint8(bytes.at(at)) | quint8(bytes.at(at + 1)) << 8);
}
quint32 le32(const QByteArray& bytes, int at) {
    return quint32(le16(bytes, at)) | quint32(le16(bytes, at + 2)) << 16;
}

TEST(SystemSound, TheBundledClickIsATenMillisecondMono16BitPcmWave) {
    const QByteArray wav = bundledClick();
    ASSERT_EQ(wav.size(), 44 + 441 * 2);
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(le32(wav, 4), quint32(wav.size() - 8));
    EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(le16(wav, 20), 1);       // PCM
    EXPECT_EQ(le16(wav, 22), 1);       // mono
    EXPECT_EQ(le32(wav, 24), 44100u);  // samples per second
    EXPECT_EQ(le16(wav, 34), 16);      // bits per sample
    PcmSound click;
    QString error;
    ASSERT_TRUE(decodeWave(wav, &click, &error)) << error.toStdString();
    EXPECT_EQ(click.sampleRate, 44100);
    EXPECT_EQ(click.channelCount, 1);
    ASSERT_EQ(click.samples.size(), 441 * 2);
    // A click, not silence, and one that dies away: loud near the start, quiet at the end.
    int loudest = 0;
    for (int i = 0; i < 441; ++i) {
        loudest = std::max(loudest, std::abs(int(qint16(le16(click.samples, 2 * i)))));
    }
    EXPECT_GT(loudest, 8000);
    for (int i = 400; i < 441; ++i) {
        EXPECT_LT(std::abs(int(qint16(le16(click.samples, 2 * i)))), 100) << i;
    }
}

// A WAVE file from its chunks.
QByteArray wave(const QList<QByteArray>& chunks) {
    QByteArray body = "WAVE";
    for (const QByteArray& chunk : chunks) {
        body += chunk;
    }
    QByteArray size(4, 0);
    qToLittleEndian<quint32>(quint32(body.size()), size.data());
    return "RIFF" + size + body;
}

QByteArray chunk(const char* tag, const QByteArray& bytes, int declaredSize = -1) {
    QByteArray size(4, 0);
    qToLittleEndian<quint32>(quint32(declaredSize < 0 ? bytes.size() : declaredSize), size.data());
    QByteArray out = QByteArray(tag, 4) + size + bytes;
    if (bytes.size() % 2 != 0) {
        out += '\0';
    }
    return out;
}

QByteArray format(int encoding, int channels, quint32 rate, int bits) {
    QByteArray bytes(16, 0);
    const int align = channels * bits / 8;
    qToLittleEndian<quint16>(quint16(encoding), bytes.data());
    qToLittleEndian<quint16>(quint16(channels), bytes.data() + 2);
    qToLittleEndian<quint32>(rate, bytes.data() + 4);
    qToLittleEndian<quint32>(rate * quint32(align), bytes.data() + 8);
    qToLittleEndian<quint16>(quint16(align), bytes.data() + 12);
    qToLittleEndian<quint16>(quint16(bits), bytes.data() + 14);
    return bytes;
}

struct WaveCase {
    const char* name;
    QByteArray file;
    const char* error;  // null: read, with the samples below
    QByteArray samples;
};

TEST(WaveSound, ReadsSixteenBitPcmAndRefusesEverythingElseWithAReason) {
    const QByteArray fmt = chunk("fmt ", format(1, 2, 22050, 16));
    const QByteArray four("\x01\x00\x02\x00\x03\x00\x04\x00", 8);
    const std::vector<WaveCase> cases{
        {"stereo, an odd chunk skipped", wave({fmt, chunk("LIST", "abc"), chunk("data", four)}),
         nullptr, four},
        {"a half frame at the end is dropped", wave({fmt, chunk("data", four + "\x05")}), nullptr,
         four},
        {"empty file", QByteArray(), "not a RIFF WAVE file", {}},
        {"another container", "RIFX" + wave({fmt}).mid(4), "not a RIFF WAVE file", {}},
        {"8-bit",
         wave({chunk("fmt ", format(1, 1, 8000, 8)), chunk("data", four)}),
         "only 16-bit PCM is played",
         {}},
        {"float",
         wave({chunk("fmt ", format(3, 1, 8000, 16)), chunk("data", four)}),
         "only 16-bit PCM is played",
         {}},
        {"short format",
         wave({chunk("fmt ", QByteArray(8, 0)), chunk("data", four)}),
         "the format block is too short",
         {}},
        {"no channels",
         wave({chunk("fmt ", format(1, 0, 8000, 16)), chunk("data", four)}),
         "the format block contradicts itself",
         {}},
        {"samples first",
         wave({chunk("data", four), fmt}),
         "the samples come before their format",
         {}},
        {"no data", wave({fmt}), "the sound has no samples", {}},
        {"empty data", wave({fmt, chunk("data", {})}), "the sound has no samples", {}},
        {"truncated samples", wave({fmt, chunk("data", four, 4000)}), "the file is truncated", {}},
        {"truncated format", wave({fmt}).left(30), "the file is truncated", {}},
    };
    for (const WaveCase& c : cases) {
        PcmSound sound;
        sound.sampleRate = 7;
        QString error;
        const bool read = decodeWave(c.file, &sound, &error);
        if (c.error == nullptr) {
            EXPECT_TRUE(read) << c.name << ": " << error.toStdString();
            EXPECT_EQ(sound.samples, c.samples) << c.name;
            EXPECT_EQ(sound.sampleRate, 22050) << c.name;
            EXPECT_EQ(sound.channelCount, 2) << c.name;
        } else {
            EXPECT_FALSE(read) << c.name;
            EXPECT_EQ(error, c.error) << c.name;
            EXPECT_EQ(sound.sampleRate, 7) << c.name << ": left as it was";
        }
    }
}

}  // namespace
}  // namespace lumigrave::ui
