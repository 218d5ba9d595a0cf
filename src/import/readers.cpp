#include "import/readers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "import/delimited_table.h"
#include "import/jcamp_reader.h"
#include "import/prn_reader.h"
#include "import/sp_reader.h"

namespace halvorn {

namespace {

constexpr std::array<std::string_view, 2> kSpExtensions = {".sp", ".asc"};
constexpr std::array<std::string_view, 3> kJcampExtensions = {".txt", ".dx", ".jdx"};
constexpr std::array<std::string_view, 4> kPrnExtensions = {".prn", ".csv", ".tsv", ".dpt"};

// How much of a file's start FormatOfFile looks at.
constexpr std::size_t kHeadBytes = 65536;

// The four signature bytes of the binary block format.
constexpr std::string_view kBlockSignature = "\x50\x45\x50\x45";

// The lines of a file's start, ended by CR LF, CR or LF; the last line, cut
// off by the end of what was read, is left out unless it is all there is.
std::vector<std::string_view> HeadLines(std::string_view head, bool whole) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < head.size()) {
        const std::size_t end = head.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            if (whole || lines.empty()) {
                lines.push_back(head.substr(start));
            }
            break;
        }
        lines.push_back(head.substr(start, end - start));
        start = end + 1;
        if (head[end] == '\r' && start < head.size() && head[start] == '\n') {
            ++start;
        }
    }
    return lines;
}

std::string_view TrimmedLine(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

// Whether text is one number, with a period or a comma as its decimal sign.
bool IsNumber(std::string_view text) {
    std::string number(text);
    std::replace(number.begin(), number.end(), ',', '.');
    const char* first = number.data();
    const char* const last = first + number.size();
    if (first != last && *first == '+') {
        ++first;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && first != last;
}

// Whether a line holds two numbers, separated by a TAB, a semicolon, a comma
// or blanks.
bool IsNumberPairLine(std::string_view line) {
    line = TrimmedLine(line);
    if (line.empty()) {
        return false;
    }
    for (const char separator : {'\t', ';', ','}) {
        const std::size_t at = line.find(separator);
        if (at != std::string_view::npos) {
            const std::string_view rest = line.substr(at + 1);
            if (rest.find(separator) == std::string_view::npos &&
                IsNumber(TrimmedLine(line.substr(0, at))) && IsNumber(TrimmedLine(rest))) {
                return true;
            }
        }
    }
    const std::size_t blank = line.find(' ');
    return blank != std::string_view::npos && IsNumber(line.substr(0, blank)) &&
           IsNumber(TrimmedLine(line.substr(blank + 1)));
}

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

std::optional<FileFormat> FormatOfBytes(std::string_view bytes) {
    // UTF-16 text is told by its characters; only the table reader reads it.
    if (const std::optional<std::string> narrow = NarrowUtf16(bytes.substr(0, 2 * kHeadBytes))) {
        const std::optional<FileFormat> format =
            FormatOfBytes(std::string_view(*narrow).substr(0, kHeadBytes));
        return format == FileFormat::Prn ? format : std::nullopt;
    }
    const bool whole = bytes.size() <= kHeadBytes;
    const std::string_view head = bytes.substr(0, kHeadBytes);
    if (head.starts_with(kBlockSignature)) {
        return FileFormat::Sp;
    }
    const std::vector<std::string_view> lines = HeadLines(head, whole);
    // JCAMP-DX: the first line that is not blank starts with a ## label.
    for (std::string_view line : lines) {
        if (line.starts_with("\xEF\xBB\xBF")) {
            line.remove_prefix(3);
        }
        line = TrimmedLine(line);
        if (!line.empty()) {
            if (line.starts_with("##")) {
                return FileFormat::Jcamp;
            }
            break;
        }
    }
    // *.sp text header: a #DATA line among the first lines.
    constexpr std::size_t kSpHeaderLines = 128;
    for (std::size_t k = 1; k < lines.size() && k < kSpHeaderLines; ++k) {
        if (lines[k].starts_with("#DATA")) {
            return FileFormat::Sp;
        }
    }
    // A table: after any header lines, lines of two numbers, at least two of
    // them in a row (or one in a file of one line).
    int pairsInRow = 0;
    for (std::string_view line : lines) {
        if (IsNumberPairLine(line)) {
            if (++pairsInRow == 2) {
                return FileFormat::Prn;
            }
        } else {
            pairsInRow = 0;
        }
    }
    if (pairsInRow == 1 && lines.size() == 1) {
        return FileFormat::Prn;
    }
    return std::nullopt;
}

namespace {

// The format the first bytes of the file at path show.
std::optional<FileFormat> FormatOfHead(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    // One byte more than is looked at tells whether the start is the whole file.
    std::string head(kHeadBytes + 1, '\0');
    const std::size_t got = std::fread(head.data(), 1, head.size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        return std::nullopt;
    }
    head.resize(got);
    return FormatOfBytes(head);
}

// A file the JCAMP-DX reader refuses whose bytes are a table of two numbers a
// line (a *.txt export, say) is read as a table, and the diagnostic list says so.
template <typename ReadTable>
ReadOutcome TableInsteadOfJcamp(ReadOutcome refused, Spectrum& s, ReadTable&& readTable) {
    ReadOutcome outcome = std::forward<ReadTable>(readTable)();
    if (!outcome.ok) {
        return outcome;
    }
    s.DiagnosticList.insert(s.DiagnosticList.begin(),
                            "not JCAMP-DX (" +
                                refused.message.substr(0, refused.message.find('\r')) +
                                "): read as a table of two numbers a line");
    return outcome;
}

}  // namespace

std::optional<FileFormat> FormatOfFile(const std::string& path) {
    if (const std::optional<FileFormat> format = FormatOfPath(path)) {
        return format;
    }
    return FormatOfHead(path);
}

ReadOutcome ReadSpectrumFile(FileFormat format, const std::string& path, const ReadRequest& request,
                             Spectrum& s) {
    ReadOutcome outcome = ReaderOf(format).readFile(path, request, s);
    if (!outcome.ok && format == FileFormat::Jcamp && FormatOfHead(path) == FileFormat::Prn) {
        return TableInsteadOfJcamp(std::move(outcome), s,
                                   [&] { return ReadPrnFile(path, request, s); });
    }
    return outcome;
}

ReadOutcome ReadSpectrumBytes(FileFormat format, std::string_view bytes, const ReadRequest& request,
                              Spectrum& s) {
    ReadOutcome outcome = ReaderOf(format).readBytes(bytes, request, s);
    if (!outcome.ok && format == FileFormat::Jcamp && FormatOfBytes(bytes) == FileFormat::Prn) {
        return TableInsteadOfJcamp(std::move(outcome), s,
                                   [&] { return ReadPrnBytes(bytes, request, s); });
    }
    return outcome;
}

}  // namespace halvorn
