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

void InfoGraph::WriteKeys(JsonWriter& json) const {
    const MappingState& m = state_.mapping;
    json.Key("mapping");
    json.BeginObject();
    json.Key("Anchor1X").Value(m.Anchor1X);
    json.Key("Anchor2X").Value(m.Anchor2X);
    json.Key("MinorStep1").Value(m.MinorStep1);
    json.Key("MinorStep2").Value(m.MinorStep2);
    json.Key("MinorStep3").Value(m.MinorStep3);
    json.Key("MajorStep1").Value(m.MajorStep1);
    json.Key("MajorStep2").Value(m.MajorStep2);
    json.Key("MajorStep3").Value(m.MajorStep3);
    json.Key("WlMajorPerMicron").Value(m.WlMajorPerMicron);
    json.Key("WlAnchor").Value(m.WlAnchor);
    json.Key("XOrigin").Value(m.XOrigin);
    json.Key("XEnd").Value(m.XEnd);
    json.Key("XScale").Value(m.XScale);
    json.Key("PlotYTop").Value(m.PlotYTop);
    json.Key("PlotYBottom").Value(m.PlotYBottom);
    json.Key("YMajorStep").Value(m.YMajorStep);
    json.Key("YMinorStep").Value(m.YMinorStep);
    json.Key("YMajorShift").Value(m.YMajorShift);
    json.EndObject();

    const PeakList& peaks = state_.peaks;
    if (searched_) {
        json.Key("TopCandidates");
        json.BeginArray();
        for (int i = 1; i <= peaks.TopCandidateCount; ++i) {
            json.Value(peaks.TopCandidates[static_cast<std::size_t>(i)]);
        }
        json.EndArray();
        json.Key("PeakPoints");
        json.BeginArray();
        for (int slot = 0; slot < peaks.PeakCount; ++slot) {
            json.Value(peaks.PeakPoints[static_cast<std::size_t>(slot)]);
        }
        json.EndArray();
    }
    if (laidOut_) {
        json.Key("PeakLabelBoxes");
        json.BeginArray();
        for (int slot = 0; slot < peaks.PeakCount; ++slot) {
            if (const LabelBox* box = LabelBoxOf(peaks, settings_, slot)) {
                json.Array(std::vector<std::int32_t>{box->Left, box->Top, box->Right, box->Bottom});
            }
        }
        json.EndArray();
    }
}

void InfoGraph::WriteProbes(JsonWriter& json, const std::vector<double>& probes) const {
    json.Key("probe");
    json.BeginArray();
    for (double nu : probes) {
        const double x = graph_.XOfWavenumber(nu);
        json.BeginObject();
        json.Key("nu").Value(nu);
        json.Key("x").Value(x);
        json.Key("back").Value(graph_.WavenumberAtX(x));
        json.EndObject();
    }
    json.EndArray();
}

}  // namespace halvorn
