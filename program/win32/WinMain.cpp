// The executable's entry point: the real platform behind the core's interfaces, Main, and the
// message loop that runs until the program ends.

#include "app/win32/CommonDialogs.h"
#include "app/win32/FatalError.h"
#include "app/win32/FolderFileStore.h"
#include "app/win32/MciSoundDevice.h"
#include "app/win32/ShortPaths.h"
#include "app/win32/SingleInstance.h"
#include "app/win32/SystemCodePage.h"
#include "app/win32/SystemServices.h"
#include "app/win32/WinHelpViewer.h"
#include "app/win32/Window.h"
#include "program/Program.h"
#include "program/win32/WindowFactory.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace ambrel;
    using namespace ambrel::win32;

    SystemMessageBoxes messages;
    SystemBeeper beeper;
    SystemClock clock;
    SystemScreen screen;
    MciSoundDevice sound;
    SystemFileDialog fileDialog;
    WinHelpViewer help;
    SingleInstance instance;
    ProcessExit exit;
    FolderFileStore files;
    SystemCodePage codePage;
    ShortPaths fileNames;
    SystemSteadyClock steadyClock;
    WindowsSystemFiles systemFiles;
    Services services{messages, beeper, clock, screen,   sound,     fileDialog,  help,
                      instance, exit,   files, codePage, fileNames, steadyClock, systemFiles};
    WindowFactory windows;
    Program program(services, windows);

    guardedCall([&] {
        program.main();
        return LRESULT{0};
    });

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!isDialogMessageForAny(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return 0;
}
