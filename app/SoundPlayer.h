#pragma once
// The sound player: one WAV file on the wave-audio device, opened at start-up, reopened whenever
// the options may have changed it, played when the alarm or the countdown falls due.

namespace ambrel {

struct Settings;
class SoundDevice;
class MessageBoxes;

class SoundPlayer {
public:
    SoundPlayer(Settings& settings, SoundDevice& device, MessageBoxes& messages)
        : settings_(settings), device_(device), messages_(messages) {}

    // Opens soundFile; a failure shows the device's own text in a warning box and nothing else.
    void openSound();
    // Starts playback and returns at once: from the device's current position, or from the
    // start when the last playback has reached the end.
    void playSound();
    void closeSound();

private:
    Settings& settings_;
    SoundDevice& device_;
    MessageBoxes& messages_;
};

} // namespace ambrel
