#include "import/point_placement.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "core/export_text.h"
#include "core/numbers.h"
#include "import/read_frame.h"
#include "import/transmittance.h"

namespace halvorn {

namespace {

// The largest stored ordinate a Long holds, and the absorbance whose
// transmittance times kAbsorbanceYFactor still fits one (256 %T).
constexpr double kLongLimit = 2147483647.5;

std::string PointText(std::size_t index) {
    return IntegerText(static_cast<std::int64_t>(index) + 1);
}

void CheckCount(std::size_t n, std::size_t least) {
    if (n < least) {
        Fail("The file holds " + IntegerText(static_cast<std::int64_t>(n)) +
             (n == 1 ? " point" : " points") + ";\r\na spectrum needs at least " +
             IntegerText(static_cast<std::int64_t>(least)) + ".");
    }
    if (n > static_cast<std::size_t>(kMaxPoints)) {
        Fail("The file holds " + IntegerText(static_cast<std::int64_t>(n)) +
             " points;\r\nthis program holds at most " + IntegerText(kMaxPoints) + ".");
    }
}

// The stored ordinate of a value in the file's unit: %T x 41943.04, or the
// absorbance x 8388608.
std::int32_t StoredOrdinate(double value, double yFactor, std::size_t index, char separator) {
    const double stored = value * yFactor;
    if (!std::isfinite(value) || !(std::fabs(stored) < kLongLimit)) {
        Fail("Point " + PointText(index) + " has the ordinate " +
             (std::isfinite(value) ? DoubleText(value, separator)
                                   : std::string("\"not a number\"")) +
             ",\r\nbeyond what this program can hold.");
    }
    return ToLong(stored);
}

void CheckAbscissa(double x, const char* which, char separator) {
    if (!std::isfinite(x) || x == 0.0 || std::fabs(x) > 3.4e38) {
        Fail(std::string("The ") + which + " abscissa is " +
             (std::isfinite(x) ? DoubleText(x, separator) : std::string("not a number")) +
             " cm^(-1);\r\na spectrum needs wavenumbers other than 0.");
    }
}

// Turns the stored absorbances (x 8388608) into %T x 8388608, as the *.sp
// reader does for its absorbance files.
void AbsorbancesToTransmittances(Spectrum& s, char separator) {
    const std::int32_t n = s.PointCount;
    thread_local std::vector<double> absorbance;
    thread_local std::vector<std::int32_t> known;
    absorbance.resize(static_cast<std::size_t>(n) + 1);
    known.resize(static_cast<std::size_t>(n) + 1);
    for (std::int32_t i = 1; i <= n; ++i) {
        absorbance[static_cast<std::size_t>(i)] = s.RawY[i] / kAbsorbanceYFactor;
    }
    StoredTransmittances(absorbance.data(), known.data(), n, 838860800.0);
    for (std::int32_t i = 1; i <= n; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (known[k] >= 0) {
            s.RawY[i] = known[k];
            continue;
        }
        const double stored = 838860800.0 / std::pow(10.0, absorbance[k]);
        if (!(stored < kLongLimit)) {
            Fail("Point " + IntegerText(i) + " has the absorbance " +
                 DoubleText(absorbance[k], separator) +
                 ",\r\nmore than 256 %T; this program cannot hold it.");
        }
        s.RawY[i] = ToLong(stored);
    }
}

void FindExtremes(Spectrum& s) {
    s.RawYMax = 0;
    s.RawYMin = 1000000000;
    for (std::int32_t i = 1; i <= s.PointCount; ++i) {
        if (s.RawY[i] > s.RawYMax) {
            s.RawYMax = s.RawY[i];
        }
        if (s.RawY[i] < s.RawYMin) {
            s.RawYMin = s.RawY[i];
        }
    }
}

void ProposeYAxis(Spectrum& s) {
    if (s.FileIsAbsorbance) {
        SetYAxisFromExtremes(s, ToSingle(Divide(100.0, std::pow(10.0, s.RawYMin / s.YFactor))),
                             ToSingle(Divide(100.0, std::pow(10.0, s.RawYMax / s.YFactor))));
    } else {
        SetYAxisFromExtremes(s, ToSingle(s.RawYMax / s.YFactor), ToSingle(s.RawYMin / s.YFactor));
    }
}

void SetOrdinateUnit(Spectrum& s, OrdinateUnit unit) {
    const bool absorbance = unit == OrdinateUnit::Absorbance;
    s.YFactor = absorbance ? kAbsorbanceYFactor : kTransmittanceYFactor;
    s.FileIsAbsorbance = absorbance;
    SetYExportCaptions(s, absorbance);
}

}  // namespace

bool StrictlyMonotonic(const std::vector<double>& x) {
    if (x.size() < 2) {
        return true;
    }
    const bool rising = x[1] > x[0];
    for (std::size_t i = 1; i < x.size(); ++i) {
        if (rising ? !(x[i] > x[i - 1]) : !(x[i] < x[i - 1])) {
            return false;
        }
    }
    return true;
}

double Unevenness(const std::vector<double>& x) {
    if (x.size() < 3) {
        return 0.0;
    }
    const double step = (x.back() - x.front()) / static_cast<double>(x.size() - 1);
    double worst = 0.0;
    for (std::size_t i = 1; i + 1 < x.size(); ++i) {
        const double even = x.front() + static_cast<double>(i) * step;
        worst = std::max(worst, std::fabs(x[i] - even));
    }
    return step == 0.0 ? worst : worst / std::fabs(step);
}

void ResampleEvenly(std::vector<double>& x, std::vector<double>& y) {
    const std::size_t n = x.size();
    if (n < 3) {
        return;
    }
    const double first = x.front();
    const double step = (x.back() - first) / static_cast<double>(n - 1);
    const bool rising = step > 0.0;
    std::vector<double> evenY(n);
    std::size_t k = 0;  // x[k] and x[k + 1] enclose the grid point
    for (std::size_t i = 0; i < n; ++i) {
        const double at = i + 1 == n ? x.back() : first + static_cast<double>(i) * step;
        while (k + 2 < n && (rising ? x[k + 1] < at : x[k + 1] > at)) {
            ++k;
        }
        const double span = x[k + 1] - x[k];
        const double t = span == 0.0 ? 0.0 : std::clamp((at - x[k]) / span, 0.0, 1.0);
        evenY[i] = y[k] + (y[k + 1] - y[k]) * t;
    }
    for (std::size_t i = 0; i + 1 < n; ++i) {
        x[i] = first + static_cast<double>(i) * step;
    }
    y = std::move(evenY);
}

std::string ScaleIntoPercent(std::vector<double>& y, char separator) {
    double lo = 0.0;
    double hi = 0.0;
    bool any = false;
    for (const double v : y) {
        if (std::isfinite(v)) {
            lo = any ? std::min(lo, v) : v;
            hi = any ? std::max(hi, v) : v;
            any = true;
        }
    }
    const double span = hi - lo;
    for (double& v : y) {
        if (std::isfinite(v)) {
            v = span > 0.0 && std::isfinite(span) ? (v - lo) / span * 100.0 : 50.0;
        }
    }
    return "scaled linearly from " + DoubleText(lo, separator) + " .. " +
           DoubleText(hi, separator) + " into 0 .. 100 (scaled)";
}

void SetYExportCaptions(Spectrum& s, bool absorbance) {
    if (absorbance) {
        s.mnuCopyYPercentCaption = "Copy Y (Absorbance) values (calculated from file values)";
        s.mnuSaveDataYPercentCaption = "Save Data (Calculated Y (Absorbance) values only) As...";
    } else {
        s.mnuCopyYPercentCaption = "Copy Y % values (calculated from file values)";
        s.mnuSaveDataYPercentCaption = "Save Data (Calculated Y % values only) As...";
    }
}

void PlaceEvenPoints(Spectrum& s, const std::vector<double>& y, double firstX, double deltaX,
                     OrdinateUnit unit, char separator) {
    CheckCount(y.size(), 1);
    const auto n = static_cast<std::int32_t>(y.size());
    s.PointCount = n;
    s.StepCount = ToInteger(static_cast<double>(n) - 1.0);
    s.PointCountLabel = "Number of points: " + IntegerText(n);
    if (!std::isfinite(deltaX)) {
        Fail("The abscissa step is not a number.");
    }
    if (deltaX == 0.0 && n > 1) {
        Fail("The abscissa step is 0;\r\nthe points of a spectrum need wavenumbers of their own.");
    }
    s.DeltaX = deltaX;
    SetOrdinateUnit(s, unit);

    s.FirstX = firstX;
    s.LastX = static_cast<double>(s.StepCount) * deltaX + firstX;
    CheckAbscissa(s.FirstX, "first", separator);
    CheckAbscissa(s.LastX, "last", separator);
    s.FirstWL = Divide(10000.0, s.FirstX);
    s.LastWL = Divide(10000.0, s.LastX);

    s.RawY.assign(static_cast<std::size_t>(n) + 1, 0);
    s.WaveX.assign(static_cast<std::size_t>(n) + 1, 0.0f);
    for (std::int32_t i = 1; i <= n; ++i) {
        const auto k = static_cast<std::size_t>(i - 1);
        s.RawY[i] = StoredOrdinate(y[k], s.YFactor, k, separator);
        s.WaveX[i] = ToSingle(static_cast<double>(i - 1) * deltaX + firstX);
    }
    FindExtremes(s);
    ShowWholeSpectrum(s);
    ProposeYAxis(s);

    // The export texts keep the file's order and its own unit.
    PrepareExportTexts(s, separator);
    if (s.FileIsAbsorbance) {
        // RawYMax and RawYMin stay the extremes of the stored absorbances, as
        // for *.sp files.
        AbsorbancesToTransmittances(s, separator);
    }
    EndRead(s, separator, IntervalForm::AsIs);
}

void PlaceTablePoints(Spectrum& s, const std::vector<double>& x, const std::vector<double>& y,
                      OrdinateUnit unit, char separator) {
    CheckCount(y.size(), 2);
    const auto n = static_cast<std::int32_t>(y.size());
    s.PointCount = n;
    s.StepCount = ToInteger(static_cast<double>(n) - 1.0);
    s.PointCountLabel = "Number of points: " + IntegerText(n);
    SetOrdinateUnit(s, unit);

    CheckAbscissa(x.front(), "first", separator);
    CheckAbscissa(x.back(), "last", separator);
    s.RawY.assign(static_cast<std::size_t>(n) + 1, 0);
    s.WaveX.assign(static_cast<std::size_t>(n) + 1, 0.0f);
    for (std::int32_t i = 1; i <= n; ++i) {
        const auto k = static_cast<std::size_t>(i - 1);
        s.RawY[i] = StoredOrdinate(y[k], s.YFactor, k, separator);
        s.WaveX[i] = ToSingle(x[k]);
    }
    FindExtremes(s);
    s.DeltaX = (x.back() - x.front()) / static_cast<double>(n - 1);
    s.FirstX = s.WaveX[1];
    s.LastX = s.WaveX[static_cast<std::size_t>(n)];
    s.FirstWL = Divide(10000.0, s.FirstX);
    s.LastWL = Divide(10000.0, s.LastX);
    ShowWholeSpectrum(s);
    ProposeYAxis(s);

    EndRead(s, separator, IntervalForm::ThreeDecimals);
    PrepareExportTexts(s, separator);
    if (s.FileIsAbsorbance) {
        // The absorbance export text lists the file's absorbances; the points
        // are then held as %T like every other spectrum.
        AbsorbancesToTransmittances(s, separator);
    }
}

}  // namespace halvorn
