#include "import/file_bytes.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <utility>

namespace halvorn {

LimitedFileBytes ReadFileBytesUpTo(const std::string& path, std::uintmax_t maxBytes,
                                   std::string room) {
    LimitedFileBytes result;
    result.bytes = std::move(room);
    result.bytes.clear();
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return result;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        return result;
    }
    result.size = size;
    if (size > maxBytes) {
        result.status = LimitedFileBytes::Status::TooLarge;
        return result;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return result;
    }
    // Read to the end, whatever size was told: a file may grow meanwhile, and
    // some report no size at all. One byte more than told is asked for, so
    // that a file of the size told ends with the first read.
    result.bytes.resize(static_cast<std::size_t>(size) + 1);
    std::size_t got = std::fread(result.bytes.data(), 1, result.bytes.size(), file);
    bool tooLarge = false;
    while (got == result.bytes.size() && !std::ferror(file) && !std::feof(file)) {
        if (result.bytes.size() > maxBytes) {
            tooLarge = true;
            break;
        }
        result.bytes.resize(result.bytes.size() + 65536);
        got += std::fread(result.bytes.data() + got, 1, result.bytes.size() - got, file);
    }
    result.bytes.resize(got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed || tooLarge || got > maxBytes) {
        result.status =
            failed ? LimitedFileBytes::Status::Unreadable : LimitedFileBytes::Status::TooLarge;
        result.size = std::max<std::uintmax_t>(size, got);
        result.bytes.clear();
        return result;
    }
    result.status = LimitedFileBytes::Status::Read;
    return result;
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
    LimitedFileBytes file = ReadFileBytesUpTo(path, std::numeric_limits<std::uintmax_t>::max());
    if (file.status != LimitedFileBytes::Status::Read) {
        return std::nullopt;
    }
    return std::move(file.bytes);
}

std::string FileTitleOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

}  // namespace halvorn
