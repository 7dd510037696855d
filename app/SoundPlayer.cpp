#include "app/SoundPlayer.h"

#include "app/Messages.h"
#include "app/Platform.h"
#include "app/Settings.h"

namespace ambrel {

void SoundPlayer::openSound() {
    const SoundDevice::OpenResult result = device_.open(settings_.soundFile.toText());
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
