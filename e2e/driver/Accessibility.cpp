#include "Accessibility.h"

#include "JsonLine.h"
#include "app/win32/WideText.h"

#include <oleacc.h>

namespace ambrel::e2e {

namespace {

// COM for the driver's thread, once: oleacc's objects are COM objects.
void ensureCom() {
    static const HRESULT initialised = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)initialised;
}

std::string fromBstr(BSTR text) {
    std::string utf8 = win32::narrow(std::wstring(text, SysStringLen(text)));
    SysFreeString(text);
    return utf8;
}

} // namespace

std::string accessibleJson(HWND window) {
    ensureCom();
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object))) ||
        object == nullptr) {
        return JsonLine().add("available", false).str();
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    JsonLine line;
    line.add("available", true);
    BSTR name = nullptr;
    if (object->get_accName(self, &name) == S_OK && name != nullptr) {
        line.add("name", fromBstr(name));
    } else {
        line.addRaw("name", "null");
    }
    VARIANT role{};
    if (object->get_accRole(self, &role) == S_OK && role.vt == VT_I4) {
        wchar_t text[128] = L"";
        GetRoleTextW(static_cast<DWORD>(role.lVal), text, 128);
        line.add("role", static_cast<long long>(role.lVal)).add("role_text", std::wstring(text));
    } else {
        line.addRaw("role", "null");
    }
    object->Release();
    return line.str();
}

std::string shortPathJson(const std::wstring& path) {
    const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) {
        return JsonLine().addRaw("short", "null").str();
    }
    std::wstring shortPath(needed, L'\0');
    const DWORD written = GetShortPathNameW(path.c_str(), shortPath.data(), needed);
    shortPath.resize(written < needed ? written : 0);
    return JsonLine().add("short", shortPath).str();
}

} // namespace ambrel::e2e
