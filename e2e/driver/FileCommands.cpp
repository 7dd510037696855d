#include "CommandHandlers.h"
#include "JsonLine.h"
#include "app/win32/Handles.h"

#include <windows.h>

#include <map>
#include <memory>

namespace ambrel::e2e {

namespace {

// A file held open by this process, as a sync client or a virus scanner holds one: opened for
// reading (and writing), sharing reading and writing but not deleting, so that no other process
// can replace or rename it while it is held. A thread of its own lets it go, when asked or a
// while after another file has appeared.
struct Hold {
    win32::KernelHandle file;
    win32::KernelHandle releaseAsked{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::wstring trigger; // let go once this file exists...
    DWORD thenMs = 0;     // ...and this long after that
    bool triggerSeen = false;
    win32::KernelHandle thread;
};

std::map<int, std::unique_ptr<Hold>>& holds() {
    static std::map<int, std::unique_ptr<Hold>> instance;
    return instance;
}

constexpr DWORD kTriggerPollMs = 5;

DWORD WINAPI holdFile(void* data) {
    Hold& hold = *static_cast<Hold*>(data);
    if (hold.trigger.empty()) {
        WaitForSingleObject(hold.releaseAsked.get(), INFINITE);
    } else {
        while (WaitForSingleObject(hold.releaseAsked.get(), kTriggerPollMs) == WAIT_TIMEOUT) {
            if (GetFileAttributesW(hold.trigger.c_str()) != INVALID_FILE_ATTRIBUTES) {
                hold.triggerSeen = true;
                WaitForSingleObject(hold.releaseAsked.get(), hold.thenMs);
                break;
            }
        }
    }
    hold.file.reset();
    return 0;
}

} // namespace

void cmdHold(const ArgReader& a, const Output& out) {
    auto hold = std::make_unique<Hold>();
    const std::wstring& path = a.at(0, "path");
    const DWORD access = GENERIC_READ | (a.flag(L"write") ? GENERIC_WRITE : 0);
    hold->file.reset(CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (hold->file.get() == INVALID_HANDLE_VALUE) {
        throw CommandError("cannot open " + toUtf8(path) + ": error " +
                           std::to_string(GetLastError()));
    }
    hold->trigger = a.option(L"until-created").value_or(L"");
    hold->thenMs = static_cast<DWORD>(number(a.option(L"then").value_or(L"0"), "then"));
    hold->thread.reset(CreateThread(nullptr, 0, holdFile, hold.get(), 0, nullptr));
    if (!hold->thread) {
        throw CommandError("cannot start the holding thread");
    }
    const int id = holds().empty() ? 1 : holds().rbegin()->first + 1;
    holds()[id] = std::move(hold);
    out(JsonLine().add("hold", id).add("path", path).str());
}

void cmdRelease(const ArgReader& a, const Output& out) {
    const int id = intArg(a.at(0, "hold"), "hold");
    const auto found = holds().find(id);
    if (found == holds().end()) {
        throw CommandError("no hold " + std::to_string(id));
    }
    Hold& hold = *found->second;
    SetEvent(hold.releaseAsked.get());
    WaitForSingleObject(hold.thread.get(), INFINITE);
    out(JsonLine().add("hold", id).add("trigger_seen", hold.triggerSeen).str());
    holds().erase(found);
}

} // namespace ambrel::e2e
