// What the redraw's preparation reports when it cannot go on: the kind of the
// failure, which the spectrum window turns into its error codes.
#include <gtest/gtest.h>

#include <cmath>

#include "graph/graph.h"
#include "graph/graph_test_support.h"

namespace halvorn {
namespace {

GraphOutcome Prepare(Spectrum s, DisplaySettings settings = {}) {
    GraphState state;
    Graph graph(s, settings, state);
    return graph.PrepareRedraw(673, 348);
}

TEST(PrepareRedraw, FailuresCarryTheirKind) {
    EXPECT_EQ(Prepare(test::FlatSpectrum(4000, 400)).failure, GraphFailure::None);

    Spectrum zeroWidth = test::FlatSpectrum(4000, 400);
    zeroWidth.LastX = zeroWidth.FirstX;
    const GraphOutcome zero = Prepare(zeroWidth);
    EXPECT_FALSE(zero.ok);
    EXPECT_EQ(zero.failure, GraphFailure::DivisionByZero);

    Spectrum flatY = test::FlatSpectrum(4000, 400);
    flatY.YAxisBottom = flatY.YAxisTop;
    EXPECT_EQ(Prepare(flatY).failure, GraphFailure::DivisionByZero);

    // A range one double wide: the marked dip at 1000 cm-1 lies far beyond
    // any 32-bit pixel.
    std::vector<double> percent(3601, 90.0);
    percent[3000] = 20.0;
    Spectrum tiny = test::MakeSpectrum(4000, -1, percent);
    tiny.FirstX = 2500;
    tiny.LastX = std::nextafter(2500.0, 0.0);
    EXPECT_EQ(Prepare(tiny).failure, GraphFailure::Overflow);

    DisplaySettings unknown;
    unknown.WavenumberSections = 5;
    const GraphOutcome invalid = Prepare(test::FlatSpectrum(4000, 400), unknown);
    EXPECT_EQ(invalid.failure, GraphFailure::InvalidCall);
    EXPECT_FALSE(invalid.message.empty());
}

TEST(Divide, ZeroOverZeroIsAnOverflowAndAnythingElseOverZeroADivisionByZero) {
    auto kindOf = [](double a, double b) {
        try {
            (void)Divide(a, b);
        } catch (const ArithmeticFault& e) {
            return e.kind();
        }
        ADD_FAILURE() << a << " / " << b << " did not fail";
        return ArithmeticKind::Overflow;
    };
    EXPECT_EQ(kindOf(1, 0), ArithmeticKind::DivisionByZero);
    EXPECT_EQ(kindOf(0, 0), ArithmeticKind::Overflow);
    EXPECT_EQ(kindOf(1e300, 1e-300), ArithmeticKind::Overflow);
}

}  // namespace
}  // namespace halvorn
