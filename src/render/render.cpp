#include "render/render.h"

#include <QBuffer>
#include <QFile>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "graph/graph_fault.h"
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

double MeasuredTextWidth(const FontRequest& font, const std::string& text) {
    const QtFont resolved = ResolveQtFont(font, false);
    return QFontMetricsF(resolved.font).horizontalAdvance(TextFor(resolved, text)) *
           resolved.xScale;
}

std::array<SampleLabel, 7> FigureSampleLabels(const Spectrum& s,
                                              const SampleLabelVisibility& visible) {
    return SampleLabelsAtDesignPlaces(s, MeasuredTextWidth({"Arial", 12, 0, 0, 700}, s.Label14[0]),
                                      visible);
}

QImage FigureImage(const Graph& graph, const FigureState& figure) {
    ImageSurface surface(figure.geometry.FigureWidth, figure.geometry.FigureHeight, kWhite);
    FigComplete(graph, figure, surface);
    return surface.Image();
}

QByteArray FigurePng(const Graph& graph, const FigureState& figure) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!FigureImage(graph, figure).save(&buffer, "PNG")) {
        return {};
    }
    return bytes;
}

QByteArray FigureSvg(const Graph& graph, const FigureState& figure) {
    const FigureGeometry& g = figure.geometry;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(g.FigureWidth, g.FigureHeight));
    generator.setViewBox(QRect(0, 0, g.FigureWidth, g.FigureHeight));
    generator.setResolution(kFigureDpi);
    generator.setTitle(QString::fromStdString(FigureCredit()));
    QPainter painter;
    if (!painter.begin(&generator)) {
        return {};
    }
    PaintFigure(painter, graph, figure);
    if (!painter.end()) {
        return {};
    }
    return bytes;
}

QByteArray FigurePdf(const Graph& graph, const FigureState& figure) {
    const FigureGeometry& g = figure.geometry;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kFigureDpi);
        writer.setCreator(QString::fromStdString(FigureCredit()));
        const double pointsPerPixel = 72.0 / kFigureDpi;
        writer.setPageSize(
            QPageSize(QSizeF(g.FigureWidth * pointsPerPixel, g.FigureHeight * pointsPerPixel),
                      QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&writer)) {
            return {};
        }
        PaintFigure(painter, graph, figure);
        if (!painter.end()) {
            return {};
        }
    }
    return bytes;
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

QByteArray FigureBytes(const Graph& graph, const FigureState& figure, FigureFormat format,
                       const ScreenMetrics& screen) {
    QByteArray bytes;
    switch (format) {
        case FigureFormat::Png:
            bytes = FigurePng(graph, figure);
            break;
        case FigureFormat::Svg:
            bytes = FigureSvg(graph, figure);
            break;
        case FigureFormat::Pdf:
            bytes = FigurePdf(graph, figure);
            break;
        case FigureFormat::Emf: {
            const std::vector<std::uint8_t> emf = FigureMetafile(graph, figure, screen);
            if (emf.empty()) {
                throw GraphFault("the screen gives no size to record the metafile with");
            }
            bytes = QByteArray(reinterpret_cast<const char*>(emf.data()),
                               static_cast<qsizetype>(emf.size()));
            break;
        }
    }
    if (bytes.isEmpty()) {
        throw GraphFault("the figure could not be drawn in that form");
    }
    return bytes;
}

WriteOutcome SaveFigureFile(const Graph& graph, const FigureState& figure,
                            const std::string& path) {
    const std::optional<FigureFormat> format = FigureFormatOfPath(path);
    if (!format) {
        return {false, "Cannot tell the form of " + path + " (use .png, .svg, .pdf or .emf)"};
    }
    QByteArray bytes;
    const GraphOutcome drawn =
        RunGuarded([&] { bytes = FigureBytes(graph, figure, *format, PrimaryScreenMetrics()); });
    if (!drawn.ok) {
        return {false, "Cannot draw the figure for " + path + ": " + drawn.message};
    }
    // A name that is not valid UTF-8 would be written under a changed name
    // (its bad bytes replaced), perhaps over another file: refuse it.
    const QString target = FileSystemPath(path);
    if (QFile::encodeName(target).toStdString() != path) {
        return {false, "Cannot write " + path +
                           ": the file name is not valid in the file system's encoding"};
    }
    return WriteWholeFile(target, bytes);
}

}  // namespace halvorn
