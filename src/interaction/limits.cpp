#include "interaction/limits.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "core/numbers.h"

namespace halvorn {

namespace {

// A box whose text is no number: the dialog's error.
struct NotANumber {};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The rounded text of a value, or the value as it is where rounding would
// overflow.
double RoundedOrPlain(double value, int decimals) {
    try {
        return RoundTo(value, decimals);
    } catch (const ArithmeticFault&) {
        return value;
    }
}

// The display range end for a limit of v cm-1: the data point at or just
// above it (for decreasing abscissae). Nothing for an index outside the data.
std::optional<std::int16_t> PointAt(const Spectrum& s, double v) {
    const double offset = std::floor(std::fabs(Divide(v - s.FullFirstX, s.DeltaX))) + 1.0;
    if (!(offset >= 1.0 && offset <= s.PointCount && offset <= kMaxPoints) ||
        s.WaveX.size() <= static_cast<std::size_t>(offset)) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(offset);
}

}  // namespace

std::optional<double> LocaleTextToNumber(std::string_view text, char decimalSeparator) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    std::string clean;
    std::size_t i = begin;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        clean += text[i++];
    }
    bool digits = false;
    while (i < end && IsDigit(text[i])) {
        clean += text[i++];
        digits = true;
    }
    if (i < end && text[i] == decimalSeparator) {
        clean += '.';
        ++i;
        while (i < end && IsDigit(text[i])) {
            clean += text[i++];
            digits = true;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    if (i < end && (text[i] == 'E' || text[i] == 'e')) {
        clean += 'e';
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-')) {
            clean += text[i++];
        }
        bool exponentDigits = false;
        while (i < end && IsDigit(text[i])) {
            clean += text[i++];
            exponentDigits = true;
        }
        if (!exponentDigits) {
            return std::nullopt;
        }
    }
    if (i != end) {
        return std::nullopt;
    }
    errno = 0;
    const double value = std::strtod(clean.c_str(), nullptr);
    if (!std::isfinite(value) || (errno == ERANGE && std::fabs(value) > 1.0)) {
        return std::nullopt;
    }
    return value;
}

std::string LimitsNumberText(double value, char decimalSeparator) {
    return DoubleText(value, decimalSeparator);
}

bool ShowsWholeSpectrum(const Spectrum& s) {
    return s.FirstWL == s.FullFirstWL && s.LastWL == s.FullLastWL;
}

void LimitsDialogModel::Load(const Spectrum& s, const DisplaySettings& settings) {
    if (settings.XScaleKind != 0) {
        MicrometersSelected = true;
        Text1 = LimitsNumberText(RoundedOrPlain(s.FirstWL, 2), DecimalSeparator);
        Text2 = LimitsNumberText(RoundedOrPlain(s.LastWL, 2), DecimalSeparator);
        LimitsUnit = kLimitsInMicrometres;
    } else {
        MicrometersSelected = false;
        Text1 = LimitsNumberText(s.FirstX, DecimalSeparator);
        Text2 = LimitsNumberText(s.LastX, DecimalSeparator);
        LimitsUnit = kLimitsInWavenumbers;
    }
}

bool LimitsDialogModel::SwitchUnit(std::int16_t from, std::int16_t to, bool toMicrometres) {
    if (SettingUnits) {
        return false;
    }
    MicrometersSelected = toMicrometres;
    if (LimitsUnit != from) {
        return false;
    }
    const std::string saved1 = Text1;
    const std::string saved2 = Text2;
    auto converted = [&](const std::string& text) {
        const std::optional<double> v = LocaleTextToNumber(text, DecimalSeparator);
        if (!v) {
            throw NotANumber{};
        }
        return LimitsNumberText(Divide(10000.0, *v), DecimalSeparator);
    };
    try {
        LimitsUnit = to;
        Text1 = converted(Text1);
        Text2 = converted(Text2);
        return false;
    } catch (const NotANumber&) {
    } catch (const ArithmeticFault&) {
    }
    Text1 = saved1;
    Text2 = saved2;
    LimitsUnit = from;
    MicrometersSelected = !toMicrometres;
    return true;
}

bool LimitsDialogModel::SelectMicrometers() {
    return SwitchUnit(kLimitsInWavenumbers, kLimitsInMicrometres, true);
}

