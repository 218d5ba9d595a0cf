// The limits dialog ("Input Limits for Expansion") without its widgets: the
// two boxes' texts, the unit they are in, and what OK, Cancel, "Restore
// Original Size" and the unit switch do to them and to the display range.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/record.h"
#include "core/settings.h"

namespace halvorn {

inline constexpr const char* kLimitsErrorTitle = "Error!";
inline constexpr const char* kLimitsErrorText =
    "It seems that there is something wrong\r\n"
    "with the limits you have entered.\r\n"
    "\r\n"
    "Please check.";
inline constexpr const char* kTooShortTitle = "Too Short Range";
inline constexpr const char* kTooShortText =
    "Cannot calculate because the range\r\n"
    "is too short.\r\n"
    "May I enlarge it for you?";

// The locale's text-to-number conversion of the dialog: surrounding blanks and
// tabs, an optional sign, digits with decimalSeparator as the only decimal
// sign, an optional exponent (E or e, optional sign, digits). An empty box,
// anything else, or a magnitude beyond the double range gives nothing.
std::optional<double> LocaleTextToNumber(std::string_view text, char decimalSeparator);

// The number-to-text rule of the dialog: up to 15 significant digits, no
// trailing zeros, the given decimal separator.
std::string LimitsNumberText(double value, char decimalSeparator);

// Units of the two texts.
inline constexpr std::int16_t kLimitsInWavenumbers = 1;
inline constexpr std::int16_t kLimitsInMicrometres = 2;

struct LimitsOkResult {
    bool closed = false;        // the range was taken; the dialog closes
    bool asked = false;         // the "Too Short Range" question was asked
    bool error = false;         // show kLimitsErrorText; the texts are restored
    bool enableExpand = false;  // "*2" is enabled again (the whole spectrum is shown)
};

class LimitsDialogModel {
  public:
    std::string Text1;  // left limit
    std::string Text2;  // right limit
    std::int16_t LimitsUnit = kLimitsInWavenumbers;
    // Which option button is selected: "micrometers" (Option2) or "cm^(-1)"
    // (Option1).
    bool MicrometersSelected = false;
    // True while the dialog selects an option button itself: the option
    // handlers then do nothing. The window sets it around its own selection
    // of a button after Load or a failed switch.
    bool SettingUnits = false;
    char DecimalSeparator = '.';

    // Fills the boxes from the display range: in micrometres rounded to two
    // decimals when the wavelength scale is shown, else in cm-1 as they are.
    void Load(const Spectrum& s, const DisplaySettings& settings);

    // The option buttons. Converting the texts by 10000 / value into the other
    // unit; when a text is no number or 0 the texts are put back, the previous
    // unit's button is selected again and true is returned: the caller shows
    // kLimitsErrorText (titled kLimitsErrorTitle, error icon).
    bool SelectMicrometers();
    bool SelectWavenumbers();

    // OK: exchanges reversed limits, clamps them to the spectrum, asks
    // askTooShort (kTooShortText, titled kTooShortTitle, Yes/No, no icon) when
    // the range is shorter than a ratio of 1.1 and enlarges it on Yes, snaps
    // both ends to data points and makes them the display range. On success
    // sets RelayoutLabels; the caller redraws, enables "*2" when enableExpand,
    // and closes. On "No" the dialog stays open with the texts as they are; on
    // an error the texts are restored and the display range is unchanged.
    LimitsOkResult Ok(Spectrum& s, const std::function<bool()>& askTooShort);

    // "Restore Original Size": the whole spectrum, RelayoutLabels set. The
    // caller enables "*2", redraws and closes.
    void Restore(Spectrum& s) const;

    // Cancel: whether "*2" is enabled again (the whole spectrum is shown).
    bool Cancel(const Spectrum& s) const;

  private:
    bool SwitchUnit(std::int16_t from, std::int16_t to, bool toMicrometres);
};

// Whether the display range is the whole spectrum (in micrometres, exactly).
bool ShowsWholeSpectrum(const Spectrum& s);

}  // namespace halvorn
