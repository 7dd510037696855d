#pragma once
// The system's file-open dialog and the Windows help viewer.

#include "app/Platform.h"

namespace ambrel::win32 {

class SystemFileDialog : public FileDialog {
public:
    std::string openFile(const FileOpenRequest& request) override;
};

class WinHelpViewer : public HelpViewer {
public:
    void showContents(const std::string& helpFile) override;
};

} // namespace ambrel::win32
