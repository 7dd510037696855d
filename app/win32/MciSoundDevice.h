#pragma once
// The MCI wave-audio device, driven by command messages.

#include "app/Platform.h"

#include <windows.h>

#include <optional>

namespace ambrel::win32 {

class MciSoundDevice : public SoundDevice {
public:
    MciSoundDevice() = default;
    MciSoundDevice(const MciSoundDevice&) = delete;
    MciSoundDevice& operator=(const MciSoundDevice&) = delete;
    ~MciSoundDevice() override { close(); }

    OpenResult open(const std::string& path) override;
    void play() override;
    void close() override;

private:
    // An item of the open device's status; nullopt when the device cannot tell.
    std::optional<DWORD_PTR> status(DWORD item) const;
    // Not playing, with the position at the end of the file.
    bool standsAtEnd() const;

    UINT deviceId_ = 0; // 0 while no device is open
};

} // namespace ambrel::win32
