// The settings text on arbitrary bytes: five values or nothing, every value
// one of its field's options or the held one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    halvorn::DisplaySettings held;
    held.WavenumberSections = 1;
    const auto read = halvorn::ParseSettingsText(text, held);
    if (read) {
        const auto within = [](std::int16_t v, int highest) { return v >= 0 && v <= highest; };
        if (!within(read->FixedYRange, 1) || !within(read->WavenumberSections, 2) ||
            !within(read->PreferenceSource, 1) || !within(read->YGridMode, 1) ||
            !within(read->XScaleKind, 1)) {
            std::abort();
        }
        // What is written reads back the same.
        const auto again = halvorn::ParseSettingsText(halvorn::SettingsFileText(*read));
        if (!again || again->FixedYRange != read->FixedYRange ||
            again->WavenumberSections != read->WavenumberSections ||
            again->PreferenceSource != read->PreferenceSource ||
            again->YGridMode != read->YGridMode || again->XScaleKind != read->XScaleKind) {
            std::abort();
        }
    }
    return 0;
}
