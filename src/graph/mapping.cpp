#include "graph/mapping.h"

#include <cmath>
#include <string>

#include "core/numbers.h"
#include "graph/graph_fault.h"

namespace halvorn {

namespace {

// Nominal constants of the wavenumber variants: the unscaled width D of the
// usual range, the unscaled length of 2000..1000 cm-1 and the stretch of
// sections 2 and 3 against the section before.
struct WavenumberVariant {
    double d;
    double l2;
    double stretch2;
    double stretch3;
};

WavenumberVariant VariantOf(std::int16_t wavenumberSections) {
    switch (wavenumberSections) {
        case 1:
            return {4900.0, 1000.0, 1.0, 1.0};  // one section
        case 0:
            return {6800.0, 2000.0, 2.0, 1.0};  // two sections
        case 2:
            return {8600.0, 2000.0, 2.0, 2.0};  // three sections
        default:
            throw GraphFault("unknown wavenumber scale " + std::to_string(wavenumberSections));
    }
}

double Checked(double value, const char* what) {
    if (!std::isfinite(value)) {
        throw ArithmeticFault(std::string("overflow in the axis mapping (") + what + ")");
    }
    return value;
}

void SetUpWavenumberX(MappingState& m, const Spectrum& s, std::int16_t sections,
                      std::int32_t plotWidth) {
    const WavenumberVariant v = VariantOf(sections);
    const double k = 10000.0 / v.d;
    m.Anchor1X = 3000.0 * k;
    m.Anchor2X = m.Anchor1X + v.l2 * k;
    m.MinorStep1 = 50.0 * k;
    m.MinorStep2 = m.MinorStep1 * v.stretch2;
    m.MinorStep3 = m.MinorStep2 * v.stretch3;
    m.MajorStep1 = 2.0 * m.MinorStep1;
    m.MajorStep2 = 2.0 * m.MinorStep2;
    m.MajorStep3 = 2.0 * m.MinorStep3;
    // The display range ends on the unscaled scale.
    m.XOrigin = Checked(XOfWavenumber(m, s.FirstX), "start of the display range");
    m.XEnd = Checked(XOfWavenumber(m, s.LastX), "end of the display range");
    m.Anchor1X -= m.XOrigin;
    m.Anchor2X -= m.XOrigin;
    if (m.XEnd == m.XOrigin) {
        throw ArithmeticFault("the display range has zero width", ArithmeticKind::DivisionByZero);
    }
    m.XScale = Checked(Divide(plotWidth, m.XEnd - m.XOrigin), "scale");
    m.Anchor1X = Checked(m.Anchor1X * m.XScale, "Anchor1X");
    m.Anchor2X = Checked(m.Anchor2X * m.XScale, "Anchor2X");
    m.MinorStep1 *= m.XScale;
    m.MinorStep2 *= m.XScale;
    m.MinorStep3 *= m.XScale;
    m.MajorStep1 *= m.XScale;
    m.MajorStep2 *= m.XScale;
    m.MajorStep3 = Checked(m.MajorStep3 * m.XScale, "steps");
}

void SetUpWavelengthX(MappingState& m, const Spectrum& s, std::int32_t plotWidth) {
    const double k = 10000.0 / 98.0;
    m.WlAnchor = 5;
    m.Anchor1X = std::fabs(m.WlAnchor - 2.0) * k;
    m.XOrigin = Checked((s.FirstWL - 2.0) * k, "start of the display range");
    m.XEnd = Checked((s.LastWL - 2.0) * k, "end of the display range");
    m.Anchor1X -= m.XOrigin;
    if (m.XEnd == m.XOrigin) {
        throw ArithmeticFault("the display range has zero width", ArithmeticKind::DivisionByZero);
    }
    m.XScale = Checked(Divide(plotWidth, m.XEnd - m.XOrigin), "scale");
    const double pixelsPerMicron = Checked(k * m.XScale, "scale");
    m.Anchor1X = Checked(m.Anchor1X * m.XScale, "Anchor1X");
    if (pixelsPerMicron > 35.0) {
        m.MinorStep1 = pixelsPerMicron / 10.0;  // 0.1 um
        m.MajorStep1 = 5.0 * m.MinorStep1;      // 0.5 um
        m.WlMajorPerMicron = 2;
    } else {
        m.MinorStep1 = pixelsPerMicron / 2.0;  // 0.5 um
        m.MajorStep1 = pixelsPerMicron;        // 1 um
        m.WlMajorPerMicron = 1;
    }
    m.MajorStep2 = m.MajorStep1;
    m.Anchor2X = plotWidth;
    m.MinorStep2 = m.MinorStep1;
    m.MinorStep3 = 0.0;
    // MajorStep3 is not used on the wavelength scale and keeps its value.
}

}  // namespace

double PositivePart(double a, double b) {
    return (std::fabs(a - b) + (a - b)) / 2.0;
}

double XOfWavenumber(const MappingState& m, double nu) {
    if (m.XScaleKind == 1) {
        return (10000.0 / nu - m.WlAnchor) * (m.MajorStep1 * m.WlMajorPerMicron) + m.Anchor1X;
    }
    return m.Anchor1X - PositivePart(nu, 2000.0) * m.MinorStep1 / 50.0 +
           (PositivePart(2000.0, nu) - PositivePart(1000.0, nu)) * m.MinorStep2 / 50.0 +
           PositivePart(1000.0, nu) * m.MinorStep3 / 50.0;
}

double WavenumberAtX(const MappingState& m, double x) {
    if (m.XScaleKind == 1) {
        return m.MajorStep1 * 10000.0 * m.WlMajorPerMicron /
               (x - m.Anchor1X + m.WlAnchor * m.MajorStep1 * m.WlMajorPerMicron);
    }
    return PositivePart(m.Anchor1X, x) * 50.0 / m.MinorStep1 + 2000.0 -
           (PositivePart(x, m.Anchor1X) - PositivePart(x, m.Anchor2X)) * 50.0 / m.MinorStep2 -
           PositivePart(x, m.Anchor2X) * 50.0 / m.MinorStep3;
}

void SetUpYRange(MappingState& m, const Spectrum& s, const DisplaySettings& settings) {
    m.PlotYTop = s.YAxisTop;
    m.PlotYBottom = s.YAxisBottom;
    if (settings.FixedYRange == 1) {
        m.PlotYTop = 100.0f;
        m.PlotYBottom = 0.0f;
    }
}

void SetUpMapping(MappingState& m, const Spectrum& s, const DisplaySettings& settings,
                  std::int32_t plotWidth, std::int32_t plotHeight) {
    if (settings.XScaleKind != 0 && settings.XScaleKind != 1) {
        throw GraphFault("unknown X scale kind " + std::to_string(settings.XScaleKind));
    }
    m.PlotWidth = plotWidth;
    m.PlotHeight = plotHeight;

    const double span = static_cast<double>(m.PlotYTop - m.PlotYBottom);
    if (span == 0.0) {
        throw ArithmeticFault("the %T range of the plot has zero height",
                              ArithmeticKind::DivisionByZero);
    }
    if (!(span > 0.0)) {
        // A top below the bottom would draw the spectrum upside down and the
        // grid outside the plot.
        throw ArithmeticFault("the %T range of the plot has its top below its bottom");
    }
    m.YMajorStep = Checked(Divide(plotHeight, span / 10.0), "Y step");
    m.YMinorStep = m.YMajorStep / 2.0;
    m.YMajorShift = (s.YAxisTopHalf && settings.FixedYRange == 0) ? 1 : 0;

    m.XScaleKind = settings.XScaleKind;
    if (settings.XScaleKind == 1) {
        SetUpWavelengthX(m, s, plotWidth);
    } else {
        SetUpWavenumberX(m, s, settings.WavenumberSections, plotWidth);
    }
}

std::int32_t YOfTransmittance(const MappingState& m, double t, std::int32_t y0,
                              std::int32_t height) {
    return ToLong(y0 + height / static_cast<double>(m.PlotYTop - m.PlotYBottom) * (m.PlotYTop - t));
}

}  // namespace halvorn
