#pragma once
// The small interfaces through which the portable core reaches the platform. The Win32 layer
// implements each of them with the real APIs; the unit tests use one fake of each.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ambrel {

enum class MessageButtons { Ok, OkCancel, RetryCancel };
enum class MessageIcon { None, Information, Warning };
enum class MessageAnswer { Ok, Cancel, Retry };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Modal; the clock keeps ticking behind it. OK is the default button.
    virtual MessageAnswer show(const std::string& text, const std::string& title,
                               MessageButtons buttons, MessageIcon icon) = 0;
};

class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0; // the system's standard beep
};

struct LocalTime {
    int year = 2000;
    int month = 1;   // 1-12
    int day = 1;     // 1-31
    int weekday = 6; // 0 Sunday ... 6 Saturday
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime now() const = 0;
};

// Time as it passes, apart from the wall clock that the user may set: how long the program has
// waited for something, and a wait on the spot.
class SteadyClock {
public:
    virtual ~SteadyClock() = default;
    virtual int64_t milliseconds() const = 0; // since some fixed moment
    virtual void sleep(int milliseconds) = 0;
};

// A rectangle of the desktop in twips, in the coordinates windows are placed in: the primary
// monitor's top left corner is (0, 0), a monitor left of or above it has negative ones.
struct TwipsArea {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

class Screen {
public:
    virtual ~Screen() = default;
    // The primary screen's size in twips.
    virtual float widthTwips() const = 0;
    virtual float heightTwips() const = 0;
    // Every monitor of the desktop, as the system reports them now.
    virtual std::vector<TwipsArea> monitorsTwips() const = 0;
};

// The system's own folder and whether a file exists, for the sound that the default settings name.
class SystemFiles {
public:
    virtual ~SystemFiles() = default;
    // The Windows folder as the system names it, e.g. C:\Windows.
    virtual std::string windowsFolder() const = 0;
    virtual bool fileExists(const std::string& path) const = 0;
};

// The MCI wave-audio device.
class SoundDevice {
public:
    virtual ~SoundDevice() = default;
    struct OpenResult {
        int16_t error = 0;   // 0 for success
        std::string message; // the device's text for the error, "" on success
    };
    virtual OpenResult open(const std::string& path) = 0;
    // Asynchronous, from the current position; at the end of the file, from its start again,
    // so that every play is heard. Failures are silent.
    virtual void play() = 0;
    virtual void close() = 0; // synchronous; failures are silent
};

struct FileOpenRequest {
    std::string title;
    std::string filter; // "description|pattern|description|pattern|"
    int filterIndex = 1;
    std::string defaultExtension;
    bool hideReadOnly = false; // no "read only" check box in the dialog
};

class FileDialog {
public:
    virtual ~FileDialog() = default;
    // The chosen file's full path; throws RuntimeError(32755) when cancelled, another
    // RuntimeError when the dialog fails.
    virtual std::string openFile(const FileOpenRequest& request) = 0;
};

class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    // True when the system has a WinHelp viewer that shows help files: not on Windows 10 and
    // later, nor where the Windows folder's winhlp32.exe is missing or is the stub that only
    // says that this help format is not supported.
    virtual bool available() const = 0;
    virtual void showContents(const std::string& helpFile) = 0;
};

class InstanceCheck {
public:
    virtual ~InstanceCheck() = default;
    // True when another instance of this executable already runs.
    virtual bool anotherInstanceRunning() = 0;
};

class ProgramExit {
public:
    virtual ~ProgramExit() = default;
    // Ends the process at once: no window's own unload handling runs. The real one does not
    // return; fakes record the call and return, so the core returns right after calling it.
    virtual void endProgram() = 0;
};

// Files in the executable's folder, as bytes.
class FileStore {
public:
    virtual ~FileStore() = default;
    // nullopt when the file does not exist; RuntimeError(75) when it cannot be read.
    virtual std::optional<std::string> read(const std::string& name) = 0;
    // Replaces the file as a whole: afterwards it holds either its old bytes or the new ones,
    // never a part. FileHeld while another program has the file open so that it cannot be
    // replaced; otherwise RuntimeError(75) or (61) on failure.
    virtual void replace(const std::string& name, std::string_view bytes) = 0;
    // The full path of the named file in the executable's folder, for a platform part that
    // opens the file itself (the help viewer).
    virtual std::string pathOf(const std::string& name) const = 0;
};

// The system's ANSI code page (932 on a Japanese system) that the settings file is kept in.
class AnsiCodePage {
public:
    virtual ~AnsiCodePage() = default;
    virtual std::string toUtf8(std::string_view ansi) const = 0;
    virtual std::string fromUtf8(std::string_view utf8) const = 0;
};

// Other names of files, as the file system knows them.
class FileNames {
public:
    virtual ~FileNames() = default;
    // The short (8.3) form of an existing file's full path; nullopt when the file system gives
    // none, or the file does not exist.
    virtual std::optional<std::string> shortPathOf(const std::string& path) const = 0;
};

} // namespace ambrel
