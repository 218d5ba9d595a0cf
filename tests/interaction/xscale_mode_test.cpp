// The X-scale mode table and its two settings fields.
#include "core/xscale_mode.h"

#include <gtest/gtest.h>

namespace halvorn {
namespace {

TEST(XScaleMode, ModesAndSettingsFieldsConvertBothWays) {
    for (const XScaleModeRow& row : kXScaleModes) {
        DisplaySettings settings;
        settings.WavenumberSections = 2;
        SetXScaleMode(settings, row.mode);
        EXPECT_EQ(XScaleModeOf(settings), row.mode);
    }
    DisplaySettings settings;
    settings.WavenumberSections = 2;
    SetXScaleMode(settings, XScaleMode::Wavelength);
    // The wavelength button leaves the sections, and so the layout, alone.
    EXPECT_EQ(settings.WavenumberSections, 2);
    EXPECT_EQ(LabelLayoutOf(settings), (LabelLayoutIndex{2, 1}));
    SetXScaleMode(settings, XScaleMode::OneSection);
    EXPECT_EQ(settings.XScaleKind, 0);
    EXPECT_EQ(settings.WavenumberSections, 1);
    EXPECT_STREQ(RowOf(XScaleMode::Wavelength).tooltip, "Linear in Wavelenght");
}

TEST(XScaleMode, FieldsOutOfRangeGiveNoModeAndNoLayout) {
    for (auto [kind, sections] : {std::pair{0, 3}, {0, -1}, {2, 0}, {-1, 0}}) {
        DisplaySettings settings;
        settings.XScaleKind = static_cast<std::int16_t>(kind);
        settings.WavenumberSections = static_cast<std::int16_t>(sections);
        EXPECT_FALSE(XScaleModeOf(settings)) << kind << " " << sections;
        EXPECT_FALSE(LabelLayoutOf(settings)) << kind << " " << sections;
    }
}

}  // namespace
}  // namespace halvorn
