#include "app/win32/SingleInstance.h"

namespace ambrel::win32 {

bool SingleInstance::anotherInstanceRunning() {
    // Per session, so that each signed-in user has a clock of their own.
    mutex_.reset(CreateMutexW(nullptr, FALSE, L"Local\\AmbrelV2.Clock.SingleInstance"));
    return mutex_ && GetLastError() == ERROR_ALREADY_EXISTS;
}

} // namespace ambrel::win32
