#include "Accessibility.h"
#include "CommandHandlers.h"
#include "JsonLine.h"
#include "RemoteMemory.h"
#include "VersionInfo.h"
#include "WindowQueries.h"
#include "app/win32/Handles.h"

#include <windows.h>

#include <commctrl.h>
#include <mmsystem.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cwchar>
#include <map>
#include <string>

namespace ambrel::e2e {

namespace {

std::wstring readRemoteText(RemoteMemory& memory, size_t offset, size_t maxChars) {
    std::vector<wchar_t> buf(maxChars + 1, L'\0');
    memory.read(offset, buf.data(), maxChars * sizeof(wchar_t));
    buf[maxChars] = L'\0';
    return buf.data();
}

// The tool structures and the text buffer of a tooltip query, in the tooltip's own process.
class ToolQuery {
public:
    explicit ToolQuery(DWORD pid)
        : memory_(pid, kTextOffset + (kTextChars + 1) * sizeof(wchar_t)) {}

    // The tool at `index` of the tooltip, or nothing when it answers none.
    std::optional<TTTOOLINFOW> tool(HWND tip, DWORD_PTR index) {
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        memory_.write(0, &info, sizeof info);
        DWORD_PTR ok = 0;
        SendMessageTimeoutW(tip, TTM_ENUMTOOLSW, index, remote(0), SMTO_ABORTIFHUNG,
                            sendTimeoutMs(), &ok);
        if (!ok) {
            return std::nullopt;
        }
        memory_.read(0, &info, sizeof info);
        return info;
    }

    std::wstring text(HWND tip, TTTOOLINFOW info) {
        info.lpszText = static_cast<LPWSTR>(memory_.address(kTextOffset));
        memory_.write(0, &info, sizeof info);
        const wchar_t empty = L'\0';
        memory_.write(kTextOffset, &empty, sizeof empty);
        DWORD_PTR ok = 0;
        SendMessageTimeoutW(tip, TTM_GETTEXTW, kTextChars, remote(0), SMTO_ABORTIFHUNG,
                            sendTimeoutMs(), &ok);
        return readRemoteText(memory_, kTextOffset, kTextChars);
    }

private:
    static constexpr size_t kTextChars = 4096;
    static constexpr size_t kTextOffset = 256;

    LPARAM remote(size_t offset) const { return reinterpret_cast<LPARAM>(memory_.address(offset)); }

