#pragma once
// The settings file "AMBREL.SET": ten CR LF lines of comma-separated items in the ANSI code page.

#include "app/Settings.h"

#include <string>
#include <string_view>

namespace ambrel {

class AnsiCodePage;
class FileStore;
class SteadyClock;

inline constexpr const char* kSettingsFileName = "AMBREL.SET";
// A damaged settings file is kept here before the default file replaces it. Never read.
inline constexpr const char* kDamagedSettingsCopyName = "AMBREL.BAK";

// The exact 71 bytes of the default file.
extern const std::string_view kDefaultSettingsBytes;
// The sound file that the default file names, where Windows 3.1 to 98 kept their fanfare.
inline constexpr std::string_view kDefaultSoundFile = "c:\\WINDOWS\\TADA.WAV";

// Reads the twelve persisted items of `bytes` into `settings`, in file order. Items met before
// a failure keep their new values. Throws RuntimeError: 62 when the input ends early, 13 for a
// text in an integer field, 6 for an integer out of the 16-bit range.
void parseSettings(std::string_view bytes, const AnsiCodePage& codePage, Settings& settings);

// The ten lines of the file for `settings`, with the window's current position in twips.
std::string formatSettings(const Settings& settings, float windowLeft, float windowTop,
                           const AnsiCodePage& codePage);

// What reading the file at start-up came to.
enum class SettingsReadOutcome {
    Read,                  // the file was there and read
    DefaultWrittenAndRead, // there was none: the default file was written and read instead
    StillMissing,          // the default file was written, yet there is still none to read
    DamagedAndKeptAside,   // it ended early; its bytes are kept in kDamagedSettingsCopyName
    DamagedNotKeptAside,   // it ended early, and kDamagedSettingsCopyName could not be written
    Failed,                // errorNumber tells why; repairs that failed end here too
};
struct SettingsReadResult {
    SettingsReadOutcome outcome = SettingsReadOutcome::Read;
    int errorNumber = 0; // for Failed and DamagedNotKeptAside
    // The full path of the file that could not be written, when that was the failure.
    std::string unwritablePath;

    bool isRead() const {
        return outcome == SettingsReadOutcome::Read ||
               outcome == SettingsReadOutcome::DefaultWrittenAndRead;
    }
};

class SettingsFile {
public:
    SettingsFile(FileStore& store, const AnsiCodePage& codePage, SteadyClock& steadyClock)
        : store_(store), codePage_(codePage), steadyClock_(steadyClock) {}

    // RuntimeError(53) when the file is missing; otherwise as parseSettings.
    void readSettingsFile(Settings& settings);
    // Start-up's read, with the two repairs it makes: a missing file is replaced by the default
    // file, which is read instead; a damaged one (it ends early) has its bytes kept aside, and
    // the caller replaces it once it has told the user. Never throws RuntimeError.
    SettingsReadResult readAtStartup(Settings& settings);
    // The writes below wait a moment for a file that another program holds, and raise
    // FileWriteError, which names the file, when it cannot be written.
    void writeDefaultSettingsFile();
    void saveSettingsFile(const Settings& settings, float windowLeft, float windowTop);
    // Copies the current file's bytes to kDamagedSettingsCopyName. RuntimeError as the store
    // raises it when the file cannot be read; 53 when the file is gone.
    void keepDamagedCopy();

private:
    void replaceFile(const std::string& name, std::string_view bytes);

    FileStore& store_;
    const AnsiCodePage& codePage_;
    SteadyClock& steadyClock_;
};

} // namespace ambrel
