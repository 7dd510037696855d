#include "app/SoundPlayer.h"

#include "app/Messages.h"
#include "app/Platform.h"
#include "app/Settings.h"
#include "app/SettingsFile.h"

namespace ambrel {

std::string SoundPlayer::deviceFile(const std::string& soundFile) const {
    if (soundFile != kDefaultSoundFile || systemFiles_.fileExists(soundFile)) {
        return soundFile;
    }
    std::string media = systemFiles_.windowsFolder();
    if (media.empty()) {
        return soundFile;
    }
    if (media.back() != '\\') {
        media += '\\';
    }
    media += "Media\\tada.wav";
    // Where neither exists, the device's warning names the file that the settings name.
    return systemFiles_.fileExists(media) ? media : soundFile;
}

void SoundPlayer::openSound() {
    const SoundDevice::OpenResult result = device_.open(deviceFile(settings_.soundFile.toText()));
    if (result.error != 0) {
        messages_.show(result.message, kErrorTitle, MessageButtons::Ok, MessageIcon::Warning);
    }
}

void SoundPlayer::playSound() {
    device_.play();
}

void SoundPlayer::closeSound() {
    device_.close();
}

} // namespace ambrel
