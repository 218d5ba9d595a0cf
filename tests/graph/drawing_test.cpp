// The drawing routines on a recording surface: where grid lines, ticks and
// labels land, the label texts, the trace styles, the peak label boxes and the
// figure, and that every call releases what it creates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "graph/figure.h"
#include "graph/graph.h"
#include "graph/graph_test_support.h"
#include "graph/recording_surface.h"

namespace halvorn {
namespace {

using test::RecordingSurface;

// A spectrum, its settings and the graph state of one window.
struct Window {
    Spectrum spectrum;
    DisplaySettings settings;
    GraphState state;
    Graph graph{spectrum, settings, state};

    explicit Window(Spectrum s, std::int16_t kind = 0, std::int16_t sections = 0,
                    std::int16_t fixed = 1, std::int16_t grid = 0)
        : spectrum(std::move(s)) {
        settings.XScaleKind = kind;
        settings.WavenumberSections = sections;
        settings.FixedYRange = fixed;
        settings.YGridMode = grid;
    }
    void Prepare(int width, int height) {
        spectrum.NeedPeakSearch = spectrum.RelayoutLabels = true;
        const GraphOutcome outcome = graph.PrepareRedraw(width, height);
        ASSERT_TRUE(outcome.ok) << outcome.message;
    }
};

void ExpectAllReleased(const RecordingSurface& dc) {
    EXPECT_EQ(dc.created, dc.deleted);
    EXPECT_EQ(dc.badDeletes, 0);
    EXPECT_EQ(dc.LiveObjects(), 0u);
    EXPECT_EQ(dc.SelectedPen(), 1);
    EXPECT_EQ(dc.SelectedFont(), 2);
}

std::vector<std::string> TextsIn(const RecordingSurface& dc, int height) {
    std::vector<std::string> out;
    for (const auto& t : dc.texts) {
        if (t.font.height == height) {
            out.push_back(t.text);
        }
    }
    return out;
}

TEST(DrawGrid, VerticalLinesEvery50AndHorizontalEveryHalfStep) {
    Window w(test::FlatSpectrum(4000, 400));
    w.Prepare(700, 300);
    const int x0 = 10, y0 = 20;
    std::set<int> minorX, majorX, minorY, majorY;
    for (const GridLine& l : w.graph.GridLines(x0, 700, y0, 300)) {
        if (l.x1 == l.x2) {
            EXPECT_EQ(l.y1, y0);
            EXPECT_EQ(l.y2, y0 + 300);
            (l.major ? majorX : minorX).insert(l.x1 - x0);
        } else {
            EXPECT_EQ(l.x1, x0);
            EXPECT_EQ(l.x2, x0 + 700);
            (l.major ? majorY : minorY).insert(l.y1 - y0);
        }
    }
    std::set<int> expectMinor, expectMajor;
    for (int nu = 400; nu <= 4000; nu += 50) {
        const int x = ToLong(w.graph.XOfWavenumber(nu));
        expectMinor.insert(x);
        if (nu % 100 == 0) {
            expectMajor.insert(x);
        }
    }
    EXPECT_EQ(minorX, expectMinor);
    EXPECT_EQ(majorX, expectMajor);
    EXPECT_EQ(minorY.size(), 21u);  // 0, 15, ..., 300
    EXPECT_EQ(*minorY.rbegin(), 300);
    EXPECT_EQ(majorY, (std::set<int>{0, 30, 60, 90, 120, 150, 180, 210, 240, 270, 300}));

    RecordingSurface dc(800, 400);
    w.state.MinorGridColour = MakeRgb(1, 2, 3);
    w.state.MajorGridColour = MakeRgb(4, 5, 6);
    w.graph.DrawGrid(dc, x0, 700, y0, 300);
    ExpectAllReleased(dc);
    const int x2000 = x0 + ToLong(w.state.mapping.Anchor1X);
    const int x2050 = x0 + ToLong(w.graph.XOfWavenumber(2050));
    EXPECT_EQ(dc.GetPixel(x2000, y0 + 7), MakeRgb(4, 5, 6));
    EXPECT_EQ(dc.GetPixel(x2050, y0 + 7), MakeRgb(1, 2, 3));
    // The end pixel of a vertical line is left: the bottom row keeps only the
    // horizontal lines' colour or white.
    EXPECT_EQ(dc.GetPixel(x2050, y0 + 301), RecordingSurface::kWhite);
    EXPECT_EQ(dc.GetPixel(x0 + 699, y0 + 15), MakeRgb(1, 2, 3));
    EXPECT_EQ(dc.GetPixel(x0 + 700, y0 + 299), MakeRgb(4, 5, 6));          // 400 cm-1, major
    EXPECT_EQ(dc.GetPixel(x0 + 700, y0 + 300), RecordingSurface::kWhite);  // no line ends here
}

TEST(DrawGrid, AbsorbanceGridOnTheTransmittanceAxis) {
    Window w(test::FlatSpectrum(4000, 400), 0, 0, 1, 1);
    w.Prepare(700, 300);
    std::set<int> minorY, majorY;
    for (const GridLine& l : w.graph.GridLines(0, 700, 0, 300)) {
        if (l.y1 == l.y2) {
            (l.major ? majorY : minorY).insert(l.y1);
        }
    }
    // y = 30 (10 - 10^(1 - A)): A = 0 at the top, A = 1 (10 %T) at 270, A = 2
    // (1 %T) at 297, 0 %T at the bottom.
    EXPECT_EQ(minorY.size(), 11u);
    EXPECT_TRUE(majorY.count(0) && majorY.count(270) && majorY.count(297) && majorY.count(300));
    EXPECT_TRUE(majorY.count(ToLong(30 * (10 - std::pow(10.0, 1 - 0.3)))));
    EXPECT_TRUE(minorY.count(ToLong(30 * (10 - std::pow(10.0, 1 - 0.05)))));

    // A plot that stops above 0 %T gets neither the 1 %T nor the 0 %T line.
    Window partial(test::MakeSpectrum(4000, -1, std::vector<double>(3000, 50.0)), 0, 0, 0, 1);
    partial.spectrum.YAxisTop = 100;
    partial.spectrum.YAxisBottom = 20;
    partial.Prepare(700, 300);
    for (const GridLine& l : partial.graph.GridLines(0, 700, 0, 300)) {
        EXPECT_LE(l.y1, 300);
        EXPECT_GE(l.y1, 0);
    }
}

TEST(DrawScales, TransmittanceLabelsHaveALeadingBlank) {
    // Data 30..88 %T: the axis runs 90..30 without shift.
    Window w(test::MakeSpectrum(4000, -1, {88, 30, 60}), 0, 0, 0);
    w.Prepare(673, 300);
    ASSERT_EQ(w.state.mapping.YMajorShift, 0);
    RecordingSurface dc(800, 500);
    w.graph.DrawScales(dc, 60, 673, 40, 300, 0, false, true, false, false, 0);
    ExpectAllReleased(dc);
    std::vector<RecordingSurface::Text> labels;
    for (const auto& t : dc.texts) {
        if (t.font.height == -9) {
            labels.push_back(t);
        }
    }
    ASSERT_EQ(labels.size(), 7u);
    EXPECT_EQ(labels[0].text, " 90");
    EXPECT_EQ(labels[6].text, " 30");
    EXPECT_EQ(labels[0].x, 60 - 5 * 3 - 6);
    EXPECT_EQ(labels[0].y, 40 - 6);
    EXPECT_EQ(labels[1].y, 40 + 50 - 6);
    // The titles: "%T" and the rising title.
    const auto rising = std::find_if(dc.texts.begin(), dc.texts.end(),
                                     [](const auto& t) { return t.font.escapement == 900; });
    ASSERT_NE(rising, dc.texts.end());
    EXPECT_EQ(rising->x, 60 - 30);
    EXPECT_EQ(rising->y, 40 + 150 + 2 * 40);

    // A top of 95 %T shifts the labels one minor step down: 90, 80, ...
    Window shifted(test::MakeSpectrum(4000, -1, {92, 30, 60}), 0, 0, 0);
    shifted.Prepare(673, 300);
    ASSERT_EQ(shifted.state.mapping.YMajorShift, 1);
    const ScaleMarkList marks = shifted.graph.ScaleMarks(60, 673, 40, 300, {false, true});
    const auto first = std::find_if(marks.marks.begin(), marks.marks.end(),
                                    [](const ScaleMark& m) { return m.isText; });
    EXPECT_EQ(first->text, " 90");
    EXPECT_EQ(first->y1, ToLong(40 + shifted.state.mapping.YMinorStep) - 6);
}

TEST(DrawScales, AbsorbanceLabelsAndTheInfinitySign) {
    Window w(test::FlatSpectrum(4000, 400));
    w.Prepare(673, 300);  // 0..100 %T
    RecordingSurface dc(800, 500);
    w.graph.DrawScales(dc, 60, 673, 40, 300, 0, false, false, false, true, 0);
    ExpectAllReleased(dc);
    const std::vector<std::string> labels = TextsIn(dc, -9);
    EXPECT_EQ(labels, (std::vector<std::string>{"1.5", "2", "0", "0.1", "0.2", "0.3", "0.4", "0.5",
                                                "0.6", "0.7", "0.8", "0.9", "1"}));
    EXPECT_EQ(TextsIn(dc, -10).front(), "\xA5");

    Window partial(test::MakeSpectrum(4000, -1, std::vector<double>(3000, 50.0)), 0, 0, 0);
    partial.spectrum.YAxisTop = 100;
    partial.spectrum.YAxisBottom = 20;  // 0.7 absorbance at the bottom
    partial.Prepare(673, 300);
    RecordingSurface dc2(800, 500);
    partial.graph.DrawScales(dc2, 60, 673, 40, 300, 0, false, false, false, true, 0);
    EXPECT_EQ(TextsIn(dc2, -9),
              (std::vector<std::string>{"0", "0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7"}));
    for (const auto& t : dc2.texts) {
        EXPECT_TRUE(t.font.face != "Symbol" || t.text == "A\xAF");  // no infinity sign
    }
}

TEST(DrawScales, ThreeSectionSmallLabelsBelow1000) {
    Window w(test::FlatSpectrum(4000, 400), 0, 2);
    w.Prepare(673, 300);
    RecordingSurface dc(800, 500);
    w.graph.DrawScales(dc, 10, 673, 0, 0, 0, true, false, false, false, 0);
    ExpectAllReleased(dc);
    EXPECT_EQ(TextsIn(dc, -8), (std::vector<std::string>{"900", "800", "700", "600", "400"}));
    const std::vector<std::string> big = TextsIn(dc, -9);
    for (const char* label : {"2000", "2500", "3000", "3500", "4000", "1500", "1000", "500"}) {
        EXPECT_NE(std::find(big.begin(), big.end(), label), big.end()) << label;
    }
    EXPECT_EQ(std::find(big.begin(), big.end(), "900"), big.end());
    // The two-section scale has no small labels.
    Window two(test::FlatSpectrum(4000, 400), 0, 0);
    two.Prepare(673, 300);
    RecordingSurface dc2(800, 500);
    two.graph.DrawScales(dc2, 10, 673, 0, 0, 0, true, false, false, false, 0);
    EXPECT_TRUE(TextsIn(dc2, -8).empty());
    // A label sits centred by 2.25 pixels per character, ticks are 6 long.
    const auto& t = dc2.texts.front();
    const int x = 10 + ToLong(two.state.mapping.Anchor1X);
    EXPECT_EQ(t.text, "2000");
    EXPECT_EQ(t.x, x - 1 - 9);
    EXPECT_EQ(t.y, 6);
    EXPECT_EQ(dc2.GetPixel(x, 5), 0u);
    EXPECT_EQ(dc2.GetPixel(x, 6), RecordingSurface::kWhite);
}

TEST(DrawScales, MicrometreLabelsThinOutTowardsLowWavenumbers) {
    Window w(test::FlatSpectrum(4000, 400));
    w.Prepare(673, 300);
    const ScaleMarkList list = w.graph.ScaleMarks(10, 673, 30, 300, {false, false, true, false});
    std::vector<int> xs;
    std::vector<std::string> labels;
    int ticks = 0;
    for (const ScaleMark& m : list.marks) {
        if (m.isText) {
            labels.push_back(m.text);
            xs.push_back(m.x1 +
                         static_cast<int>(std::floor(2.25 * static_cast<double>(m.text.size()))));
        } else if (m.y2 == 30 - 6) {
            ++ticks;
        }
    }
    EXPECT_EQ(ticks, 23);  // 3 .. 25 um
    EXPECT_EQ(labels.front(), "3");
    EXPECT_LT(labels.size(), 23u);
    EXPECT_NE(std::find(labels.begin(), labels.end(), "20"), labels.end());
    EXPECT_EQ(std::find(labels.begin(), labels.end(), "21"), labels.end());
    for (std::size_t i = 1; i < xs.size(); ++i) {
        EXPECT_GE(xs[i] - xs[i - 1], 11);
    }
    EXPECT_EQ(list.LastLabelX, xs.back());
}

TEST(DrawScales, WavelengthModeWavenumberTicksStopAt3000UnlessExpanded) {
    Window w(test::FlatSpectrum(4000, 400), 1);
    w.Prepare(673, 300);
    auto smallTicks = [&] {
        int n = 0;
        for (const ScaleMark& m : w.graph.ScaleMarks(10, 673, 0, 0, {true}).marks) {
            n += !m.isText && m.y2 == 4;
        }
        return n;
    };
    EXPECT_EQ(smallTicks(), 27);  // 400 .. 3000
    w.state.ExpansionLevel = 1;
    EXPECT_EQ(smallTicks(), 37);  // 400 .. 4000
    // Whole micrometres above, with a leading blank: " 5" at 5 um.
    const ScaleMarkList top = w.graph.ScaleMarks(10, 673, 30, 0, {false, false, true});
    std::set<std::string> labels;
    for (const ScaleMark& m : top.marks) {
        if (m.isText) {
            labels.insert(m.text);
        }
    }
    EXPECT_TRUE(labels.count(" 5") && labels.count(" 3") && labels.count(" 25"));
}

TEST(DrawScales, TitlesAndTheirGlyphs) {
    Window w(test::FlatSpectrum(4000, 400));
    w.Prepare(673, 348);
    RecordingSurface dc(800, 500);
    w.graph.DrawScales(dc, 35, 673, 70, 348, 0, true, true, true, true, 3);
    ExpectAllReleased(dc);
    std::map<std::string, RecordingSurface::Text> byText;
    for (const auto& t : dc.texts) {
        byText.emplace(t.text, t);
    }
    EXPECT_EQ(byText.at("Wavelenght, ").x, ToLong(35 + 336.5 - 24));
    EXPECT_EQ(byText.at("Wavelenght, ").y, 40);
    EXPECT_EQ(byText.at("m").font.face, "Symbol");
    EXPECT_EQ(byText.at("Wavenumbers, cm").y, 70 + 348 + 16);
    const auto raised = std::find_if(dc.texts.begin(), dc.texts.end(), [](const auto& t) {
        return t.text == "1" && t.y == 70 + 348 + 15;
    });
    ASSERT_NE(raised, dc.texts.end());
    EXPECT_EQ(raised->font.height, -8);
    EXPECT_EQ(byText.at("A  b  s  o  r  b  a  n  c  e").font.escapement, 2700);
    EXPECT_EQ(byText.at("A  b  s  o  r  b  a  n  c  e").y, ToLong(70 + 174 - 2 * 28));
}

TEST(DrawTrace, PointsAreBlackAndTheStrideCountsFromTheSecondPoint) {
    Window w(test::MakeSpectrum(4000, -10, std::vector<double>(11, 50.0)));
    w.Prepare(100, 100);
    w.state.mnuLineChecked = false;
    w.state.PointStep = 3;
    RecordingSurface dc(200, 200);
    w.graph.DrawTrace(dc, 0, 100, 0, 100, MakeRgb(192, 0, 0));
    ExpectAllReleased(dc);
    EXPECT_EQ(dc.pixelsSet, 1 + 4);  // points 1, 2, 5, 8, 11
    for (int p : {1, 2, 5, 8, 11}) {
        EXPECT_EQ(dc.GetPixel((p - 1) * 10, 50), 0u) << p;
    }
    EXPECT_EQ(dc.GetPixel(20, 50), RecordingSurface::kWhite);  // point 3 skipped

    w.state.PointStep = 4;  // 1, 2, 6, 10: the last point falls off the stride
    w.state.mnuLineChecked = true;
    RecordingSurface line(200, 200);
    w.graph.DrawTrace(line, 0, 100, 0, 100, MakeRgb(192, 0, 0));
    EXPECT_EQ(line.lines.size(), 3u);
    EXPECT_EQ(line.lines.back().x2, 90);
    EXPECT_EQ(line.GetPixel(89, 50), MakeRgb(192, 0, 0));
    EXPECT_EQ(line.GetPixel(90, 50), RecordingSurface::kWhite);  // end pixel unpainted
}

TEST(PeakLabels, BoxesBelowOrLeftAndLeadersByPlace) {
    // Dips at 3000 (40 %T) and 1500 (2 %T, near the bottom) on 0..100 %T.
    std::vector<double> percent(3601, 90.0);
    percent[1000] = 40.0;
    percent[2500] = 2.0;
    Window w(test::MakeSpectrum(4000, -1, percent));
    w.Prepare(673, 348);
    ASSERT_EQ(w.state.peaks.PeakCount, 2);
    const auto& boxes = w.state.peaks.PeakLabelBoxes;
    const int xDeep = ToLong(w.graph.XOfWavenumber(1500));
    const int xHigh = ToLong(w.graph.XOfWavenumber(3000));
    EXPECT_EQ(boxes[0][0][0], (LabelBox{xDeep - 24, 300, xDeep - 14, 300 + 6 * 4 + 1}));
    const int y = ToLong(348 * 0.6);
    EXPECT_EQ(boxes[1][0][0], (LabelBox{xHigh - 4, y + 22, xHigh + 6, y + 22 + 25}));
    EXPECT_EQ(w.graph.PeakLabelText(2501), "1500");

    RecordingSurface dc(800, 500);
    w.graph.DrawPeakLabels(dc, 0, 0, MakeRgb(0, 0, 255));
    ExpectAllReleased(dc);
    ASSERT_EQ(dc.fills.size(), 2u);
    EXPECT_EQ(dc.fills[1].colour, kLabelBackgroundColour);
    EXPECT_EQ(dc.texts[1].x, xHigh - 4 + 4 + 7);
    EXPECT_EQ(dc.texts[1].y, y + 23);
    EXPECT_EQ(dc.texts[1].font.escapement, 2700);
    EXPECT_EQ(dc.texts[1].colour, MakeRgb(0, 0, 255));
    // The leader runs down from under the peak to 5 pixels above the label.
    EXPECT_EQ(dc.GetPixel(xHigh, y + 5), MakeRgb(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(xHigh, y + 4), RecordingSurface::kWhite);

    // A label dragged above its peak gets its leader up to 5 below its bottom.
    w.state.peaks.PeakLabelBoxes[1][0][0] = {xHigh - 4, 20, xHigh + 6, 45};
    w.state.FillLabelBackground = false;
    RecordingSurface up(800, 500);
    w.graph.DrawPeakLabels(up, 0, 0, MakeRgb(0, 0, 255));
    EXPECT_TRUE(up.fills.empty());
    const auto& leader = up.lines[up.lines.size() - 2];
    EXPECT_EQ(leader.y2, 50);
    EXPECT_EQ(up.lines.back().y2, 45);

    // On the wavelength scale the label is micrometres with two decimals.
    w.settings.XScaleKind = 1;
    w.Prepare(673, 348);
    EXPECT_EQ(w.graph.PeakLabelText(3001), "10");
    w.spectrum.WaveX[3001] = 1715.0f;
    EXPECT_EQ(w.graph.PeakLabelText(3001), "5.83");
    // Each X-scale layout keeps its own boxes.
    EXPECT_NE(w.state.peaks.PeakLabelBoxes[1][0][1], w.state.peaks.PeakLabelBoxes[1][0][0]);
}

TEST(Figure, GeometryAndReducedHeights) {
    const FigureGeometry full = FigureGeometryFor(false, 0);
    EXPECT_EQ(full.FigureWidth, 747);
    EXPECT_EQ(full.FigureHeight, 456);
    EXPECT_EQ(full.PlotHeight, 348);
    EXPECT_EQ(full.PlotTop, 70);
    EXPECT_EQ(full.PlotLeft, 35);
    EXPECT_EQ(PlotHeightForPercent(100), 348);
    EXPECT_EQ(PlotHeightForPercent(90), 313);
    EXPECT_EQ(PlotHeightForPercent(70), 244);
    EXPECT_EQ(PlotHeightForPercent(50), 174);
    const FigureGeometry half = FigureGeometryFor(true, GraphPanelHeightFor(174));
    EXPECT_EQ(half.FigureHeight, 282);
    EXPECT_EQ(half.PlotHeight, 174);
    EXPECT_EQ(half.PlotTop, 70);
    EXPECT_EQ(half.FigureHeight - half.PlotTop - half.PlotHeight, 38);
}

TEST(Figure, ElementsColoursFrameAndCredit) {
    std::vector<double> percent(3601, 90.0);
    percent[2000] = 20.0;
    Window w(test::MakeSpectrum(4000, -1, percent));
    w.Prepare(673, 348);
    FigureState figure;
    figure.labels = SampleLabelsAtDesignPlaces(w.spectrum, 100);
    figure.labels[0].caption = "Title";
    figure.labels[5].visible = false;
    ColorBW(figure, true);
    EXPECT_EQ(figure.colours.MinorGridColour, MakeRgb(224, 224, 224));
    EXPECT_EQ(figure.colours.MajorGridColour, MakeRgb(192, 192, 192));
    RecordingSurface dc(747, 456);
    FigComplete(w.graph, figure, dc);
    ExpectAllReleased(dc);
    // The grid is drawn in the figure's colours; the spectrum window's own
    // grid colours stay as they were.
    const auto greyLines = std::count_if(dc.lines.begin(), dc.lines.end(), [](const auto& l) {
        return l.colour == MakeRgb(224, 224, 224) || l.colour == MakeRgb(192, 192, 192);
    });
    EXPECT_GT(greyLines, 10);
    EXPECT_EQ(w.state.MinorGridColour, GraphState{}.MinorGridColour);
    EXPECT_EQ(w.state.MajorGridColour, GraphState{}.MajorGridColour);
    // Frame with a one-pixel shadow on the right and bottom.
    EXPECT_EQ(dc.GetPixel(0, 0), 0u);
    EXPECT_EQ(dc.GetPixel(745, 200), 0u);
    EXPECT_EQ(dc.GetPixel(746, 200), 0u);
    EXPECT_EQ(dc.GetPixel(746, 0), RecordingSurface::kWhite);
    EXPECT_EQ(dc.GetPixel(200, 455), 0u);
    // The credit and the sample labels at their places plus (22, 7).
    const auto& credit = dc.texts.back();
    EXPECT_EQ(credit.x, 643);
    EXPECT_EQ(credit.y, 440);
    EXPECT_EQ(credit.text.rfind("Halvorn ", 0), 0u);
    EXPECT_EQ(dc.texts[0].x, 24 + 22);
    EXPECT_EQ(dc.texts[0].y, 2 + 7);
    EXPECT_EQ(dc.texts[0].font.height, 11);
    const auto title = std::find_if(dc.texts.begin(), dc.texts.end(),
                                    [](const auto& t) { return t.text == "Title"; });
    EXPECT_EQ(title->font.weight, 700);
    EXPECT_EQ(title->x, ToLong(35 + 336.5 - 50));
    EXPECT_EQ(std::count_if(dc.texts.begin(), dc.texts.end(),
                            [](const auto& t) { return t.font.height == 11; }),
              5);

    // Everything switched off: the plot box and the credit stay.
    figure.switches = {false, false, false, false, false, false, false};
    RecordingSurface bare(747, 456);
    FigComplete(w.graph, figure, bare);
    EXPECT_EQ(bare.texts.size(), 1u);
    EXPECT_EQ(bare.lines.size(), 4u);
    EXPECT_EQ(bare.GetPixel(35, 70), 0u);
    EXPECT_EQ(bare.GetPixel(708, 300), 0u);
    EXPECT_EQ(bare.GetPixel(0, 0), RecordingSurface::kWhite);
}

TEST(Drawing, OverflowIsAnErrorValueNotACrash) {
    Window w(test::FlatSpectrum(4000, 400));
    w.Prepare(673, 348);
    w.state.mapping.MajorStep1 = 1e300;
    RecordingSurface dc(100, 100);
    const GraphOutcome outcome =
        RunGuarded([&] { w.graph.DrawScales(dc, 0, 673, 0, 0, 0, true, false, false, false, 0); });
    EXPECT_FALSE(outcome.ok);
    EXPECT_FALSE(outcome.message.empty());

    Window single(test::MakeSpectrum(2000, -1, {50}));
    const GraphOutcome one = single.graph.PrepareRedraw(673, 348);
    EXPECT_FALSE(one.ok);
    EXPECT_NE(one.message.find("zero width"), std::string::npos);
}

}  // namespace
}  // namespace halvorn
