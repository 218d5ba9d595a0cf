// The readers of text that is not quite a documented format, on arbitrary
// bytes: the format guess from the first bytes, the forgiving table reader and
// the *.sp reader of ASCII data. Each reads or refuses with a message, and
// never crashes, hangs or lets an exception escape.
#include <cstdlib>
#include <string_view>

#include "fuzz_input.h"
#include "import/delimited_table.h"
#include "import/sp_ascii.h"

namespace {

void Check(const halvorn::ReadOutcome& outcome, const halvorn::Spectrum& s) {
    if (outcome.ok != (s.PointCount > 0) || (!outcome.ok && outcome.message.empty()) ||
        s.WaveX.size() != static_cast<std::size_t>(s.PointCount) + 1 ||
        s.RawY.size() != s.WaveX.size()) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)halvorn::FormatOfBytes(bytes);
    halvorn::Spectrum s;
    Check(halvorn::ReadDelimitedTableBytes(bytes, {}, s), s);
    halvorn::Spectrum t;
    Check(halvorn::ReadSpAsciiBytes(bytes, {}, t), t);
    return 0;
}
