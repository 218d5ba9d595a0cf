// The limits dialog on a 4000..400 cm-1 spectrum in 1 cm-1 steps.
#include "interaction/limits.h"

#include <gtest/gtest.h>

#include "graph/graph_test_support.h"

namespace halvorn {
namespace {

struct Answer {
    bool yes;
    int asked = 0;
    bool operator()() {
        ++asked;
        return yes;
    }
};

class Limits : public ::testing::Test {
  protected:
    LimitsOkResult Ok(const std::string& left, const std::string& right, bool yes = true) {
        dialog.Text1 = left;
        dialog.Text2 = right;
        Answer answer{yes};
        const LimitsOkResult r = dialog.Ok(s, std::ref(answer));
        EXPECT_EQ(answer.asked, r.asked ? 1 : 0);
        return r;
    }
    void ExpectRange(double first, double last) {
        EXPECT_EQ(s.FirstX, first);
        EXPECT_EQ(s.LastX, last);
        EXPECT_EQ(s.ViewFirstPoint, 4001 - first);
        EXPECT_EQ(s.ViewLastPoint, 4001 - last);
        EXPECT_EQ(s.FirstWL, 10000 / first);
        EXPECT_EQ(s.LastWL, 10000 / last);
    }

    Spectrum s = test::FlatSpectrum(4000, 400);
    LimitsDialogModel dialog;
};

TEST_F(Limits, ReversedLimitsAreExchangedAndSnappedToDataPoints) {
    s.RelayoutLabels = false;
    const LimitsOkResult r = Ok("1000", "2000.5");
    EXPECT_TRUE(r.closed);
    EXPECT_FALSE(r.asked || r.error || r.enableExpand);
    EXPECT_EQ(dialog.Text1, "2000.5");
    EXPECT_EQ(dialog.Text2, "1000");
    ExpectRange(2001, 1000);  // the point at or just above 2000.5
    EXPECT_TRUE(s.RelayoutLabels);
}

TEST_F(Limits, LimitsBeyondTheSpectrumAreClampedAndTheWholeSpectrumEnablesExpansion) {
    s.FirstX = 3000;  // some earlier range
    s.FirstWL = 10000 / 3000.0;
    const LimitsOkResult r = Ok("5000", "300");
    EXPECT_TRUE(r.closed && r.enableExpand);
    EXPECT_EQ(dialog.Text1, "4000");
    EXPECT_EQ(dialog.Text2, "400");
    ExpectRange(4000, 400);
}

TEST_F(Limits, ATooShortRangeIsEnlargedOnYes) {
    const LimitsOkResult r = Ok("1050", "1000");
    EXPECT_TRUE(r.asked && r.closed);
    EXPECT_EQ(dialog.Text2, "954.545454545455");
    ExpectRange(1050, 955);
}

TEST_F(Limits, OnNoTheDialogStaysOpenWithTheTextsAsTheyNowAre) {
    const LimitsOkResult r = Ok("1000", "1050", false);
    EXPECT_TRUE(r.asked);
    EXPECT_FALSE(r.closed || r.error);
    EXPECT_EQ(dialog.Text1, "1050");
    EXPECT_EQ(dialog.Text2, "1000");
    ExpectRange(4000, 400);
}

TEST_F(Limits, AnEnlargementPastTheEndKeepsTheEndAndWidensTheLeftLimit) {
    const LimitsOkResult r = Ok("420", "410");
    EXPECT_TRUE(r.asked && r.closed);
    EXPECT_EQ(dialog.Text1, "462");
    EXPECT_EQ(dialog.Text2, "400");
    ExpectRange(462, 400);
}

TEST_F(Limits, OnAShortSpectrumTheEnlargedLeftLimitIsClampedToTheStart) {
    s = test::FlatSpectrum(4000, 3900);
    const LimitsOkResult r = Ok("3950", "3940");
    EXPECT_TRUE(r.asked && r.closed && r.enableExpand);
    EXPECT_EQ(dialog.Text1, "4000");
    EXPECT_EQ(dialog.Text2, "3900");
    EXPECT_EQ(s.ViewFirstPoint, 1);
    EXPECT_EQ(s.ViewLastPoint, 101);
}

TEST_F(Limits, TextsThatAreNoNumbersRestoreTheBoxesAndKeepTheRange) {
    for (auto [left, right] :
         {std::pair{"abc", "1000"}, {"2000", ""}, {"2000", "1000x"}, {"0", "0"}, {"1,5", "1000"}}) {
        const LimitsOkResult r = Ok(left, right);
        EXPECT_TRUE(r.error) << left << " " << right;
        EXPECT_FALSE(r.closed);
        EXPECT_EQ(dialog.Text1, left);
        EXPECT_EQ(dialog.Text2, right);
        ExpectRange(4000, 400);
    }
    EXPECT_STREQ(kLimitsErrorText,
                 "It seems that there is something wrong\r\nwith the limits you have "
                 "entered.\r\n\r\nPlease check.");
}

TEST_F(Limits, TheRangeChangesOnlyWhenBothEndsAreFound) {
    // A nominal step of half the true one puts the right end beyond the data.
    s.DeltaX = -0.5;
    const LimitsOkResult r = Ok("3000", "2000");
    EXPECT_TRUE(r.error);
    ExpectRange(4000, 400);
}

TEST_F(Limits, MicrometresAreExchangedTheOtherWayAndConvertedBack) {
    dialog.MicrometersSelected = true;
    const LimitsOkResult r = Ok("10", "5");
    EXPECT_TRUE(r.closed);
    EXPECT_EQ(dialog.Text1, "5");
    ExpectRange(2000, 1000);
    // 2.5 um is the spectrum's start; 24 um lies beyond its end at 25 um.
    Ok("2", "30");
    EXPECT_EQ(dialog.Text1, "2.5");
    EXPECT_EQ(dialog.Text2, "25");
}

TEST_F(Limits, LoadSwitchUnitsAndBack) {
    Ok("1601", "1000");
    DisplaySettings wavelength;
    wavelength.XScaleKind = 1;
    dialog.Load(s, wavelength);
    EXPECT_TRUE(dialog.MicrometersSelected);
    EXPECT_EQ(dialog.LimitsUnit, kLimitsInMicrometres);
    EXPECT_EQ(dialog.Text1, "6.25");  // 6.2461 rounded to two decimals
    EXPECT_EQ(dialog.Text2, "10");

    dialog.Load(s, DisplaySettings{});
    EXPECT_EQ(dialog.Text1, "1601");
    EXPECT_FALSE(dialog.SelectMicrometers());
    EXPECT_EQ(dialog.Text1, "6.24609618988132");
    EXPECT_EQ(dialog.Text2, "10");
    EXPECT_FALSE(dialog.SelectMicrometers());  // already in micrometres
    EXPECT_EQ(dialog.Text2, "10");
    EXPECT_FALSE(dialog.SelectWavenumbers());
    EXPECT_EQ(dialog.Text1, "1601");
    EXPECT_EQ(dialog.LimitsUnit, kLimitsInWavenumbers);

    // While the dialog selects a button itself the switch does nothing.
    dialog.SettingUnits = true;
    EXPECT_FALSE(dialog.SelectMicrometers());
    EXPECT_EQ(dialog.Text1, "1601");
    dialog.SettingUnits = false;

    // A box that is no number, or 0: the texts come back, cm-1 is selected
    // again and the caller shows the error.
    dialog.Text2 = "0";
    EXPECT_TRUE(dialog.SelectMicrometers());
    EXPECT_EQ(dialog.Text1, "1601");
    EXPECT_EQ(dialog.Text2, "0");
    EXPECT_FALSE(dialog.MicrometersSelected);
    EXPECT_EQ(dialog.LimitsUnit, kLimitsInWavenumbers);
}

TEST_F(Limits, RestoreAndCancel) {
    Ok("2000", "1000");
    EXPECT_FALSE(dialog.Cancel(s));
    s.RelayoutLabels = false;
    dialog.Restore(s);
    ExpectRange(4000, 400);
    EXPECT_TRUE(s.RelayoutLabels);
    EXPECT_TRUE(dialog.Cancel(s));
}

TEST(LocaleTextToNumber, AcceptsBlanksSignExponentAndTheLocaleSeparatorOnly) {
    EXPECT_EQ(LocaleTextToNumber(" 12.5\t", '.'), 12.5);
    EXPECT_EQ(LocaleTextToNumber("-1e3", '.'), -1000.0);
    EXPECT_EQ(LocaleTextToNumber("+.5", '.'), 0.5);
    EXPECT_EQ(LocaleTextToNumber("7.", '.'), 7.0);
    EXPECT_EQ(LocaleTextToNumber("1,5", ','), 1.5);
    for (const char* bad : {"", "  ", "1.5x", "1 5", "e5", "1e", ".", "-", "1e999", "0x10"}) {
        EXPECT_FALSE(LocaleTextToNumber(bad, '.')) << bad;
    }
    EXPECT_FALSE(LocaleTextToNumber("1.5", ','));
    EXPECT_EQ(LimitsNumberText(1.5, ','), "1,5");
}

}  // namespace
}  // namespace halvorn
