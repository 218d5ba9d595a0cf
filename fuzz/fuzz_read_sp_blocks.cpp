// The binary block *.sp reader on arbitrary bytes after the format's
// signature: it reads the file or refuses it with a message, and never
// crashes, hangs or lets an exception escape.
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_input.h"
#include "import/sp_blocks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!halvorn::HasBlockSignature(bytes)) {
        bytes.insert(0, "\x50\x45\x50\x45");
    }
    halvorn::Spectrum s;
    const halvorn::ReadOutcome outcome = halvorn::ReadSpBlocksBytes(bytes, {}, s);
    if ((!outcome.ok && outcome.message.empty()) ||
        s.WaveX.size() != static_cast<std::size_t>(s.PointCount) + 1 ||
        outcome.ok != (s.PointCount > 0)) {
        std::abort();
    }
    return 0;
}
