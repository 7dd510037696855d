// A block of memory inside another process, for messages whose structures must live in
// the receiver's address space (common-control messages carry raw pointers).
#pragma once

#include "app/win32/Handles.h"

#include <windows.h>

#include <cstddef>

namespace ambrel::e2e {

class RemoteMemory {
public:
    RemoteMemory(DWORD pid, size_t size);
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    void* address(size_t offset) const { return static_cast<char*>(base_) + offset; }
    void write(size_t offset, const void* data, size_t size);
    void read(size_t offset, void* data, size_t size) const;

private:
    win32::KernelHandle process_;
    void* base_ = nullptr;
    size_t size_ = 0;
};

} // namespace ambrel::e2e