    RemoteMemory memory_;
};

HWND toolWindowOf(const TTTOOLINFOW& info) {
    return (info.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(info.uId) : info.hwnd;
}

std::vector<HWND> tooltipsOf(DWORD pid, HWND onlyTip) {
    std::vector<HWND> tips;
    for (HWND tip : topLevelWindows()) {
        DWORD tipPid = 0;
        GetWindowThreadProcessId(tip, &tipPid);
        if (tipPid == pid && className(tip) == TOOLTIPS_CLASSW &&
            (onlyTip == nullptr || tip == onlyTip)) {
            tips.push_back(tip);
        }
    }
    return tips;
}

// The area of the window's client area that `pixels` reads: all of it by default.
struct Area {
    int x, y, width, height;
};

Area areaArg(const ArgReader& a, HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    Area area{};
    area.x = a.count() > 1 ? intArg(a.at(1, "x"), "x") : 0;
    area.y = a.count() > 2 ? intArg(a.at(2, "y"), "y") : 0;
    area.width = a.count() > 3 ? intArg(a.at(3, "width"), "width") : client.right - area.x;
    area.height = a.count() > 4 ? intArg(a.at(4, "height"), "height") : client.bottom - area.y;
    if (area.width <= 0 || area.height <= 0) {
        throw CommandError("empty area");
    }
    return area;
}

// The screen's pixels in a rectangle, row by row from the top, as 0xRRGGBB.
std::vector<DWORD> screenPixels(POINT origin, int width, int height) {
    win32::WindowDc screen(nullptr);
    win32::MemoryDc memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win32::Bitmap dib(CreateDIBSection(memory.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    win32::ScopedSelect select(memory.get(), dib.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const DWORD*>(bits);
    std::vector<DWORD> pixels(first, first + static_cast<size_t>(width) * height);
    for (DWORD& pixel : pixels) {
        pixel &= 0xFFFFFF;
    }
    return pixels;
}

std::string hexColour(const char* format, DWORD colour) {
    std::array<char, 8> hex{};
    std::snprintf(hex.data(), hex.size(), format, static_cast<unsigned long>(colour));
    return hex.data();
}

// The twelve most frequent colours, the most frequent first.
std::string commonColoursJson(const std::vector<DWORD>& pixels) {
    std::map<DWORD, long long> counts;
    for (DWORD pixel : pixels) {
        counts[pixel]++;
    }
    std::vector<std::pair<long long, DWORD>> ranked;
    for (const auto& [colour, n] : counts) {
        ranked.push_back({n, colour});
    }
    std::sort(ranked.rbegin(), ranked.rend());
    std::vector<std::string> top;
    for (size_t i = 0; i < ranked.size() && i < 12; ++i) {
        top.push_back(JsonLine()
                          .add("rgb", hexColour("#%06lx", ranked[i].second))
                          .add("count", ranked[i].first)
                          .str());
    }
    return JsonLine::array(top);
}

std::string rowsJson(const std::vector<DWORD>& pixels, int width) {
    std::vector<std::string> rows;
    for (size_t start = 0; start < pixels.size(); start += static_cast<size_t>(width)) {
        std::string line;
        for (size_t i = start; i < start + static_cast<size_t>(width); ++i) {
            line += hexColour("%06lx", pixels[i]);
        }
        rows.push_back(JsonLine::quote(line));
    }
    return JsonLine::array(rows);
}

} // namespace

void cmdAcp(const ArgReader&, const Output& out) {
    out(JsonLine()
            .add("acp", GetACP())
            .add("oemcp", GetOEMCP())
            .add("lcid", static_cast<long long>(GetUserDefaultLCID()))
            .add("ui_language", static_cast<long long>(GetUserDefaultUILanguage()))
            .str());
}

namespace {
BOOL CALLBACK addMonitorRect(HMONITOR, HDC, LPRECT bounds, LPARAM rects) {
    reinterpret_cast<std::vector<std::string>*>(rects)->push_back(rectJson(*bounds));
    return TRUE;
}
} // namespace

void cmdDpi(const ArgReader&, const Output& out) {
    int dpiX = 0, dpiY = 0;
    {
        win32::WindowDc screen(nullptr);
        dpiX = GetDeviceCaps(screen.get(), LOGPIXELSX);
        dpiY = GetDeviceCaps(screen.get(), LOGPIXELSY);
    }
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    std::vector<std::string> monitorRects;
    EnumDisplayMonitors(nullptr, nullptr, addMonitorRect, reinterpret_cast<LPARAM>(&monitorRects));
    out(JsonLine()
            .add("dpi_x", dpiX)
            .add("dpi_y", dpiY)
            .add("screen", {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)})
            .addRaw("work_area", rectJson(work))
            .add("monitors", GetSystemMetrics(SM_CMONITORS))
            .addRaw("monitor_rects", JsonLine::array(monitorRects))
            .add("virtual_screen",
                 {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                  GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)})
            .str());
}

// The system colours as a theme change sets them: SetSysColors, which the system keeps for the
// programs started afterwards and announces to the running ones. Each argument is a COLOR_
// index, or INDEX=rrggbb to set it; each index's colour before any change is printed, so the
// caller can put it back.
void cmdSysColors(const ArgReader& a, const Output& out) {
    std::vector<int> changed;
    std::vector<COLORREF> values;
    for (size_t i = 0; i < a.count(); ++i) {
        const std::wstring& arg = a.at(i, "INDEX or INDEX=rrggbb");
        const size_t equals = arg.find(L'=');
        const int index = intArg(arg.substr(0, equals), "colour index");
        const COLORREF before = GetSysColor(index);
        out(JsonLine()
                .add("index", index)
                .add("rgb", hexColour("#%06lx", (GetRValue(before) << 16) |
                                                    (GetGValue(before) << 8) | GetBValue(before)))
                .str());
        if (equals != std::wstring::npos) {
            const long long rgb = number(L"0x" + arg.substr(equals + 1), "colour rrggbb");
            changed.push_back(index);
            values.push_back(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
        }
    }
    if (!changed.empty() &&
        !SetSysColors(static_cast<int>(changed.size()), changed.data(), values.data())) {
        throw CommandError("SetSysColors failed");
    }
}

// Tooltip texts live in the tooltip control's own process: the tool structures and the
// text buffer have to be in that process's memory for TTM_ENUMTOOLSW and TTM_GETTEXTW.
void cmdTooltip(const ArgReader& a, const Output& out) {
    HWND target = windowArg(a.at(0, "hwnd"));
    DWORD pid = 0;
    GetWindowThreadProcessId(target, &pid);
    const bool targetIsTooltip = className(target) == TOOLTIPS_CLASSW;
    ToolQuery query(pid);
    bool found = false;
    for (HWND tip : tooltipsOf(pid, targetIsTooltip ? target : nullptr)) {
        DWORD_PTR count = 0;
        SendMessageTimeoutW(tip, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, sendTimeoutMs(), &count);
        for (DWORD_PTR i = 0; i < count; ++i) {
            const std::optional<TTTOOLINFOW> info = query.tool(tip, i);
            if (!info || (!targetIsTooltip && toolWindowOf(*info) != target)) {
                continue;
            }
            found = true;
            out(JsonLine()
                    .add("tooltip", handleNumber(tip))
                    .add("tool", handleNumber(toolWindowOf(*info)))
                    .add("id", static_cast<long long>(info->uId))
                    .add("flags", static_cast<long long>(info->uFlags))
                    .addRaw("rect", rectJson(info->rect))
                    .add("text", query.text(tip, *info))
                    .add("shown", IsWindowVisible(tip) != FALSE)
                    .str());
        }
    }
    if (!found) {
        throw CommandError("no tooltip tool for that window");
    }
}

// Colours of a window's area as they are on the screen (what the user sees, whoever
// painted it): the average, the most frequent colours and, with --dump, every pixel.
void cmdPixels(const ArgReader& a, const Output& out) {
    HWND hwnd = windowArg(a.at(0, "hwnd"));
    const Area area = areaArg(a, hwnd);
    POINT origin{area.x, area.y};
    ClientToScreen(hwnd, &origin);
    const std::vector<DWORD> pixels = screenPixels(origin, area.width, area.height);
    std::array<long long, 3> sum{};
    for (DWORD v : pixels) {
        sum[0] += (v >> 16) & 0xFF;
        sum[1] += (v >> 8) & 0xFF;
        sum[2] += v & 0xFF;
    }
    const auto n = static_cast<long long>(pixels.size());
    JsonLine line;
    line.add("origin", {origin.x, origin.y})
        .add("size", {area.width, area.height})
        .add("average", {sum[0] / n, sum[1] / n, sum[2] / n})
        .addRaw("colors", commonColoursJson(pixels));
    if (a.flag(L"dump")) {
        line.addRaw("rows", rowsJson(pixels, area.width));
    }
    out(line.str());
}

void cmdMciError(const ArgReader& a, const Output& out) {
    const auto code = static_cast<MCIERROR>(number(a.at(0, "error"), "error"));
    std::array<wchar_t, MAXERRORLENGTH> text{};
    if (!mciGetErrorStringW(code, text.data(), MAXERRORLENGTH)) {
        throw CommandError("MCI knows no text for this error");
    }
    out(JsonLine().add("text", toUtf8(text.data())).str());
}

void cmdVersion(const ArgReader& a, const Output& out) {
    out(versionInfoJson(a.at(0, "path")));
}

void cmdAccessible(const ArgReader& a, const Output& out) {
    out(accessibleJson(windowArg(a.at(0, "hwnd"))));
}

void cmdShortPath(const ArgReader& a, const Output& out) {
    out(shortPathJson(a.at(0, "path")));
}

void cmdPing(const ArgReader&, const Output& out) {
    out(JsonLine().add("pong", true).str());
}

void cmdSlowness(const ArgReader& a, const Output& out) {
    setSlowness(std::wcstod(a.at(0, "factor").c_str(), nullptr));
    out(JsonLine().addRaw("slowness", std::to_string(slowness())).str());
}

} // namespace ambrel::e2e
