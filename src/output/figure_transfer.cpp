#include "output/figure_transfer.h"

#include <QDir>
#include <QFileInfo>
#include <QMarginsF>
#include <QMimeData>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <vector>

#include "render/render.h"
#include "surface/painter_surface.h"

namespace halvorn {

namespace {

// Asking the file system is the only reliable answer (permissions, read-only
// mounts, an administrator's rights): make a scratch file there and drop it.
bool FolderWritable(const QString& folder) {
    if (!QFileInfo(folder).isDir()) {
        return false;
    }
    QTemporaryFile probe(QDir(folder).filePath("CurPic-XXXXXX.tmp"));
    return probe.open();
}

}  // namespace

QString UserDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString MetafileTarget(const QString& programPath, const QString& dataFolder) {
    if (!programPath.isEmpty() && FolderWritable(QFileInfo(programPath).absolutePath())) {
        return programPath;
    }
    const QString folder = dataFolder.isEmpty() ? UserDataFolder() : dataFolder;
    return QDir(folder).filePath(kMetafileFileName);
}

std::optional<MetafileRecording> RecordMetafile(const Graph& graph, const FigureState& figure,
                                                const ScreenMetrics& screen,
                                                const QString& programPath,
                                                const QString& dataFolder) {
    std::vector<std::uint8_t> bytes;
    const GraphOutcome drawn = RunGuarded([&] { bytes = FigureMetafile(graph, figure, screen); });
    if (!drawn.ok || bytes.empty()) {
        return std::nullopt;
    }
    MetafileRecording recording;
    recording.path = MetafileTarget(programPath, dataFolder);
    recording.bytes = QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                 static_cast<qsizetype>(bytes.size()));
    QDir().mkpath(QFileInfo(recording.path).absolutePath());
    if (!WriteWholeFile(recording.path, recording.bytes).ok) {
        return std::nullopt;
    }
    return recording;
}

QMimeData* FigureMimeData(const QByteArray& emf, const QByteArray& svg, const QImage& image) {
    auto* data = new QMimeData;
    data->setData("image/x-emf", emf);
    data->setData("image/emf", emf);
    if (!svg.isEmpty()) {
        data->setData("image/svg+xml", svg);
    }
    if (!image.isNull()) {
        data->setImageData(image);
    }
    return data;
}

QRectF PictureBoxMillimetres(Paper paper) {
    return QRectF(30.0, 30.0, paper == Paper::Letter ? 220.0 : 233.0, 150.0);
}

bool PrintFigure(QPrinter& printer, const Graph& graph, const FigureState& figure, Paper paper) {
    printer.setPageSize(QPageSize(paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    // Millimetres count from the printable area's top-left corner; a printer
    // keeps its own unprintable edge, a PDF has none.
    printer.setFullPage(false);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    const double perMillimetre = printer.resolution() / 25.4;
    const QRectF box = PictureBoxMillimetres(paper);
    const FigureGeometry& g = figure.geometry;
    // The figure is stretched to the box; its proportions are not kept.
    painter.translate(box.left() * perMillimetre, box.top() * perMillimetre);
    painter.scale(box.width() * perMillimetre / g.FigureWidth,
                  box.height() * perMillimetre / g.FigureHeight);
    const GraphOutcome drawn = RunGuarded([&] {
        PainterSurface surface(painter);
        FigComplete(graph, figure, surface);
        surface.Flush();
    });
    if (!drawn.ok) {
        printer.abort();
        painter.end();
        return false;
    }
    return painter.end();
}

}  // namespace halvorn
