#pragma once
// The sound player: one WAV file on the wave-audio device, opened at start-up, reopened whenever
// the options may have changed it, played when the alarm or the countdown falls due.

#include <string>

namespace ambrel {

struct Settings;
class SoundDevice;
class MessageBoxes;
class SystemFiles;

class SoundPlayer {
public:
    SoundPlayer(Settings& settings, SoundDevice& device, MessageBoxes& messages,
                const SystemFiles& systemFiles)
        : settings_(settings), device_(device), messages_(messages), systemFiles_(systemFiles) {}

    // Opens soundFile; a failure shows the device's own text in a warning box and nothing else.
    // The default file's c:\WINDOWS\TADA.WAV, which no Windows since XP keeps there, is
    // the Windows folder's Media\tada.wav when only that one exists.
    void openSound();
    // Starts playback and returns at once: from the device's current position, or from the
    // start when the last playback has reached the end.
    void playSound();
    void closeSound();

private:
    // The file the device opens for soundFile.
    std::string deviceFile(const std::string& soundFile) const;

    Settings& settings_;
    SoundDevice& device_;
    MessageBoxes& messages_;
    const SystemFiles& systemFiles_;
};

} // namespace ambrel
