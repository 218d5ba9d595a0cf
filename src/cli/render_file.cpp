#include "cli/render_file.h"

#include <QGuiApplication>
#include <algorithm>
#include <cstdio>

#include "render/render.h"

namespace halvorn {

namespace {

int g_argc = 1;
char g_programName[] = "halvorn-cli";
char* g_argv[] = {g_programName, nullptr};

// Qt's note that XDG_RUNTIME_DIR is unset says nothing about the figure; on
// machines without a session it would stand on stderr before every message of
// our own, so it alone is dropped.
QtMessageHandler g_previousHandler = nullptr;
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) {
        return;
    }
    if (g_previousHandler != nullptr) {
        g_previousHandler(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    }
}
bool g_handlerInstalled = false;

}  // namespace

GuiApplicationScope::GuiApplicationScope() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (!g_handlerInstalled) {
        g_previousHandler = qInstallMessageHandler(QuietHandler);
        g_handlerInstalled = true;
    }
    owned_ = new QGuiApplication(g_argc, g_argv);
}

GuiApplicationScope::~GuiApplicationScope() {
    delete owned_;
}

FigureGraph::FigureGraph(Spectrum& s, const FigureRequest& request)
    : settings_(request.settings),
      graph_(s, settings_, state_),
      heightPercent_(request.heightPercent),
      plotHeight_(PlotHeightForPercent(request.heightPercent)) {
    state_.PointStep = static_cast<std::int16_t>(std::clamp(request.step, 1, 32767));
    state_.mnuLineChecked = !request.points;
}

GraphOutcome FigureGraph::Prepare() {
    return graph_.PrepareRedraw(kPlotWidth, plotHeight_);
}

FigureState ComposeFigure(FigureGraph& prepared, const FigureRequest& request) {
    FigureState figure;
    figure.geometry = FigureGeometryFor(prepared.HeightPercent() < 100,
                                        GraphPanelHeightFor(prepared.PlotHeight()));
    figure.switches = request.switches;
    ColorBW(figure, request.switches.BlackAndWhite);
    figure.labels = FigureSampleLabels(prepared.spectrum(), kAllSampleLabelsVisible);
    prepared.state().FillLabelBackground = false;
    return figure;
}

GraphOutcome WriteFigureFile(FigureGraph& prepared, const FigureRequest& request,
                             const std::string& path) {
    const FigureState figure = ComposeFigure(prepared, request);
    const WriteOutcome written = SaveFigureFile(prepared.graph(), figure, path);
    return {written.ok, written.message};
}

GraphOutcome RenderFigureFile(Spectrum& s, const FigureRequest& request, const std::string& path) {
    if (!FigureFormatOfPath(path)) {
        return {false, "cannot tell the form of " + path + " (use .png, .svg, .pdf or .emf)"};
    }
    FigureGraph prepared(s, request);
    const GraphOutcome outcome = prepared.Prepare();
    if (!outcome.ok) {
        return outcome;
    }
    return WriteFigureFile(prepared, request, path);
}

}  // namespace halvorn
