// The general JCAMP-DX reader on arbitrary bytes, straight from memory: it
// reads the file or refuses it with a message, and never crashes, hangs or
// lets an exception escape. Every second input asks for a block by its
// first byte.
#include <string_view>

#include "import/jcamp_standard.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    halvorn::Spectrum s;
    halvorn::ReadRequest request;
    request.fileTitle = "fuzz.jdx";
    if (size > 0 && (data[0] & 1) != 0) {
        request.block = data[0] >> 4;
    }
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)halvorn::ReadStandardJcampBytes(bytes, request, s);
    return 0;
}
