#include "ui/system_sound.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>

#include "platform/bundle.h"
#include "ui/short_sound_player.h"
#include "ui/wave_sound.h"

namespace lumigrave::ui {

namespace {

// Owned by the application, so that it goes before the audio back end does at exit.
QPointer<ShortSoundPlayer>& clickPlayer() {
    static QPointer<ShortSoundPlayer> player;
    return player;
}

ShortSoundPlayer* makeClickPlayer() {
    QFile file(Bundle::pathForResource(QStringLiteral("keyboard-click"), QStringLiteral("wav")));
    PcmSound sound;
    QString error;
    if (!file.open(QIODevice::ReadOnly) || !decodeWave(file.readAll(), &sound, &error)) {
        qWarning("The keyboard click cannot be read: %s",
                 qPrintable(error.isEmpty() ? file.errorString() : error));
        return nullptr;
    }
    return new ShortSoundPlayer(sound, QCoreApplication::instance());
}

}  // namespace

void SystemSound::play(int soundId) {
    if (soundId != kKeyboardClick) {
        qWarning("Unknown system sound %d: nothing is played", soundId);
        return;
    }
    if (QCoreApplication::instance() == nullptr) {
        qWarning("The keyboard click needs an application");
        return;
    }
    QPointer<ShortSoundPlayer>& player = clickPlayer();
    if (!player) {
        player = makeClickPlayer();
        if (!player) {
            return;
        }
    }
    player->play();
}

ShortSoundPlayer* SystemSound::keyboardClickPlayer() {
    return clickPlayer().data();
}

}  // namespace lumigrave::ui
