#include "render/render.h"

#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>

#include "surface/emf_recorder.h"
#include "surface/image_surface.h"
#include "surface/painter_surface.h"
#include "surface/qt_metafile.h"
#include "surface/qt_text.h"

namespace halvorn {

namespace {

// The figure has 96 pixels per inch when it goes to SVG and PDF.
constexpr int kFigureDpi = 96;
constexpr Rgb kWhite = 0xFFFFFF;

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

QString PathText(const std::string& path) {
    return QString::fromLocal8Bit(path.c_str());
}

// Draws the figure on a painter that is already set up, white behind it.
void PaintFigure(QPainter& painter, const Graph& graph, const FigureState& figure) {
    const FigureGeometry& g = figure.geometry;
    painter.fillRect(QRect(0, 0, g.FigureWidth, g.FigureHeight), Qt::white);
    PainterSurface surface(painter);
    FigComplete(graph, figure, surface);
    surface.Flush();
}

}  // namespace

std::optional<FigureFormat> FigureFormatOfPath(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos) {
        return std::nullopt;
    }
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == "png") {
        return FigureFormat::Png;
    }
    if (ext == "svg") {
        return FigureFormat::Svg;
    }
    if (ext == "pdf") {
        return FigureFormat::Pdf;
    }
    if (ext == "emf") {
        return FigureFormat::Emf;
    }
    return std::nullopt;
}

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

double MeasuredTextWidth(const FontRequest& font, const std::string& text) {
    const QtFont resolved = ResolveQtFont(font, false);
    return QFontMetricsF(resolved.font).horizontalAdvance(TextFor(resolved, text)) *
           resolved.xScale;
}

std::array<SampleLabel, 7> FigureSampleLabels(const Spectrum& s) {
    return SampleLabelsAtDesignPlaces(s, MeasuredTextWidth({"Arial", 12, 0, 0, 700}, s.Label14[0]));
}

QImage FigureImage(const Graph& graph, const FigureState& figure) {
    ImageSurface surface(figure.geometry.FigureWidth, figure.geometry.FigureHeight, kWhite);
    FigComplete(graph, figure, surface);
    return surface.Image();
}

bool WriteFigureSvg(const Graph& graph, const FigureState& figure, const std::string& path) {
    const FigureGeometry& g = figure.geometry;
    QSvgGenerator generator;
    generator.setFileName(PathText(path));
    generator.setSize(QSize(g.FigureWidth, g.FigureHeight));
    generator.setViewBox(QRect(0, 0, g.FigureWidth, g.FigureHeight));
    generator.setResolution(kFigureDpi);
    generator.setTitle(QString::fromStdString(FigureCredit()));
    QPainter painter;
    if (!painter.begin(&generator)) {
        return false;
    }
    PaintFigure(painter, graph, figure);
    return painter.end() && QFile::exists(PathText(path));
}

bool WriteFigurePdf(const Graph& graph, const FigureState& figure, const std::string& path) {
    const FigureGeometry& g = figure.geometry;
    QPdfWriter writer(PathText(path));
    writer.setResolution(kFigureDpi);
    writer.setCreator(QString::fromStdString(FigureCredit()));
    const double pointsPerPixel = 72.0 / kFigureDpi;
    writer.setPageSize(QPageSize(
        QSizeF(g.FigureWidth * pointsPerPixel, g.FigureHeight * pointsPerPixel), QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&writer)) {
        return false;
    }
    PaintFigure(painter, graph, figure);
    return painter.end();
}

std::vector<std::uint8_t> FigureMetafile(const Graph& graph, const FigureState& figure,
                                         const ScreenMetrics& screen) {
    const std::optional<MetafileGeometry> geometry =
        ComputeMetafileGeometry(screen, figure.geometry.FigureWidth, figure.geometry.FigureHeight);
    if (!geometry) {
        return {};
    }
    EmfRecorder recorder(screen, *geometry, QtTextMeasurer());
    FigComplete(graph, figure, recorder);
    return recorder.Finish();
}

GraphOutcome RenderFigureFile(Spectrum& s, const FigureRequest& request, const std::string& path) {
    const std::optional<FigureFormat> format = FigureFormatOfPath(path);
    if (!format) {
        return {false, "cannot tell the form of " + path + " (use .png, .svg, .pdf or .emf)"};
    }
    const int percent = request.heightPercent;
    const std::int32_t plotHeight = PlotHeightForPercent(percent);

    GraphState state;
    state.PointStep = static_cast<std::int16_t>(std::clamp(request.step, 1, 32767));
    state.mnuLineChecked = !request.points;
    Graph graph(s, request.settings, state);
    GraphOutcome outcome = graph.PrepareRedraw(673, plotHeight);
    if (!outcome.ok) {
        return outcome;
    }

    // The copy-preview window as it loads: every element on, no label fill.
    FigureState figure;
    figure.geometry = FigureGeometryFor(percent < 100, GraphPanelHeightFor(plotHeight));
    ColorBW(figure, request.blackAndWhite);
    figure.labels = FigureSampleLabels(s);
    state.FillLabelBackground = false;

    bool written = false;
    outcome = RunGuarded([&] {
        switch (*format) {
            case FigureFormat::Png:
                written = FigureImage(graph, figure).save(PathText(path), "PNG");
                break;
            case FigureFormat::Svg:
                written = WriteFigureSvg(graph, figure, path);
                break;
            case FigureFormat::Pdf:
                written = WriteFigurePdf(graph, figure, path);
                break;
            case FigureFormat::Emf: {
                const std::vector<std::uint8_t> bytes =
                    FigureMetafile(graph, figure, PrimaryScreenMetrics());
                if (bytes.empty()) {
                    throw GraphFault("the screen gives no size to record the metafile with");
                }
                std::ofstream out(path, std::ios::binary);
                out.write(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<std::streamsize>(bytes.size()));
                written = static_cast<bool>(out);
                break;
            }
        }
    });
    if (outcome.ok && !written) {
        return {false, "cannot write " + path};
    }
    return outcome;
}

}  // namespace halvorn
