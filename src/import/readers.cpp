#include "import/readers.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "import/jcamp_reader.h"
#include "import/prn_reader.h"
#include "import/sp_reader.h"

namespace halvorn {

namespace {

constexpr std::array<std::string_view, 1> kSpExtensions = {".sp"};
constexpr std::array<std::string_view, 3> kJcampExtensions = {".txt", ".dx", ".jdx"};
constexpr std::array<std::string_view, 1> kPrnExtensions = {".prn"};

const std::array<ReaderEntry, 3> kReaders = {{
    {FileFormat::Sp, "sp", kSpExtensions, "Infrared Spectra (*.sp)|*.sp|All Files(*.*)|*.*",
     "mnuOpenIRfile", "Open IR file (*.sp files only)", ReadSpBytes, ReadSpFile},
    {FileFormat::Jcamp, "jcamp", kJcampExtensions,
     "Infrared Spectra (*.txt;*.dx;*.jdx)|*.txt;*.dx;*.jdx|All Files(*.*)|*.*", "mnuOpenJCamp",
     "Open JCampDX", ReadJcampBytes, ReadJcampFile},
    // Almost any text is a two-column table, so this reader comes last.
    {FileFormat::Prn, "prn", kPrnExtensions, "Infrared Spectra (*.prn)|*.prn|All Files(*.*)|*.*",
     "mnuOpenPRN", "Open *.prn file", ReadPrnBytes, ReadPrnFile},
}};

}  // namespace

std::span<const ReaderEntry> ReaderTable() {
    return kReaders;
}

const ReaderEntry& ReaderOf(FileFormat format) {
    for (const ReaderEntry& entry : kReaders) {
        if (entry.format == format) {
            return entry;
        }
    }
    return kReaders.back();
}

std::optional<FileFormat> FormatNamed(std::string_view name) {
    for (const ReaderEntry& entry : kReaders) {
        if (entry.cliName == name) {
            return entry.format;
        }
    }
    return std::nullopt;
}

std::optional<FileFormat> FormatOfPath(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    for (const ReaderEntry& entry : kReaders) {
        if (std::find(entry.extensions.begin(), entry.extensions.end(), extension) !=
            entry.extensions.end()) {
            return entry.format;
        }
    }
    return std::nullopt;
}

ReadOutcome ReadSpectrumFile(FileFormat format, const std::string& path, const ReadRequest& request,
                             Spectrum& s) {
    return ReaderOf(format).readFile(path, request, s);
}

ReadOutcome ReadSpectrumBytes(FileFormat format, std::string_view bytes, const ReadRequest& request,
                              Spectrum& s) {
    return ReaderOf(format).readBytes(bytes, request, s);
}

}  // namespace halvorn
