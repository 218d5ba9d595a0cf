#pragma once

#include <optional>
#include <string>

namespace halvorn {

// The whole content of a file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::string& path);

// The file's name without its folder.
std::string FileTitleOf(const std::string& path);

}  // namespace halvorn
