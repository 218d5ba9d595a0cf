// The five display preferences kept in the settings file.
#pragma once

#include <cstdint>

namespace halvorn {

struct DisplaySettings {
    // 1: the ordinate axis always runs from 0 to 100 %T; 0: from the readers'
    // proposal.
    std::int16_t FixedYRange = 0;
    // Wavenumber scale: 0 two sections, 1 one section, 2 three sections.
    std::int16_t WavenumberSections = 0;
    std::int16_t PreferenceSource = 0;
    // 0 transmittance grid, 1 absorbance grid.
    std::int16_t YGridMode = 0;
    // 0 wavenumber scale, 1 wavelength scale.
    std::int16_t XScaleKind = 0;
};

}  // namespace halvorn
