#pragma once
// One fake of each platform interface: settable, recording, scripted.

#include "app/Platform.h"
#include "app/RuntimeError.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace ambrel::testing {

struct ShownMessage {
    std::string text;
    std::string title;
    MessageButtons buttons;
    MessageIcon icon;
};

class FakeMessageBoxes : public MessageBoxes {
public:
    // Answers given in order; OK (or the first button) once the script is used up.
    std::deque<MessageAnswer> script;
    std::vector<ShownMessage> shown;
    // Runs while a box is "open", as the tick may run behind a real modal box.
    std::function<void()> whileOpen;

    MessageAnswer show(const std::string& text, const std::string& title, MessageButtons buttons,
                       MessageIcon icon) override {
        shown.push_back({text, title, buttons, icon});
        if (whileOpen) {
            whileOpen();
        }
        if (!script.empty()) {
            const MessageAnswer answer = script.front();
            script.pop_front();
            return answer;
        }
        return buttons == MessageButtons::RetryCancel ? MessageAnswer::Retry : MessageAnswer::Ok;
    }
};

class FakeBeeper : public Beeper {
public:
    int beeps = 0;
    void beep() override { ++beeps; }
};

class FakeClock : public Clock {
public:
    LocalTime time;
    LocalTime now() const override { return time; }
    void set(int hour, int minute, int second) {
        time.hour = hour;
        time.minute = minute;
        time.second = second;
    }
};

// Time passes only while the program sleeps.
class FakeSteadyClock : public SteadyClock {
public:
    int64_t now = 0;
    int sleeps = 0;
    int64_t milliseconds() const override { return now; }
    void sleep(int milliseconds) override {
        now += milliseconds;
        ++sleeps;
    }
};

class FakeScreen : public Screen {
public:
    float width = 15360; // 1024 x 768 pixels at 15 twips a pixel
    float height = 11520;
    // The primary monitor alone, 1024 x 768 pixels.
    std::vector<TwipsArea> monitors{{0, 0, 15360, 11520}};
    float widthTwips() const override { return width; }
    float heightTwips() const override { return height; }
    std::vector<TwipsArea> monitorsTwips() const override { return monitors; }
};

// Records every command sent to the device, e.g. "open:C:\a.wav", "play", "close".
class FakeSystemFiles : public SystemFiles {
public:
    std::string windows = "C:\\Windows";
    std::set<std::string> present; // the files that exist
    std::string windowsFolder() const override { return windows; }
    bool fileExists(const std::string& path) const override { return present.count(path) > 0; }
};

class FakeSoundDevice : public SoundDevice {
public:
    std::vector<std::string> commands;
    OpenResult nextOpen; // error 0 unless a test sets one
    OpenResult open(const std::string& path) override {
        commands.push_back("open:" + path);
        return nextOpen;
    }
    void play() override { commands.push_back("play"); }
    void close() override { commands.push_back("close"); }
    int count(const std::string& command) const {
        int n = 0;
        for (const auto& c : commands) {
            n += c == command ? 1 : 0;
        }
        return n;
    }
};

class FakeFileDialog : public FileDialog {
public:
    std::vector<FileOpenRequest> requests;
    std::string chosen; // returned when not cancelled
    int failWith = 0;   // a RuntimeError number to throw instead, e.g. 32755 for cancel
    std::string openFile(const FileOpenRequest& request) override {
        requests.push_back(request);
        if (failWith != 0) {
            throw RuntimeError(failWith);
        }
        return chosen;
    }
};

class FakeHelpViewer : public HelpViewer {
public:
    bool viewer = true;
    std::vector<std::string> shown;
    bool available() const override { return viewer; }
    void showContents(const std::string& helpFile) override { shown.push_back(helpFile); }
};

class FakeInstanceCheck : public InstanceCheck {
public:
    bool running = false;
    bool anotherInstanceRunning() override { return running; }
};

class FakeFileNames : public FileNames {
public:
    std::map<std::string, std::string> shortPaths; // full path -> its short form
    std::optional<std::string> shortPathOf(const std::string& path) const override {
        const auto found = shortPaths.find(path);
        if (found == shortPaths.end()) {
            return std::nullopt;
        }
        return found->second;
    }
};

class FakeProgramExit : public ProgramExit {
public:
    int ends = 0;
    void endProgram() override { ++ends; }
};

} // namespace ambrel::testing
