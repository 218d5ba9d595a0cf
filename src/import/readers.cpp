#include "import/readers.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "import/jcamp_reader.h"
#include "import/prn_reader.h"
#include "import/sp_reader.h"

namespace halvorn {

std::optional<FileFormat> FormatNamed(std::string_view name) {
    if (name == "sp") {
        return FileFormat::Sp;
    }
    if (name == "jcamp") {
        return FileFormat::Jcamp;
    }
    if (name == "prn") {
        return FileFormat::Prn;
    }
    return std::nullopt;
}

std::optional<FileFormat> FormatOfPath(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".sp") {
        return FileFormat::Sp;
    }
    if (extension == ".txt" || extension == ".dx" || extension == ".jdx") {
        return FileFormat::Jcamp;
    }
    if (extension == ".prn") {
        return FileFormat::Prn;
    }
    return std::nullopt;
}

ReadOutcome ReadSpectrumFile(FileFormat format, const std::string& path, const ReadRequest& request,
                             Spectrum& s) {
    switch (format) {
        case FileFormat::Sp:
            return ReadSpFile(path, request, s);
        case FileFormat::Jcamp:
            return ReadJcampFile(path, request, s);
        case FileFormat::Prn:
            break;
    }
    return ReadPrnFile(path, request, s);  // the two-column table, the least specific format
}

}  // namespace halvorn
