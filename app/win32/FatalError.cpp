#include "app/win32/FatalError.h"

#include "app/Messages.h"
#include "app/win32/WideText.h"

namespace ambrel::win32 {

void endAfterUntrappedError(int number) {
    MessageBeep(MB_OK);
    MessageBoxW(nullptr, widen(fatalErrorText(number)).c_str(), widen(kErrorTitle).c_str(),
                MB_OK | MB_TASKMODAL | MB_SETFOREGROUND);
    ExitProcess(1);
}

} // namespace ambrel::win32
