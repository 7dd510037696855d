#include "app/win32/MciSoundDevice.h"

#include "app/win32/ShortPaths.h"
#include "app/win32/SystemCodePage.h"
#include "app/win32/WideText.h"

#include <mmsystem.h>

#include <optional>
#include <string>

namespace ambrel::win32 {

namespace {

SoundDevice::OpenResult failure(MCIERROR error) {
    wchar_t text[MAXERRORLENGTH] = L"";
    if (!mciGetErrorStringW(error, text, MAXERRORLENGTH)) {
        text[0] = L'\0';
    }
    return {static_cast<int16_t>(LOWORD(error)), narrow(text)};
}

} // namespace

SoundDevice::OpenResult MciSoundDevice::open(const std::string& path) {
    // One device at a time: opening anew replaces whatever was open.
    close();
    if (path.empty()) {
        // Wine opens the wave-audio device without any file for an empty name, and later plays
        // nothing without a word. A sound file is required, so that is the failure reported.
        return failure(MCIERR_FILENAME_REQUIRED);
    }
    std::wstring element = widen(path);
    // Wine's wave-audio device opens its file through the ANSI code page, where a name with a
    // character the code page lacks is no longer the file's; its short form is plain ASCII.
    if (!ansiCodePageHolds(element)) {
        if (const std::optional<std::wstring> shortPath = shortPathOf(element)) {
            element = *shortPath;
        }
    }
    MCI_OPEN_PARMSW parameters{};
    parameters.lpstrDeviceType = L"waveaudio";
    parameters.lpstrElementName = element.c_str();
    const MCIERROR error = mciSendCommandW(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_WAIT,
                                           reinterpret_cast<DWORD_PTR>(&parameters));
    if (error != 0) {
        return failure(error);
    }
    deviceId_ = parameters.wDeviceID;
    return {};
}

std::optional<DWORD_PTR> MciSoundDevice::status(DWORD item) const {
    MCI_STATUS_PARMS parameters{};
    parameters.dwItem = item;
    if (mciSendCommandW(deviceId_, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                        reinterpret_cast<DWORD_PTR>(&parameters)) != 0) {
        return std::nullopt;
    }
    return parameters.dwReturn;
}

bool MciSoundDevice::standsAtEnd() const {
    const std::optional<DWORD_PTR> mode = status(MCI_STATUS_MODE);
    if (!mode || *mode == MCI_MODE_PLAY) {
        return false;
    }
    const std::optional<DWORD_PTR> position = status(MCI_STATUS_POSITION);
    const std::optional<DWORD_PTR> length = status(MCI_STATUS_LENGTH);
    return position && length && *position >= *length;
}

void MciSoundDevice::play() {
    if (deviceId_ == 0) {
        return;
    }
    // A complete playback leaves the position at the end of the file, where a play without a
    // start returns at once in silence: the alarm would be heard on its first day only. So a
    // device found there plays from the start; one that still plays goes on as it is.
    MCI_PLAY_PARMS parameters{};
    DWORD flags = 0;
    if (standsAtEnd()) {
        parameters.dwFrom = 0;
        flags = MCI_FROM;
    }
    mciSendCommandW(deviceId_, MCI_PLAY, flags, reinterpret_cast<DWORD_PTR>(&parameters));
}

void MciSoundDevice::close() {
    if (deviceId_ == 0) {
        return;
    }
    MCI_GENERIC_PARMS parameters{};
    mciSendCommandW(deviceId_, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&parameters));
    deviceId_ = 0;
}

} // namespace ambrel::win32
