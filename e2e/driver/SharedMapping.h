// Memory that the driver shares with its probe library in the program under test, by name.
#pragma once

#include "Commands.h"

#include <windows.h>

#include <string>

namespace ambrel::e2e {

// The named mapping of one T, created on first use and kept for the driver's life (so that the
// probe in another process can open it); `what` names it in errors.
template <class T> T& sharedMapping(const wchar_t* name, const char* what) {
    static T* view = [name, what] {
        HANDLE mapping =
            CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(T), name);
        if (mapping == nullptr)
            throw CommandError(std::string("cannot create the ") + what + " shared memory");
        return static_cast<T*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(T)));
    }();
    if (view == nullptr)
        throw CommandError(std::string("cannot map the ") + what + " shared memory");
    return *view;
}

} // namespace ambrel::e2e
