#include "app/win32/FolderFileStore.h"

#include "app/RuntimeError.h"
#include "app/win32/Handles.h"
#include "app/win32/WideText.h"

#include <windows.h>

#include <vector>

namespace ambrel::win32 {

namespace {

std::wstring executableFolder() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            std::wstring full(path.data(), length);
            return full.substr(0, full.find_last_of(L"\\/"));
        }
        path.resize(path.size() * 2);
    }
}

[[noreturn]] void raiseFor(DWORD error) {
    throw RuntimeError(
        error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ? kDiskFull : kPathAccessError);
}

// Every sharing: a sync client or a virus scanner may have the file open, for reading or for
// writing, and may rename or delete it, while the program reads it.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

} // namespace

FolderFileStore::FolderFileStore() : folder_(narrow(executableFolder())) {}

std::optional<std::string> FolderFileStore::read(const std::string& name) {
    const std::wstring path = widen(folder_ + "\\" + name);
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return std::nullopt;
        }
        raiseFor(error);
    }
    std::string bytes;
    char buffer[4096];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            // What was read so far is no file: a good file cut short here would be taken for
            // a damaged one and replaced.
            throw RuntimeError(kPathAccessError);
        }
        if (got == 0) {
            return bytes;
        }
        bytes.append(buffer, got);
    }
}

void FolderFileStore::replace(const std::string& name, std::string_view bytes) {
    // The new bytes go to a file beside the old one, which is replaced only once they are all
    // on disk: a failure at any point leaves the old file as it was.
    const std::wstring target = widen(folder_ + "\\" + name);
    const std::wstring temporary = target + L".new";
    {
        KernelHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            // A scanner may still be reading the temporary file an earlier attempt left.
            if (error == ERROR_SHARING_VIOLATION) {
                throw FileHeld();
            }
            raiseFor(error);
        }
        DWORD written = 0;
        const bool complete = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                        &written, nullptr) &&
                              written == bytes.size() && FlushFileBuffers(file.get());
        if (!complete) {
            const DWORD error = GetLastError();
            file.reset();
            DeleteFileW(temporary.c_str());
            raiseFor(error);
        }
    }
    if (!MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        // A file that another process has open without delete sharing cannot be replaced, and
        // Windows says so as a sharing violation or as access denied, depending on who holds
        // it and how.
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED) {
            throw FileHeld();
        }
        raiseFor(error);
    }
}

} // namespace ambrel::win32
