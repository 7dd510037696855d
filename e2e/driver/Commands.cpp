#include "Commands.h"

#include "CommandHandlers.h"

#include <map>

namespace ambrel::e2e {

const char* usage() {
    return "acp | dpi | ping\n"
           "windows [--class C] [--title T] [--title-contains T] [--pid P] [--exe E] [--visible]\n"
           "info HWND | children HWND | text HWND | settext HWND TEXT\n"
           "msgbox [filters as windows] | press HWND ID [--send]\n"
           "answer --button OK|Cancel|Retry|Yes|No|... [filters as windows] [--send]\n"
           "tooltip HWND (a tool window, or a tooltip control for all its tools)\n"
           "click HWND X Y [--button left|right|middle] [--count N]\n"
           "drag HWND X1 Y1 X2 Y2 [--steps N] | key VK... | type TEXT\n"
           "message HWND MSG [WPARAM [LPARAM]] [--post] | close HWND\n"
           "foreground | activate HWND | procs [--exe E] | kill PID | guires PID\n"
           "pixels HWND [X Y [W H]] [--dump] | version PATH\n"
           "refuse-window [CLASS] (none: lift) | compose HWND TEXT [--pending] | mcierror ERROR\n"
           "dpichange HWND DPI LEFT TOP RIGHT BOTTOM\n"
           "clock control EXE YYYY-MM-DD HH:MM:SS [--frozen] | clock set YYYY-MM-DD HH:MM:SS\n"
           "clock move SECONDS | clock freeze | clock run | clock status | clock off\n"
           "accessible HWND | shortpath PATH | slowness FACTOR\n"
           "hold PATH [--write] [--until-created PATH2 [--then MS]] | release HOLD\n"
           "serve (commands on standard input, one a line, arguments separated by tabs)\n";
}

bool runCommand(const std::wstring& name, const Args& args, const Output& out) {
    using Handler = void (*)(const ArgReader&, const Output&);
    static const std::map<std::wstring, Handler> handlers = {{L"acp", cmdAcp},
                                                             {L"dpi", cmdDpi},
                                                             {L"windows", cmdWindows},
                                                             {L"info", cmdInfo},
                                                             {L"rect", cmdInfo},
                                                             {L"children", cmdChildren},
                                                             {L"text", cmdText},
                                                             {L"settext", cmdSetText},
                                                             {L"msgbox", cmdMsgbox},
                                                             {L"press", cmdPress},
                                                             {L"answer", cmdAnswer},
                                                             {L"tooltip", cmdTooltip},
                                                             {L"click", cmdClick},
                                                             {L"drag", cmdDrag},
                                                             {L"key", cmdKey},
                                                             {L"type", cmdType},
                                                             {L"message", cmdMessage},
                                                             {L"close", cmdClose},
                                                             {L"foreground", cmdForeground},
                                                             {L"activate", cmdActivate},
                                                             {L"procs", cmdProcs},
                                                             {L"kill", cmdKill},
                                                             {L"guires", cmdResources},
                                                             {L"pixels", cmdPixels},
                                                             {L"version", cmdVersion},
                                                             {L"refuse-window", cmdRefuseWindow},
                                                             {L"compose", cmdCompose},
                                                             {L"dpichange", cmdDpiChange},
                                                             {L"mcierror", cmdMciError},
                                                             {L"clock", cmdClock},
                                                             {L"accessible", cmdAccessible},
                                                             {L"shortpath", cmdShortPath},
                                                             {L"hold", cmdHold},
                                                             {L"release", cmdRelease},
                                                             {L"syscolors", cmdSysColors},
                                                             {L"ping", cmdPing},
                                                             {L"slowness", cmdSlowness}};
    auto it = handlers.find(name);
    if (it == handlers.end()) {
        return false;
    }
    it->second(ArgReader(args), out);
    return true;
}

} // namespace ambrel::e2e