bool LimitsDialogModel::SelectWavenumbers() {
    return SwitchUnit(kLimitsInMicrometres, kLimitsInWavenumbers, false);
}

LimitsOkResult LimitsDialogModel::Ok(Spectrum& s, const std::function<bool()>& askTooShort) {
    LimitsOkResult result;
    const std::string saved1 = Text1;
    const std::string saved2 = Text2;
    const char sep = DecimalSeparator;
    // The limits are read afresh from the boxes at each step.
    auto number = [sep](const std::string& text) {
        const std::optional<double> v = LocaleTextToNumber(text, sep);
        if (!v) {
            throw NotANumber{};
        }
        return *v;
    };
    auto L = [&] { return number(Text1); };
    auto R = [&] { return number(Text2); };
    auto text = [sep](double v) { return LimitsNumberText(v, sep); };
    const double x1 = s.FullFirstX;
    const double xn = s.FullLastX;
    const double wl1 = s.FullFirstWL;
    const double wln = s.FullLastWL;

    try {
        double first = 0.0;  // the two ends in cm-1
        double last = 0.0;
        if (!MicrometersSelected) {
            // The left limit is the larger wavenumber.
            if (R() > L()) {
                std::swap(Text1, Text2);
            }
            if (L() > x1) {
                Text1 = text(x1);
            }
            if (R() < xn) {
                Text2 = text(xn);
            }
            if (Divide(L(), R()) < 1.1) {
                result.asked = true;
                if (!askTooShort()) {
                    return result;
                }
                Text2 = text(L() / 1.1);
                if (R() < xn) {
                    Text2 = text(xn);
                    Text1 = text(L() * 1.1);
                }
                // On a short spectrum the enlarged left limit can pass the
                // spectrum's start: clamp it again.
                if (L() > x1) {
                    Text1 = text(x1);
                }
            }
            first = L();
            last = R();
        } else {
            // The left limit is the smaller wavelength.
            if (R() < L()) {
                std::swap(Text1, Text2);
            }
            if (L() < wl1) {
                Text1 = text(wl1);
            }
            if (R() > wln) {
                Text2 = text(wln);
            }
            if (Divide(R(), L()) < 1.1) {
                result.asked = true;
                if (!askTooShort()) {
                    return result;
                }
                Text2 = text(L() * 1.1);
                if (R() > wln) {
                    Text2 = text(wln);
                    Text1 = text(L() / 1.1);
                }
                if (L() < wl1) {
                    Text1 = text(wl1);
                }
            }
            first = Divide(10000.0, L());
            last = Divide(10000.0, R());
        }

        // Both ends are found before anything is stored.
        const std::optional<std::int16_t> i = PointAt(s, first);
        const std::optional<std::int16_t> j = PointAt(s, last);
        if (!i || !j) {
            throw NotANumber{};
        }
        const double firstX = s.WaveX[*i];
        const double lastX = s.WaveX[*j];
        const double firstWL = Divide(10000.0, firstX);
        const double lastWL = Divide(10000.0, lastX);
        s.FirstX = firstX;
        s.ViewFirstPoint = *i;
        s.FirstWL = firstWL;
        s.LastX = lastX;
        s.ViewLastPoint = *j;
        s.LastWL = lastWL;
    } catch (const NotANumber&) {
        result.error = true;
    } catch (const ArithmeticFault&) {
        result.error = true;
    }
    if (result.error) {
        Text1 = saved1;
        Text2 = saved2;
        return result;
    }
    result.enableExpand = ShowsWholeSpectrum(s);
    s.RelayoutLabels = true;
    result.closed = true;
    return result;
}

void LimitsDialogModel::Restore(Spectrum& s) const {
    s.FirstX = s.FullFirstX;
    s.ViewFirstPoint = 1;
    s.LastX = s.FullLastX;
    s.ViewLastPoint = static_cast<std::int16_t>(std::min(s.PointCount, kMaxPoints));
    s.FirstWL = s.FullFirstWL;
    s.LastWL = s.FullLastWL;
    s.RelayoutLabels = true;
}

bool LimitsDialogModel::Cancel(const Spectrum& s) const {
    return ShowsWholeSpectrum(s);
}

}  // namespace halvorn
