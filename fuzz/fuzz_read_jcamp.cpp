// The JCAMP-DX reader on arbitrary bytes: it reads the file or refuses it with a
// message, and never crashes, hangs or lets an exception escape.
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    halvorn::Spectrum s;
    (void)halvorn::fuzz::ReadBytes(halvorn::FileFormat::Jcamp, data, size, s);
    return 0;
}
