#include "RemoteMemory.h"

#include "Commands.h"

#include <string>

namespace ambrel::e2e {

RemoteMemory::RemoteMemory(DWORD pid, size_t size)
    : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                               PROCESS_QUERY_INFORMATION,
                           FALSE, pid)),
      size_(size) {
    if (!process_)
        throw CommandError("cannot open process " + std::to_string(pid));
    base_ = VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!base_)
        throw CommandError("cannot allocate memory in process " + std::to_string(pid));
}

RemoteMemory::~RemoteMemory() {
    VirtualFreeEx(process_.get(), base_, 0, MEM_RELEASE);
}

void RemoteMemory::write(size_t offset, const void* data, size_t size) {
    SIZE_T done = 0;
    if (offset + size > size_ ||
        !WriteProcessMemory(process_.get(), address(offset), data, size, &done) || done != size)
        throw CommandError("cannot write the other process's memory");
}

void RemoteMemory::read(size_t offset, void* data, size_t size) const {
    SIZE_T done = 0;
    if (offset + size > size_ ||
        !ReadProcessMemory(process_.get(), address(offset), data, size, &done) || done != size)
        throw CommandError("cannot read the other process's memory");
}

} // namespace ambrel::e2e
