#include "app/win32/CommonDialogs.h"

#include "app/RuntimeError.h"
#include "app/win32/LateLibraries.h"
#include "app/win32/WideText.h"

#include <windows.h>

#include <commdlg.h>

#include <vector>

namespace ambrel::win32 {

namespace {
// "desc|pattern|desc|pattern|" becomes the double-NUL-terminated list the dialog wants.
std::wstring filterList(const std::string& filter) {
    std::wstring list = widen(filter);
    for (wchar_t& c : list) {
        if (c == L'|') {
            c = L'\0';
        }
    }
    list.push_back(L'\0');
    return list;
}
} // namespace

std::string SystemFileDialog::openFile(const FileOpenRequest& request) {
    const std::wstring filter = filterList(request.filter);
    const std::wstring title = widen(request.title);
    const std::wstring extension = widen(request.defaultExtension);
    std::vector<wchar_t> file(32768, L'\0');

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex);
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size()); // characters, not bytes
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = OFN_EXPLORER | (request.hideReadOnly ? OFN_HIDEREADONLY : 0);
    if (late::GetOpenFileNameW(&dialog)) {
        return narrow(file.data());
    }
    throw RuntimeError(late::CommDlgExtendedError() == 0 ? kDialogCancelled : kPathAccessError);
}

} // namespace ambrel::win32
