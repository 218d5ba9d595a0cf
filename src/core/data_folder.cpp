#include "core/data_folder.h"

#include <filesystem>
#include <system_error>

namespace halvorn {

namespace {

namespace fs = std::filesystem;

bool HoldsDemo(const fs::path& folder) {
    std::error_code error;
    return fs::is_regular_file(folder / "Demo.sp", error);
}

}  // namespace

std::string DataFolderFor(const std::string& executableFolder) {
    if (executableFolder.empty()) {
        return executableFolder;
    }
    const fs::path beside(executableFolder);
    if (HoldsDemo(beside)) {
        return executableFolder;
    }
    const fs::path installed = beside / kInstalledDataFolder;
    if (!HoldsDemo(installed)) {
        return executableFolder;
    }
    std::error_code error;
    const fs::path resolved = fs::canonical(installed, error);
    return error ? installed.lexically_normal().string() : resolved.string();
}

}  // namespace halvorn
