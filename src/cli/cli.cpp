#include "cli/cli.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <span>

#include "cli/cli_options.h"
#include "cli/graph_keys.h"
#include "cli/interaction_steps.h"
#include "cli/json_writer.h"
#include "cli/render_file.h"
#include "core/export_text.h"
#include "core/header_lines.h"
#include "core/peak_table.h"
#include "core/record.h"
#include "import/file_bytes.h"
#include "import/readers.h"
#include "render/render.h"

namespace halvorn {

namespace {

struct LoadedSpectrum {
    Spectrum spectrum;
    ReadOutcome outcome;
};

LoadedSpectrum Load(const CliOptions& o) {
    LoadedSpectrum loaded;
    loaded.spectrum.MultGlobal = o.mult;
    ReadRequest request;
    request.fileTitle = FileTitleOf(o.file);
    request.block = o.block;
    loaded.outcome = ReadSpectrumFile(*o.format, o.file, request, loaded.spectrum);
    return loaded;
}

// The reader's message for a failed read, or which file could not be read
// when the reader gave none.
void SayReadFailure(const CliOptions& o, const ReadOutcome& outcome, std::ostream& err) {
    err << (outcome.message.empty() ? "halvorn-cli: cannot read " + o.file : outcome.message)
        << '\n';
}

// Why the first redraw or an interaction step could not be carried out.
void SayDrawFailure(const CliOptions& o, const GraphOutcome& outcome, std::ostream& err) {
    err << "halvorn-cli: cannot draw " << o.file << ": " << outcome.message << '\n';
}

// Reads the file, makes the first redraw and carries out the interaction
// steps, then hands the graph and its target to then, whose status is the
// command's; a failed read is said and ends the command.
template <typename Then>
int AfterSteps(const CliOptions& o, std::ostream& err, Then then) {
    LoadedSpectrum loaded = Load(o);
    if (!loaded.outcome.ok) {
        SayReadFailure(o, loaded.outcome, err);
        return kExitReadFailed;
    }
    InfoGraph graph(loaded.spectrum, o);
    InteractionTarget target = graph.Target();
    (void)RunInteractionSteps(target, o.interaction);
    return then(loaded.spectrum, graph, target);
}

// The keys that describe the record after a read. After a failure only the
// texts and the values that outlive a read are written; the point data were
// emptied.
void WriteSpectrumKeys(Json& json, const Spectrum& s, bool ok) {
    json["caption"] = s.Caption;
    if (ok) {
        json["PointCount"] = s.PointCount;
        json["StepCount"] = s.StepCount;
        json["DeltaX"] = s.DeltaX;
    }
    json["YFactor"] = s.YFactor;
    if (ok) {
        json["RawYMax"] = s.RawYMax;
        json["RawYMin"] = s.RawYMin;
    }
    json["FileIsAbsorbance"] = s.FileIsAbsorbance;
    json["MultGlobal"] = s.MultGlobal;
    if (ok) {
        json["FirstX"] = s.FirstX;
        json["LastX"] = s.LastX;
        json["FirstWL"] = s.FirstWL;
        json["LastWL"] = s.LastWL;
        json["FullFirstX"] = s.FullFirstX;
        json["FullLastX"] = s.FullLastX;
        json["FullFirstWL"] = s.FullFirstWL;
        json["FullLastWL"] = s.FullLastWL;
        json["ViewFirstPoint"] = s.ViewFirstPoint;
        json["ViewLastPoint"] = s.ViewLastPoint;
        json["YAxisTop"] = s.YAxisTop;
        json["YAxisBottom"] = s.YAxisBottom;
        json["YAxisTopHalf"] = s.YAxisTopHalf;
        json["YAxisBottomHalf"] = s.YAxisBottomHalf;
    }
    json["Label14"] = s.Label14;
    json["HeaderList"] = s.HeaderList;
    json["DiagnosticList"] = s.DiagnosticList;
    json["PointCountLabel"] = s.PointCountLabel;
    json["FirstPointLabel"] = s.FirstPointLabel;
    json["IntervalLabel"] = s.IntervalLabel;
}

// WaveX and RawY of points 1..N, with --points.
void WritePointKeys(Json& json, const Spectrum& s) {
    Json waveX = Json::array();
    Json rawY = Json::array();
    for (std::int32_t i = 1; i <= s.PointCount; ++i) {
        waveX.push_back(s.WaveX[i]);
        rawY.push_back(s.RawY[i]);
    }
    json["WaveX"] = std::move(waveX);
    json["RawY"] = std::move(rawY);
}

int Info(const CliOptions& o, std::ostream& out, std::ostream& err) {
    LoadedSpectrum loaded = Load(o);
    // The spectrum window's first redraw (mapping, peak search, label layout)
    // and the interaction steps, before anything is written: the keys show
    // the state after the steps.
    std::optional<InfoGraph> graph;
    InteractionReport steps;
    if (loaded.outcome.ok) {
        graph.emplace(loaded.spectrum, o);
        InteractionTarget target = graph->Target();
        steps = RunInteractionSteps(target, o.interaction);
    }
    Json json = Json::object();
    json["ok"] = loaded.outcome.ok;
    json["message"] = loaded.outcome.message;
    WriteSpectrumKeys(json, loaded.spectrum, loaded.outcome.ok);
    if (!loaded.outcome.ok) {
        WriteJson(out, json);
        out << '\n';
        return kExitReadFailed;
    }
    graph->WriteKeys(json);
    WriteInteractionKeys(json, steps);
    if (o.points) {
        WritePointKeys(json, loaded.spectrum);
    }
    if (!o.probes.empty() && graph->outcome().ok) {
        graph->WriteProbes(json, o.probes);
    }
    WriteJson(out, json);
    out << '\n';
    // The file was read, so the status stays 0; the keys of the steps that did
    // not run are absent, and stderr says why.
    if (!graph->outcome().ok) {
        SayDrawFailure(o, graph->outcome(), err);
    }
    return kExitOk;
}

// The mouse moved over the plot to each --at position after the read, the
// first redraw and the interaction steps: one JSON object per position.
int Readout(const CliOptions& o, std::ostream& out, std::ostream& err) {
    return AfterSteps(o, err, [&](const Spectrum&, InfoGraph& graph, InteractionTarget& target) {
        const std::vector<ReadoutRow> rows = RunReadout(target, o.interaction);
        WriteJson(out, ReadoutRowsJson(rows));
        out << '\n';
        // Without a completed redraw the readout ignores the mouse; say why.
        if (!graph.outcome().ok) {
            SayDrawFailure(o, graph.outcome(), err);
        }
        return kExitOk;
    });
}

// The marked peaks after the read, the first redraw and the interaction steps,
// as the CSV that "Save Peak Table As..." writes.
int Peaks(const CliOptions& o, std::ostream& out, std::ostream& err) {
    return AfterSteps(o, err, [&](const Spectrum& s, InfoGraph& graph, InteractionTarget&) {
        // Without the peak search there is no table to give: an empty one
        // would claim the spectrum has no peaks.
        if (!graph.searched()) {
            SayDrawFailure(o, graph.outcome(), err);
            return kExitReadFailed;
        }
        const PeakList& peaks = graph.peaks();
        const auto marked =
            static_cast<std::size_t>(std::clamp<int>(peaks.PeakCount, 0, kMaxPeaks));
        out << PeakTableCsv(s, std::span(peaks.PeakPoints.data(), marked));
        if (!graph.outcome().ok) {
            SayDrawFailure(o, graph.outcome(), err);
        }
        return kExitOk;
    });
}

int Export(const CliOptions& o, std::ostream& out, std::ostream& err) {
    LoadedSpectrum loaded = Load(o);
    if (!loaded.outcome.ok) {
        err << loaded.outcome.message << '\n';
        return kExitReadFailed;
    }
    ExportText which = o.exportText == "y"   ? ExportText::StoredY
                       : o.exportText == "x" ? ExportText::X
                                             : ExportText::YValues;
    out << ExportTextOf(loaded.spectrum, which);
    return kExitOk;
}

// The name the Save dialog proposes after FILE was opened: the path as given,
// and the file's unit for the Y values. As the viewer does, the name is
// proposed after a failed read too, from what the read left behind.
int DefaultName(const CliOptions& o, std::ostream& out, std::ostream& err) {
    LoadedSpectrum loaded = Load(o);
    loaded.spectrum.OpenedFilePath = o.file;
    const ExportText which = o.exportText == "y"   ? ExportText::StoredY
                             : o.exportText == "x" ? ExportText::X
                                                   : ExportText::YValues;
    out << DefaultSaveName(loaded.spectrum, which) << '\n';
    if (!loaded.outcome.ok) {
        err << loaded.outcome.message << '\n';
        return kExitReadFailed;
    }
    return kExitOk;
}

// The numbered header lines of the header details window, for whatever the
// read put into the header list (a failed read included).
int Header(const CliOptions& o, std::ostream& out, std::ostream& err) {
    LoadedSpectrum loaded = Load(o);
    out << NumberedHeaderText(loaded.spectrum.HeaderList);
    if (!loaded.outcome.ok) {
        err << loaded.outcome.message << '\n';
        return kExitReadFailed;
    }
    return kExitOk;
}

int Render(const CliOptions& o, std::ostream& err) {
    if (!FigureFormatOfPath(o.outFile)) {
        err << "halvorn-cli: cannot tell the form of " << o.outFile
            << " from its extension; use .png, .svg, .pdf or .emf\n";
        return kExitUsage;
    }
    LoadedSpectrum loaded = Load(o);
    if (!loaded.outcome.ok) {
        err << loaded.outcome.message << '\n';
        return kExitReadFailed;
    }
    FigureRequest request;
    request.settings = SettingsOf(o);
    request.switches.BlackAndWhite = o.blackWhite;
    for (const std::string& element : o.hidden) {
        FigureSwitches& on = request.switches;
        bool& shown = element == "grid"         ? on.ShowGrid
                      : element == "frame"      ? on.ShowFigureFrame
                      : element == "scale"      ? on.ShowScale
                      : element == "graph"      ? on.ShowGraph
                      : element == "peaklabels" ? on.ShowPeakLabels
                                                : on.ShowLabels;
        shown = false;
    }
    request.points = o.points;
    request.step = o.step;
    request.heightPercent = o.heightPercent;
    const GuiApplicationScope application;

    // 1. The spectrum window's first redraw after the read.
    FigureGraph prepared(loaded.spectrum, request);
    GraphOutcome outcome = prepared.Prepare();
    // The interaction steps on that graph, each with the redraw after it.
    if (outcome.ok) {
        prepared.spectrum().Loading = false;
        InteractionTarget target{prepared.spectrum(),   prepared.settings(),
                                 prepared.state(),      prepared.PlotWidth(),
                                 prepared.PlotHeight(), [&prepared] { return prepared.Prepare(); }};
        outcome = RunInteractionSteps(target, o.interaction).outcome;
    }
    // 2. The figure composed from the prepared graph, written whole.
    if (outcome.ok) {
        outcome = WriteFigureFile(prepared, request, o.outFile);
    }
    if (!outcome.ok) {
        err << "halvorn-cli: cannot render " << o.file << ": " << outcome.message << '\n';
        return kExitReadFailed;
    }
    return kExitOk;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    std::optional<CliOptions> options = ParseCliOptions(args, error);
    if (!options) {
        err << "halvorn-cli: " << error << '\n';
        return kExitUsage;
    }
    if (options->help) {
        out << CliHelpText();
        return kExitOk;
    }
    if (options->version) {
        out << CliVersionText();
        return kExitOk;
    }
    if (options->command == "peaks") {
        return Peaks(*options, out, err);
    }
    if (options->command == "info") {
        return Info(*options, out, err);
    }
    if (options->command == "export") {
        return options->defaultName ? DefaultName(*options, out, err) : Export(*options, out, err);
    }
    if (options->command == "header") {
        return Header(*options, out, err);
    }
    if (options->command == "readout") {
        return Readout(*options, out, err);
    }
    return Render(*options, err);
}

}  // namespace halvorn
