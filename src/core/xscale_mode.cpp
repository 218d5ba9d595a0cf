#include "core/xscale_mode.h"

namespace halvorn {

const XScaleModeRow& RowOf(XScaleMode mode) {
    return kXScaleModes[static_cast<std::size_t>(mode)];
}

std::optional<XScaleMode> XScaleModeOf(const DisplaySettings& settings) {
    if (settings.XScaleKind == 1) {
        return XScaleMode::Wavelength;
    }
    if (settings.XScaleKind != 0) {
        return std::nullopt;
    }
    for (const XScaleModeRow& row : kXScaleModes) {
        if (row.XScaleKind == 0 && row.WavenumberSections == settings.WavenumberSections) {
            return row.mode;
        }
    }
    return std::nullopt;
}

void SetXScaleMode(DisplaySettings& settings, XScaleMode mode) {
    const XScaleModeRow& row = RowOf(mode);
    settings.XScaleKind = row.XScaleKind;
    if (mode != XScaleMode::Wavelength) {
        settings.WavenumberSections = row.WavenumberSections;
    }
}

std::optional<LabelLayoutIndex> LabelLayoutOf(const DisplaySettings& settings) {
    if (settings.WavenumberSections < 0 ||
        settings.WavenumberSections >= static_cast<int>(kLayoutSections) ||
        settings.XScaleKind < 0 || settings.XScaleKind >= static_cast<int>(kLayoutKinds)) {
        return std::nullopt;
    }
    return LabelLayoutIndex{static_cast<std::size_t>(settings.WavenumberSections),
                            static_cast<std::size_t>(settings.XScaleKind)};
}

}  // namespace halvorn
