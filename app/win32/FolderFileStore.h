#pragma once
// Files in the executable's folder.

#include "app/Platform.h"

namespace ambrel::win32 {

class FolderFileStore : public FileStore {
public:
    FolderFileStore();
    std::optional<std::string> read(const std::string& name) override;
    void replace(const std::string& name, std::string_view bytes) override;
    std::string pathOf(const std::string& name) const override { return folder_ + "\\" + name; }

private:
    std::string folder_;
};

} // namespace ambrel::win32
