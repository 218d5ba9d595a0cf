// Shared pieces of the fuzz targets. Each target defines
// LLVMFuzzerTestOneInput; built with libFuzzer it is a fuzzer, built with the
// replay driver it runs every seed and reproducer given on its command line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/record.h"
#include "import/read_outcome.h"
#include "import/readers.h"

namespace halvorn::fuzz {

// The readers take a path: the bytes go to a scratch file of this process,
// named with the format's usual extension, rewritten for every input.
std::string ScratchFile(const std::uint8_t* data, std::size_t size, const char* extension);

// Reads the bytes as a file of the format, as the viewer's Open does.
ReadOutcome ReadBytes(FileFormat format, const std::uint8_t* data, std::size_t size, Spectrum& s);

}  // namespace halvorn::fuzz
