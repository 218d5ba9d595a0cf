// The header window's rich-text reader on arbitrary bytes, with the plain text
// and the HTML made from what it read.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/rtf_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto document = halvorn::ParseRtf(bytes)) {
        (void)halvorn::RtfPlainText(*document);
        (void)halvorn::RtfToHtml(*document);
    }
    return 0;
}
