// The grid inside the plot rectangle and the scales and axis titles around it.
#include <cmath>
#include <map>

#include "core/numbers.h"
#include "graph/graph.h"

namespace halvorn {

namespace {

// Every walk of the grid and the scales takes at most this many steps, so a
// degenerate step size cannot hang a redraw.
constexpr std::int32_t kWalkLimit = 10000;

std::int32_t R(double v) {
    return ToLong(v);
}
std::int32_t F(double v) {
    return ToLong(std::floor(v));
}
std::int32_t Len(const std::string& text) {
    return static_cast<std::int32_t>(text.size());
}

// y of the absorbance 0.05 a, that is of 10^(2 - 0.05 a) %T.
std::int32_t AbsorbanceY(const MappingState& m, int a, std::int32_t y0) {
    return R((10.0 - std::pow(10.0, 1.0 - 0.05 * a)) * m.YMajorStep + y0 -
             (100.0 - m.PlotYTop) * m.YMinorStep / 5.0);
}

// y of 0 %T.
std::int32_t ZeroTransmittanceY(const MappingState& m, std::int32_t y0) {
    return R(y0 + 10.0 * m.YMajorStep - (100.0 - m.PlotYTop) * m.YMinorStep / 5.0);
}

// Calls visit(i, x) for i = 0, step, 2 step, ... (at most kWalkLimit) with
// x = R(origin + i x pitch) until visit returns false. A pitch of 0 would give
// the same x again and again, so that walk stops after its first position.
template <typename Visit>
void Walk(double origin, double pitch, int step, Visit&& visit) {
    for (int i = 0; i <= kWalkLimit; i += step) {
        if (!visit(i, R(origin + i * pitch))) {
            return;
        }
        if (pitch == 0.0) {
            return;
        }
    }
}

}  // namespace

FontRequest FontOf(ScaleFont font) {
    switch (font) {
        case ScaleFont::Label:
            return {"Arial", -9, 0, 0, 400};
        case ScaleFont::Symbol:
            return {"Symbol", -10, 0, 0, 400};
        case ScaleFont::Small:
            return {"Arial", -8, 0, 0, 400};
        case ScaleFont::Title:
            return {"Arial", -11, 0, 0, 400};
        case ScaleFont::RisingTitle:
            return {"Arial", -10, 4, 900, 400};
        case ScaleFont::FallingTitle:
            return {"Arial", -10, 4, 2700, 400};
    }
    return {};
}

std::vector<GridLine> Graph::GridLines(std::int32_t x0, std::int32_t width, std::int32_t y0,
                                       std::int32_t height) const {
    const MappingState& m = g_.mapping;
    std::vector<GridLine> lines;
    bool major = false;
    auto horizontal = [&](std::int32_t y) { lines.push_back({major, x0, y, x0 + width, y}); };
    auto vertical = [&](std::int32_t x) { lines.push_back({major, x, y0, x, y0 + height}); };

    for (major = false;; major = true) {
        // Horizontal lines.
        if (settings_.YGridMode == 0) {
            const double shift = major ? m.YMajorShift * m.YMinorStep : 0.0;
            const double pitch = major ? m.YMajorStep : m.YMinorStep;
            for (int i = 0; i <= kWalkLimit; ++i) {
                if (shift + i * pitch > height) {
                    break;
                }
                horizontal(R(shift + y0 + i * pitch));
                if (pitch == 0.0) {
                    break;
                }
            }
        } else if (!major) {
            // Every 0.05 absorbance up to 0.5.
            for (int a = 0; a <= 10; ++a) {
                const std::int32_t y = AbsorbanceY(m, a, y0);
                if (y > y0 + height) {
                    break;
                }
                if (y >= y0) {
                    horizontal(y);
                }
            }
        } else {
            // 0.6 to 1.5 every 0.1; then 2 and infinity when the plot reaches
            // 0 %T; then 0 to 1.0 every 0.1.
            bool belowPlot = false;
            for (int a = 12; a <= 30; a += 2) {
                const std::int32_t y = AbsorbanceY(m, a, y0);
                if (y > y0 + height) {
                    belowPlot = true;
                    break;
                }
                if (y >= y0) {
                    horizontal(y);
                }
            }
            if (!belowPlot && m.PlotYBottom <= 0.0f) {
                horizontal(AbsorbanceY(m, 40, y0));
                horizontal(ZeroTransmittanceY(m, y0));
            }
            for (int a = 0; a <= 20; a += 2) {
                const std::int32_t y = AbsorbanceY(m, a, y0);
                if (y > y0 + height) {
                    break;
                }
                if (y >= y0) {
                    horizontal(y);
                }
            }
        }

        // Vertical lines: leftwards from Anchor1X, rightwards from Anchor1X to
        // Anchor2X, rightwards from Anchor2X to the right edge.
        const double step1 = major ? m.MajorStep1 : m.MinorStep1;
        const double step2 = major ? m.MajorStep2 : m.MinorStep2;
        const double step3 = major ? m.MajorStep3 : m.MinorStep3;
        Walk(m.Anchor1X + x0, -step1, 1, [&](int, std::int32_t x) {
            if (x < x0) {
                return false;
            }
            if (major || x <= x0 + m.Anchor2X) {
                vertical(x);
            }
            return true;
        });
        Walk(m.Anchor1X + x0, step2, 1, [&](int, std::int32_t x) {
            if (x > x0 + m.Anchor2X) {
                return false;
            }
            if (major || x >= x0) {
                vertical(x);
            }
            return true;
        });
        Walk(m.Anchor2X + x0, step3, 1, [&](int, std::int32_t x) {
            if (x > x0 + width) {
                return false;
            }
            vertical(x);
            return true;
        });
        if (major) {
            break;
        }
    }
    return lines;
}

void Graph::DrawGrid(Surface& dc, std::int32_t x0, std::int32_t width, std::int32_t y0,
                     std::int32_t height) const {
    DrawGrid(dc, x0, width, y0, height, g_.MinorGridColour, g_.MajorGridColour);
}

void Graph::DrawGrid(Surface& dc, std::int32_t x0, std::int32_t width, std::int32_t y0,
                     std::int32_t height, Rgb minorColour, Rgb majorColour) const {
    const std::vector<GridLine> lines = GridLines(x0, width, y0, height);
    const ObjectHandle minorPen = dc.CreatePen(minorColour);
    const ObjectHandle previous = dc.SelectObject(minorPen);
    const ObjectHandle majorPen = dc.CreatePen(majorColour);
    bool majorSelected = false;
    for (const GridLine& line : lines) {
        if (line.major && !majorSelected) {
            dc.SelectObject(majorPen);
            majorSelected = true;
        }
        dc.MoveTo(line.x1, line.y1);
        dc.LineTo(line.x2, line.y2);
    }
    dc.SelectObject(previous);
    dc.DeleteObject(minorPen);
    dc.DeleteObject(majorPen);
}

ScaleMarkList Graph::ScaleMarks(std::int32_t x0, std::int32_t width, std::int32_t y0,
                                std::int32_t height, const ScaleSides& sides) const {
    const MappingState& m = g_.mapping;
    ScaleMarkList list;
    list.LastLabelX = g_.LastLabelX;
    std::vector<ScaleMark>& marks = list.marks;
    auto tick = [&](std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
        marks.push_back({false, ScaleFont::Label, x1, y1, x2, y2, {}});
    };
    auto text = [&](ScaleFont font, std::int32_t x, std::int32_t y, std::string t) {
        marks.push_back({true, font, x, y, 0, 0, std::move(t)});
    };
    const char sep = g_.DecimalSeparator;

    // Left: %T, minor ticks every half step, labelled major ticks.
    if (sides.leftScale) {
        for (int i = 0; i <= 20; ++i) {
            const std::int32_t y = R(i * m.YMinorStep + y0);
            if (y > y0 + height) {
                break;
            }
            tick(x0, y, x0 - 4, y);
        }
        for (int i = 0; i <= 12; ++i) {
            const std::int32_t y = R(m.YMajorShift * m.YMinorStep + y0 + i * m.YMajorStep);
            if (y > y0 + height) {
                break;
            }
            tick(x0, y, x0 - 6, y);
            const std::string label = StrForm(m.PlotYTop - (m.YMajorShift * 0.5 + i) * 10.0);
            text(ScaleFont::Label, x0 - 5 * Len(label) - 6, y - 6, label);
        }
    }

    // Right: absorbance on the %T axis.
    if (sides.rightScale) {
        const std::int32_t xr = x0 + width;
        const std::int32_t bottom = y0 + height;
        bool belowPlot = false;
        for (int a = 0; a <= 10 && !belowPlot; ++a) {
            const std::int32_t y = AbsorbanceY(m, a, y0);
            if (y > bottom) {
                belowPlot = true;
            } else if (y >= y0) {
                tick(xr, y, xr + 4, y);
            }
        }
        for (int a = 12; a <= 30 && !belowPlot; a += 2) {
            const std::int32_t y = AbsorbanceY(m, a, y0);
            if (y > bottom) {
                belowPlot = true;
            } else if (y >= y0) {
                tick(xr, y, xr + 5, y);
            }
        }
        if (!belowPlot && m.PlotYBottom <= 0.0f) {
            std::int32_t y = AbsorbanceY(m, 30, y0);
            tick(xr, y, xr + 12, y);
            text(ScaleFont::Label, xr + 15, y - 5, "1.5");
            y = AbsorbanceY(m, 40, y0);
            tick(xr, y, xr + 5, y);
            text(ScaleFont::Label, xr + 8, y - 7, "2");
            y = ZeroTransmittanceY(m, y0);
            tick(xr, y, xr + 12, y);
            text(ScaleFont::Symbol, xr + 15, y - 7, "\xA5");  // infinity
        }
        for (int a = 0; a <= 20; a += 2) {
            const std::int32_t y = AbsorbanceY(m, a, y0);
            if (y > bottom) {
                break;
            }
            if (y >= y0) {
                tick(xr, y, xr + 5, y);
                text(ScaleFont::Label, xr + 8, y - 5, CStrForm(0.05 * a, sep));
            }
        }
    }

    if (m.XScaleKind == 1) {
        // Wavelength scale: micrometres above, wavenumbers below.
        if (sides.topScale) {
            Walk(m.Anchor1X + x0, -m.MajorStep1, 1, [&](int, std::int32_t x) {
                if (x < x0) {
                    return false;
                }
                tick(x, y0, x, y0 - 4);
                return true;
            });
            Walk(m.Anchor1X + x0, m.MajorStep2, 1, [&](int, std::int32_t x) {
                if (x > x0 + m.Anchor2X) {
                    return false;
                }
                tick(x, y0, x, y0 - 4);
                return true;
            });
            const int perMicron = m.WlMajorPerMicron > 0 ? m.WlMajorPerMicron : 1;
            auto label = [&](std::int32_t x, double micrometres) {
                tick(x, y0, x, y0 - 6);
                const std::string t = StrForm(micrometres);
                text(ScaleFont::Label, R(x - 1 - F(2.25 * Len(t))), y0 - 16, t);
            };
            Walk(m.Anchor1X + x0, -m.MajorStep1, perMicron, [&](int i, std::int32_t x) {
                if (x < x0) {
                    return false;
                }
                label(x, m.WlAnchor - static_cast<double>(i) / m.WlMajorPerMicron);
                return true;
            });
            Walk(m.Anchor1X + x0, m.MajorStep2, perMicron, [&](int i, std::int32_t x) {
                if (x > x0 + m.Anchor2X) {
                    return false;
                }
                label(x, static_cast<double>(i) / m.WlMajorPerMicron + m.WlAnchor);
                return true;
            });
        }
        if (sides.bottomScale) {
            const std::int32_t yb = y0 + height;
            auto xOf = [&](int nu) {
                return R(x0 + m.Anchor1X +
                         (10000.0 / nu - m.WlAnchor) * m.MajorStep1 * m.WlMajorPerMicron);
            };
            for (int nu = 100; nu <= 5000; nu += 100) {
                const double wl = 10000.0 / nu;
                if (wl > s_.LastWL) {
                    continue;
                }
                if (wl < s_.FirstWL || (g_.ExpansionLevel == 0 && nu > 3000)) {
                    break;
                }
                const std::int32_t x = xOf(nu);
                tick(x, yb, x, yb + 4);
                list.LastLabelX = x;
                if (nu > 500 && nu < 1000) {
                    const std::string t = IntegerText(nu);
                    text(ScaleFont::Small, R(x - 2 * Len(t)), yb + 4, t);
                }
            }
            for (int nu = 500; nu <= 5000; nu += 500) {
                const double wl = 10000.0 / nu;
                if (wl > s_.LastWL) {
                    continue;
                }
                if (wl < s_.FirstWL) {
                    break;
                }
                const std::int32_t x = xOf(nu);
                tick(x, yb, x, yb + 6);
                if (nu != 3500 && nu != 4500) {
                    const std::string t = IntegerText(nu);
                    text(ScaleFont::Label, R(x - 1 - F(2.25 * Len(t))), yb + 6, t);
                }
            }
        }
    } else {
        // Wavenumber scale: wavenumbers below, micrometres above.
        if (sides.bottomScale) {
            const std::int32_t yb = y0 + height;
            const std::int32_t right = x0 + width;
            auto leftWalk = [&](double pitch, int step, auto&& visit) {
                Walk(m.Anchor1X + x0, -pitch, step, [&](int i, std::int32_t x) {
                    if (x < x0) {
                        return false;
                    }
                    visit(i, x);
                    return true;
                });
            };
            auto middleWalk = [&](double pitch, int step, auto&& visit) {
                Walk(m.Anchor1X + x0, pitch, step, [&](int i, std::int32_t x) {
                    if (x > x0 + m.Anchor2X) {
                        return false;
                    }
                    visit(i, x);
                    return true;
                });
            };
            auto rightWalk = [&](double pitch, int step, auto&& visit) {
                Walk(m.Anchor2X + x0, pitch, step, [&](int i, std::int32_t x) {
                    if (x > right) {
                        return false;
                    }
                    visit(i, x);
                    return true;
                });
            };
            auto shortTick = [&](int, std::int32_t x) { tick(x, yb, x, yb + 4); };
            leftWalk(m.MajorStep1, 1, shortTick);
            middleWalk(m.MajorStep2, 1, shortTick);
            rightWalk(m.MajorStep3, 1, [&](int i, std::int32_t x) {
                tick(x, yb, x, yb + 4);
                if (settings_.WavenumberSections == 2 && i > 0 && i != 5) {
                    const std::string t = IntegerText(1000 - 100 * i);
                    text(ScaleFont::Small, R(x - 2 * Len(t)), yb + 4, t);
                }
            });
            auto labelled = [&](std::int32_t x, std::int64_t nu) {
                tick(x, yb, x, yb + 6);
                const std::string t = IntegerText(nu);
                text(ScaleFont::Label, R(x - 1 - F(2.25 * Len(t))), yb + 6, t);
            };
            leftWalk(m.MajorStep1, 5, [&](int i, std::int32_t x) { labelled(x, 2000 + 100 * i); });
            middleWalk(m.MajorStep2, 5,
                       [&](int i, std::int32_t x) { labelled(x, 2000 - 100 * i); });
            rightWalk(m.MajorStep3, 5, [&](int i, std::int32_t x) { labelled(x, 1000 - 100 * i); });
        }
        if (sides.topScale) {
            for (int i = 1; i <= 80; ++i) {
                const std::int32_t x = R(x0 + XOfWavenumber(10000.0 / (i / 2.0)));
                if (x > x0 + width) {
                    break;
                }
                if (x >= x0) {
                    tick(x, y0, x, y0 - 3);
                }
            }
            list.LastLabelX = -100;
            for (int i = 1; i <= 40; ++i) {
                const std::int32_t x = R(x0 + XOfWavenumber(10000.0 / i));
                if (x > x0 + width) {
                    break;
                }
                if (x < x0) {
                    continue;
                }
                tick(x, y0, x, y0 - 6);
                if (x - list.LastLabelX >= 11) {
                    const std::string t = IntegerText(i);
                    text(ScaleFont::Label, R(x - F(2.25 * Len(t))), y0 - 16, t);
                    list.LastLabelX = x;
                }
            }
        }
    }

    // Titles.
    const double xc = x0 + width / 2.0;
    if (sides.titles == 1 || sides.titles == 3) {
        const std::string t = "Wavelenght, ";
        text(ScaleFont::Title, R(xc - 2 * Len(t)), y0 - 30, t);
        text(ScaleFont::Symbol, R(xc + 40), y0 - 29, "m");  // micro sign
        text(ScaleFont::Title, R(xc + 49), y0 - 30, "m");
    }
    if (sides.titles == 2 || sides.titles == 3) {
        const std::string t = "Wavenumbers, cm";
        text(ScaleFont::Title, R(xc - 2 * Len(t)), y0 + height + 16, t);
        text(ScaleFont::Title, R(xc + 66), y0 + height + 12, "-");
        text(ScaleFont::Small, R(xc + 70), y0 + height + 15, "1");
    }
    if (sides.leftScale) {
        text(ScaleFont::Title, x0 - 22, y0 - 20, "%T");
        const std::string t = "%  T  r  a  n  s  m  i  t  t  a  n  c  e";
        text(ScaleFont::RisingTitle, x0 - 30, R(y0 + height / 2.0 + 2 * Len(t)), t);
    }
    if (sides.rightScale) {
        text(ScaleFont::Symbol, x0 + width + 10, y0 - 20, "A\xAF");  // alpha, arrow down
        const std::string t = "A  b  s  o  r  b  a  n  c  e";
        text(ScaleFont::FallingTitle, x0 + width + 35, R(y0 + height / 2.0 - 2 * Len(t)), t);
    }
    return list;
}

void Graph::DrawScales(Surface& dc, std::int32_t x0, std::int32_t width, std::int32_t y0,
                       std::int32_t height, std::int32_t /*reserved*/, bool bottomScale,
                       bool leftScale, bool topScale, bool rightScale, std::int16_t titles) const {
    const ScaleMarkList list =
        ScaleMarks(x0, width, y0, height, {bottomScale, leftScale, topScale, rightScale, titles});

    // Fonts are made when first needed and all deleted at the end of the call,
    // after the font selected on entry is back.
    std::map<ScaleFont, ObjectHandle> fonts;
    ObjectHandle entryFont = 0;
    bool anyFont = false;
    ScaleFont current = ScaleFont::Label;
    for (const ScaleMark& mark : list.marks) {
        if (!mark.isText) {
            dc.MoveTo(mark.x1, mark.y1);
            dc.LineTo(mark.x2, mark.y2);
            continue;
        }
        if (!anyFont || mark.font != current) {
            auto found = fonts.find(mark.font);
            if (found == fonts.end()) {
                found = fonts.emplace(mark.font, dc.CreateFont(FontOf(mark.font))).first;
            }
            const ObjectHandle previous = dc.SelectObject(found->second);
            if (!anyFont) {
                entryFont = previous;
                anyFont = true;
            }
            current = mark.font;
        }
        dc.TextOut(mark.x1, mark.y1, mark.text);
    }
    if (anyFont) {
        dc.SelectObject(entryFont);
    }
    for (const auto& [font, handle] : fonts) {
        dc.DeleteObject(handle);
    }
    g_.LastLabelX = list.LastLabelX;
}

}  // namespace halvorn
