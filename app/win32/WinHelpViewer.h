#pragma once
// The Windows help viewer (WinHelp), and whether the system has a working one.

#include "app/Platform.h"

namespace ambrel::win32 {

class WinHelpViewer : public HelpViewer {
public:
    bool available() const override;
    void showContents(const std::string& helpFile) override;
};

} // namespace ambrel::win32
