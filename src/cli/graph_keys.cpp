#include "cli/graph_keys.h"

namespace halvorn {

DisplaySettings SettingsOf(const CliOptions& o) {
    DisplaySettings settings;
    settings.XScaleKind = static_cast<std::int16_t>(o.xScaleKind);
    settings.WavenumberSections = static_cast<std::int16_t>(o.wavenumberSections);
    settings.YGridMode = static_cast<std::int16_t>(o.yGridMode);
    settings.FixedYRange = o.fixedY ? 1 : 0;
    return settings;
}

InfoGraph::InfoGraph(Spectrum& s, const CliOptions& o)
    : settings_(SettingsOf(o)),
      graph_(s, settings_, state_),
      plotWidth_(o.plotWidth),
      plotHeight_(o.plotHeight) {
    (void)Redraw();
}

GraphOutcome InfoGraph::Redraw() {
    Spectrum& s = graph_.spectrum();
    outcome_ = graph_.PrepareRedraw(plotWidth_, plotHeight_);
    if (outcome_.ok) {
        s.Loading = false;
    }
    searched_ = searched_ || !s.NeedPeakSearch;
    laidOut_ = !s.RelayoutLabels && IsLaidOut(state_.peaks, settings_);
    return outcome_;
}

InteractionTarget InfoGraph::Target() {
    return {graph_.spectrum(), settings_,   state_,
            plotWidth_,        plotHeight_, [this] { return Redraw(); }};
}

void InfoGraph::WriteKeys(Json& json) const {
    const MappingState& m = state_.mapping;
    Json mapping = Json::object();
    mapping["Anchor1X"] = m.Anchor1X;
    mapping["Anchor2X"] = m.Anchor2X;
    mapping["MinorStep1"] = m.MinorStep1;
    mapping["MinorStep2"] = m.MinorStep2;
    mapping["MinorStep3"] = m.MinorStep3;
    mapping["MajorStep1"] = m.MajorStep1;
    mapping["MajorStep2"] = m.MajorStep2;
    mapping["MajorStep3"] = m.MajorStep3;
    mapping["WlMajorPerMicron"] = m.WlMajorPerMicron;
    mapping["WlAnchor"] = m.WlAnchor;
    mapping["XOrigin"] = m.XOrigin;
    mapping["XEnd"] = m.XEnd;
    mapping["XScale"] = m.XScale;
    mapping["PlotYTop"] = m.PlotYTop;
    mapping["PlotYBottom"] = m.PlotYBottom;
    mapping["YMajorStep"] = m.YMajorStep;
    mapping["YMinorStep"] = m.YMinorStep;
    mapping["YMajorShift"] = m.YMajorShift;
    json["mapping"] = std::move(mapping);

    const PeakList& peaks = state_.peaks;
    if (searched_) {
        Json candidates = Json::array();
        for (int i = 1; i <= peaks.TopCandidateCount; ++i) {
            candidates.push_back(peaks.TopCandidates[static_cast<std::size_t>(i)]);
        }
        json["TopCandidates"] = std::move(candidates);
        Json points = Json::array();
        for (int slot = 0; slot < peaks.PeakCount; ++slot) {
            points.push_back(peaks.PeakPoints[static_cast<std::size_t>(slot)]);
        }
        json["PeakPoints"] = std::move(points);
    }
    if (laidOut_) {
        Json boxes = Json::array();
        for (int slot = 0; slot < peaks.PeakCount; ++slot) {
            if (const LabelBox* box = LabelBoxOf(peaks, settings_, slot)) {
                boxes.push_back(Json::array({box->Left, box->Top, box->Right, box->Bottom}));
            }
        }
        json["PeakLabelBoxes"] = std::move(boxes);
    }
}

void InfoGraph::WriteProbes(Json& json, const std::vector<double>& probes) const {
    Json probe = Json::array();
    for (double nu : probes) {
        const double x = graph_.XOfWavenumber(nu);
        Json entry = Json::object();
        entry["nu"] = nu;
        entry["x"] = x;
        entry["back"] = graph_.WavenumberAtX(x);
        probe.push_back(std::move(entry));
    }
    json["probe"] = std::move(probe);
}

}  // namespace halvorn
