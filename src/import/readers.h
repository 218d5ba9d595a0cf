// The reader table: every format the program reads, in the order the File menu
// offers them, with the name a command line gives it, the extensions that
// select it, its open dialog's filter and its File menu entry.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/record.h"
#include "import/read_outcome.h"

namespace halvorn {

enum class FileFormat { Sp, Jcamp, Prn };

using ReadBytesFunction = ReadOutcome (*)(std::string_view bytes, const ReadRequest& request,
                                          Spectrum& s);
using ReadFileFunction = ReadOutcome (*)(const std::string& path, const ReadRequest& request,
                                         Spectrum& s);

struct ReaderEntry {
    FileFormat format;
    std::string_view cliName;                      // "sp", "jcamp", "prn"
    std::span<const std::string_view> extensions;  // lower case, with the dot
    const char* dialogFilter;                      // "Caption|patterns|..." of the open dialog
    const char* menuName;                          // the File menu entry's control name
    const char* menuCaption;                       // and its caption
    ReadBytesFunction readBytes;
    ReadFileFunction readFile;
};

// The table, most specific format first: the *.sp reader checks its #DATA
// marker, the JCAMP-DX reader its labels; the two-column table reader takes
// almost any text and so comes last.
std::span<const ReaderEntry> ReaderTable();

const ReaderEntry& ReaderOf(FileFormat format);

// The format named on a command line ("sp", "jcamp", "prn").
std::optional<FileFormat> FormatNamed(std::string_view name);

// The format a file's extension selects, case-insensitively: .sp, .asc; .txt,
// .dx, .jdx; .prn, .csv, .tsv, .dpt.
std::optional<FileFormat> FormatOfPath(const std::string& path);

// The format a file's first bytes show: "##" labels are JCAMP-DX, the binary
// block signature or a text header with a #DATA line is *.sp, lines of two
// numbers are a table. Nothing when the bytes look like none of them.
std::optional<FileFormat> FormatOfBytes(std::string_view bytes);

// The format of the file at path: the extension's where it names one, else
// the one its first bytes show; nothing when neither tells or the file
// cannot be read.
std::optional<FileFormat> FormatOfFile(const std::string& path);

// Reads the file with the format's reader. A file the JCAMP-DX reader refuses
// whose first bytes show a table of two numbers a line is read as a *.prn
// table instead, and the diagnostic list says so.
ReadOutcome ReadSpectrumFile(FileFormat format, const std::string& path, const ReadRequest& request,
                             Spectrum& s);

// Reads a file's bytes already in memory, as ReadSpectrumFile reads them from disk.
ReadOutcome ReadSpectrumBytes(FileFormat format, std::string_view bytes, const ReadRequest& request,
                              Spectrum& s);

}  // namespace halvorn
