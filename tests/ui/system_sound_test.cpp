#include "ui/system_sound.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cstdlib>

#include "platform/bundle.h"
#include "support/log_capture.h"
#include "support/widget_test_support.h"

namespace lumigrave::ui {
namespace {

quint16 le16(const QByteArray& bytes, int at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}
quint32 le32(const QByteArray& bytes, int at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

TEST(SystemSound, TheBundledClickIsATenMillisecondMono16BitPcmWave) {
    const QString path = Bundle::pathForResource("keyboard-click", "wav");
    ASSERT_FALSE(path.isEmpty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray wav = file.readAll();
    ASSERT_EQ(wav.size(), 44 + 441 * 2);
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(le32(wav, 4), quint32(wav.size() - 8));
    EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(le32(wav, 16), 16u);     // PCM format block
    EXPECT_EQ(le16(wav, 20), 1);       // PCM
    EXPECT_EQ(le16(wav, 22), 1);       // mono
    EXPECT_EQ(le32(wav, 24), 44100u);  // samples per second
    EXPECT_EQ(le32(wav, 28), 88200u);  // bytes per second
    EXPECT_EQ(le16(wav, 32), 2);       // bytes per frame
    EXPECT_EQ(le16(wav, 34), 16);      // bits per sample
    EXPECT_EQ(wav.mid(36, 4), "data");
    EXPECT_EQ(le32(wav, 40), 441u * 2);
    // A click, not silence, and one that dies away: loud near the start, quiet at the end.
    int loudest = 0;
    for (int i = 0; i < 441; ++i) {
        loudest = std::max(loudest, std::abs(int(qint16(le16(wav, 44 + 2 * i)))));
    }
    EXPECT_GT(loudest, 8000);
    for (int i = 400; i < 441; ++i) {
        EXPECT_LT(std::abs(int(qint16(le16(wav, 44 + 2 * i)))), 100) << i;
    }
}

TEST(SystemSound, TheClickPlaysThroughOneEffectAndUnknownSoundsAreLogged) {
    SystemSound::play(SystemSound::kKeyboardClick);
    const QObject* effect = SystemSound::keyboardClickEffect();
    ASSERT_NE(effect, nullptr);
    test::settle();
    SystemSound::play(SystemSound::kKeyboardClick);
    SystemSound::play(SystemSound::kKeyboardClick);
    test::settle();
    EXPECT_EQ(SystemSound::keyboardClickEffect(), effect);

    lumigrave::test::LogCapture log;
    SystemSound::play(9999);
    EXPECT_EQ(log.lines(), QStringList{"Unknown system sound 9999: nothing is played"});
    EXPECT_EQ(SystemSound::keyboardClickEffect(), effect);
}

}  // namespace
}  // namespace lumigrave::ui
