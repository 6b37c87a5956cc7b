#pragma once

namespace lumigrave::ui {

class ShortSoundPlayer;

// The system's short sounds, by the platform's ids. Only the keyboard click (1104) is
// bundled; other ids are logged as unknown and play nothing. Playing never blocks and
// never fails loudly: without an audio output the click is simply not heard.
class SystemSound {
  public:
    static constexpr int kKeyboardClick = 1104;

    // Starts the sound and returns at once. Main thread only.
    static void play(int soundId);

    // The player every click goes through, made by the first play() and kept until the
    // application goes; null before, and when the bundled click cannot be read.
    static ShortSoundPlayer* keyboardClickPlayer();
};

}  // namespace lumigrave::ui
