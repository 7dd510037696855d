#pragma once
// The system's file-open dialog.

#include "app/Platform.h"

namespace ambrel::win32 {

class SystemFileDialog : public FileDialog {
public:
    std::string openFile(const FileOpenRequest& request) override;
};

} // namespace ambrel::win32
