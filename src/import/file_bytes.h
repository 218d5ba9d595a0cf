#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace halvorn {

// The whole content of a file, or nothing when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::string& path);

// A file read whole, unless it is longer than a limit.
struct LimitedFileBytes {
    enum class Status { Read, Unreadable, TooLarge };
    Status status = Status::Unreadable;
    std::string bytes;        // the content, when read
    std::uintmax_t size = 0;  // the file's size, when known
};

// Reads the file at path when it is a regular file of at most maxBytes bytes;
// a longer file is not read at all. The bytes go into room, a string whose
// memory a caller that reads many files hands back each time.
LimitedFileBytes ReadFileBytesUpTo(const std::string& path, std::uintmax_t maxBytes,
                                   std::string room = {});

// The file's name without its folder.
std::string FileTitleOf(const std::string& path);

}  // namespace halvorn
