// The reader table: which reader reads a file, chosen by its extension.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/record.h"
#include "import/read_outcome.h"

namespace halvorn {

enum class FileFormat { Sp, Jcamp, Prn };

// The format named on a command line ("sp", "jcamp", "prn").
std::optional<FileFormat> FormatNamed(std::string_view name);

// The format a file's extension selects, case-insensitively: .sp; .txt, .dx,
// .jdx; .prn.
std::optional<FileFormat> FormatOfPath(const std::string& path);

ReadOutcome ReadSpectrumFile(FileFormat format, const std::string& path, const ReadRequest& request,
                             Spectrum& s);

}  // namespace halvorn
