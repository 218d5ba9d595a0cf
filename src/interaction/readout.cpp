#include "interaction/readout.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/numbers.h"

namespace halvorn {

namespace {

// RoundTo, or nothing where it would overflow (or for NaN).
std::optional<double> TryRoundTo(double value, int decimals) {
    try {
        return RoundTo(value, decimals);
    } catch (const ArithmeticFault&) {
        return std::nullopt;
    }
}

// Whether a plot x, rounded to a whole pixel, is the cursor's column. An x
// that cannot be rounded (a wavenumber of 0 on the wavelength scale) is no
// column at all.
bool OnColumn(double plotX, float x) {
    const std::optional<double> rounded = TryRoundTo(plotX, 0);
    return rounded && static_cast<float>(*rounded) == x;
}

void SetText(std::string& field, const char* prefix, const std::string& number) {
    field.assign(prefix);
    field.append(number);
}

// The micrometres of a wavenumber rounded to two decimals; "inf" for a
// wavenumber of 0, the unrounded value where rounding would overflow.
std::string MicrometreText(float nu, char separator) {
    if (nu == 0.0f) {
        return "inf";
    }
    const double wl = 10000.0 / static_cast<double>(nu);
    const std::optional<double> rounded = TryRoundTo(wl, 2);
    return DoubleText(rounded ? *rounded : wl, separator);
}

void ShowPercentAndAbsorbance(ReadoutFields& f, const MappingState& m, float y, int H,
                              char separator) {
    const double top = m.PlotYTop;
    const auto span = static_cast<double>(m.PlotYTop - m.PlotYBottom);
    // The cursor's %T, snapped to a 5 %T gridline when the cursor is on the
    // gridline's pixel row.
    double t = top - span * y / H;
    const double g = RoundTo(t / 5.0, 0) * 5.0;
    const std::optional<double> row = TryRoundTo(H / span * (top - g), 0);
    if (row && static_cast<float>(*row) == y) {
        t = g;
    }
    t = RoundTo(t, 1);
    SetText(f.Label1[1], kReadoutPercentPrefix, DoubleText(t, separator));
    if (t > 0.0) {
        const double a = RoundTo(std::log(100.0 / t) / std::log(10.0), 3);
        SetText(f.Label1[0], kReadoutAbsorbancePrefix, DoubleText(a, separator));
    } else {
        SetText(f.Label1[0], kReadoutAbsorbancePrefix, "inf");
    }
}

// The data point whose abscissa the normal readout shows for the cursor at
// plot x, wavenumber nu.
std::int32_t ReadoutPoint(const Spectrum& s, const PeakList& peaks, const MappingState& m, float x,
                          double nu) {
    const std::int32_t n = s.PointCount;
    const std::vector<float>& w = s.WaveX;
    // First estimate from the nominal step; the floor is taken of the
    // difference before the division. A wild estimate (beyond the 16-bit
    // range, or no number at all) is clamped like any other.
    const double estimate = std::floor(s.FullFirstX - nu) / (-s.DeltaX) + 1.0;
    const double rounded = std::nearbyint(estimate);
    std::int32_t i = 1;
    if (rounded >= -32768.0 && rounded <= 32767.0) {
        i = static_cast<std::int32_t>(rounded);
    } else if (rounded > 0.0) {
        i = n;
    }
    if (i <= 0) {
        i = 1;
    }
    if (i >= n) {
        i = n - 1;
    }
    i = std::max<std::int32_t>(i, 1);  // a one-point spectrum

    // One refinement step towards the nearer neighbour; ties keep i.
    const double here = std::fabs(w[i] - nu);
    if (i > 1 && here > std::fabs(w[i - 1] - nu)) {
        --i;
    } else if (i + 1 <= n && here > std::fabs(w[i + 1] - nu)) {
        ++i;
    }

    // On the pixel column of a multiple of 50 cm-1: that wavenumber exactly,
    // when a point within ten of i has it.
    const std::int32_t lo = std::max<std::int32_t>(i - 10, 1);
    const std::int32_t hi = std::min<std::int32_t>(i + 10, n);
    const std::optional<double> fifty = TryRoundTo(w[i] / 50.0, 0);
    if (fifty) {
        const double grid = *fifty * 50.0;
        if (OnColumn(XOfWavenumber(m, grid), x)) {
            for (std::int32_t j = lo; j <= hi; ++j) {
                if (w[j] == static_cast<float>(grid)) {
                    i = j;
                    break;
                }
            }
        }
    }

    // On the pixel column of a marked peak: that peak; a later slot wins.
    for (int k = 0; k < peaks.PeakCount && k < kMaxPeaks; ++k) {
        const std::int16_t p = peaks.PeakPoints[static_cast<std::size_t>(k)];
        if (p >= 1 && p <= n && OnColumn(XOfWavenumber(m, w[p]), x)) {
            i = p;
        }
    }
    return i;
}

void ShowPeakMark(ReadoutFields& f, PeakList& peaks, const Spectrum& s, const MappingState& m,
                  const DisplaySettings& settings, float x, float y, int W, double nu,
                  char separator) {
    f.Line5Visible = true;
    // The nearest candidate; strictly nearer only, so of two equally near the
    // earlier (deeper) one wins.
    double best = 100000.0;
    std::int16_t answer = 0;
    const std::int32_t count = std::min<std::int32_t>(
        peaks.TopCandidateCount, static_cast<std::int32_t>(peaks.TopCandidates.size()) - 1);
    for (std::int32_t c = 1; c <= count; ++c) {
        const std::int16_t p = peaks.TopCandidates[static_cast<std::size_t>(c)];
        if (p < 1 || p > s.PointCount) {
            continue;
        }
        const double d = std::fabs(static_cast<double>(s.WaveX[p]) - nu);
        if (d < best) {
            best = d;
            answer = static_cast<std::int16_t>(c);
        }
    }
    peaks.NearestCandidate = answer;
    if (answer == 0) {
        // No candidate to point at: no cursor line, no floating label.
        f.Line5Visible = false;
        f.Label19Visible = false;
        return;
    }
    const float nuPeak = s.WaveX[peaks.TopCandidates[static_cast<std::size_t>(answer)]];
    f.Line5X = static_cast<float>(XOfWavenumber(m, nuPeak));
    const std::string micrometres = MicrometreText(nuPeak, separator);
    const std::string wavenumber = SingleText(nuPeak, separator);
    SetText(f.Label1[3], kReadoutWavenumberPrefix, wavenumber);
    SetText(f.Label1[2], kReadoutMicrometrePrefix, micrometres);
    f.Label19Text.assign("  ");
    f.Label19Text.append(settings.XScaleKind != 0 ? micrometres : wavenumber);
    f.Label19Text.append("  ");
    // Past 90 % of the width (a single-precision product) the label sits to
    // the left of the cursor.
    f.Label19Flipped = x > 0.9f * static_cast<float>(W);
    f.Label19CursorX = x;
    f.Label19Top = y - 10.0f;
    f.Label19Visible = true;
}

}  // namespace

void ClearReadout(ReadoutFields& fields) {
    for (std::string& text : fields.Label1) {
        text.clear();
    }
    fields.Line5Visible = false;
    fields.Label19Visible = false;
}

ReadoutStep MoveReadout(ReadoutFields& fields, PeakList& peaks, const Spectrum& s,
                        const MappingState& m, const DisplaySettings& settings, bool Loading,
                        bool PeakMarkMode, float x, float y, int W, int H, char decimalSeparator) {
    if (Loading || s.PointCount < 1 || s.WaveX.size() <= static_cast<std::size_t>(s.PointCount)) {
        return ReadoutStep::Ignored;
    }
    // The right bound is W - 1 and the bottom bound H. A plot without size
    // has no inside.
    if (!(x >= 0.0f) || x > static_cast<float>(W - 1) || !(y >= 0.0f) ||
        y > static_cast<float>(H) || W <= 0 || H <= 0) {
        ClearReadout(fields);
        return ReadoutStep::Off;
    }
    try {
        const double nu = WavenumberAtX(m, x);
        if (PeakMarkMode) {
            ShowPeakMark(fields, peaks, s, m, settings, x, y, W, nu, decimalSeparator);
            return ReadoutStep::PeakMark;
        }
        ShowPercentAndAbsorbance(fields, m, y, H, decimalSeparator);
        const float nuPoint = s.WaveX[ReadoutPoint(s, peaks, m, x, nu)];
        SetText(fields.Label1[3], kReadoutWavenumberPrefix, SingleText(nuPoint, decimalSeparator));
        SetText(fields.Label1[2], kReadoutMicrometrePrefix,
                MicrometreText(nuPoint, decimalSeparator));
        return ReadoutStep::Normal;
    } catch (const ArithmeticFault&) {
        // A %T axis too large to round: the fields keep what they showed.
        return ReadoutStep::Ignored;
    }
}

}  // namespace halvorn
