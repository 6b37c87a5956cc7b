#include "ui/system_sound.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSoundEffect>
#include <QUrl>

namespace lumigrave::ui {

namespace {

// Owned by the application, so it goes before the audio back end does at exit.
QPointer<QSoundEffect>& clickEffect() {
    static QPointer<QSoundEffect> effect;
    return effect;
}

QSoundEffect* makeClickEffect() {
    auto* effect = new QSoundEffect(QCoreApplication::instance());
    effect->setSource(QUrl(QStringLiteral("qrc:/keyboard-click.wav")));
    return effect;
}

}  // namespace

void SystemSound::play(int soundId) {
    if (soundId != kKeyboardClick) {
        qWarning("Unknown system sound %d: nothing is played", soundId);
        return;
    }
    if (!QCoreApplication::instance()) {
        qWarning("The keyboard click needs an application");
        return;
    }
    QPointer<QSoundEffect>& effect = clickEffect();
    if (!effect) {
        effect = makeClickEffect();
    }
    // The source loads in the background; a play asked for before it is ready starts
    // once it is. Without an audio device the effect stays silent.
    effect->play();
}

const QObject* SystemSound::keyboardClickEffect() {
    return clickEffect().data();
}

}  // namespace lumigrave::ui
