// The four X-scale modes of the graph and how they are kept in the two
// settings fields XScaleKind and WavenumberSections (which are the settings
// file's format and stay as they are).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/settings.h"

namespace halvorn {

// In the order of the four scale buttons, left to right.
enum class XScaleMode { OneSection, TwoSections, ThreeSections, Wavelength };

struct XScaleModeRow {
    XScaleMode mode;
    std::int16_t XScaleKind;
    // What the mode's button sets; the wavelength button leaves the sections
    // as they are (the value here is only the default).
    std::int16_t WavenumberSections;
    const char* caption;  // UTF-8
    const char* tooltip;
};

inline constexpr std::array<XScaleModeRow, 4> kXScaleModes = {{
    {XScaleMode::OneSection, 0, 1, "1", "Linear in Wavenumbers, 1 section"},
    {XScaleMode::TwoSections, 0, 0, "2", "Linear in Wavenumbers, 2 sections"},
    {XScaleMode::ThreeSections, 0, 2, "3", "Linear in Wavenumbers, 3 sections"},
    {XScaleMode::Wavelength, 1, 0, "\xC2\xB5", "Linear in Wavelenght"},
}};

// The table row of a mode.
const XScaleModeRow& RowOf(XScaleMode mode);

// The mode the settings describe: the wavelength scale whenever XScaleKind is
// 1, else the wavenumber variant of WavenumberSections. Nothing for values
// outside the fields' ranges (a hand-edited settings file).
std::optional<XScaleMode> XScaleModeOf(const DisplaySettings& settings);

// What the mode's button sets: XScaleKind and WavenumberSections for the
// wavenumber modes, XScaleKind = 1 alone for the wavelength mode.
void SetXScaleMode(DisplaySettings& settings, XScaleMode mode);

// Each X-scale layout keeps its own peak label rectangles, indexed by
// WavenumberSections (0..2) and XScaleKind (0..1); the wavelength layout
// therefore depends on the sections as well.
inline constexpr std::size_t kLayoutSections = 3;
inline constexpr std::size_t kLayoutKinds = 2;

struct LabelLayoutIndex {
    std::size_t sections = 0;
    std::size_t kind = 0;
    bool operator==(const LabelLayoutIndex&) const = default;
};

// The label layout of the settings; nothing when a field is out of range.
std::optional<LabelLayoutIndex> LabelLayoutOf(const DisplaySettings& settings);

}  // namespace halvorn
