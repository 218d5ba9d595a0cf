// Printed pages read back with poppler's command-line tools: the page size
// from pdfinfo and the page's pixels from pdftoppm.
#pragma once

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QSizeF>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <functional>
#include <optional>

namespace halvorn::test {

inline bool PopplerInstalled() {
    return !QStandardPaths::findExecutable("pdfinfo").isEmpty() &&
           !QStandardPaths::findExecutable("pdftoppm").isEmpty();
}

inline QString RunTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return {};
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// The first page's size in points ("Page size: 841.89 x 595.276 pts (A4)"),
// and the number of pages.
struct PdfInfo {
    QSizeF pageSize;
    int pages = 0;
};
inline std::optional<PdfInfo> ReadPdfInfo(const QString& path) {
    const QString text = RunTool("pdfinfo", {path});
    const QRegularExpressionMatch size =
        QRegularExpression(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)").match(text);
    const QRegularExpressionMatch pages = QRegularExpression(R"(Pages:\s+(\d+))").match(text);
    if (!size.hasMatch() || !pages.hasMatch()) {
        return std::nullopt;
    }
    return PdfInfo{QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble()),
                   pages.captured(1).toInt()};
}

// The first page as an image at dpi pixels per inch.
inline QImage RenderPdfPage(const QString& path, int dpi) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath("page");
    RunTool("pdftoppm", {"-r", QString::number(dpi), "-f", "1", "-l", "1", "-singlefile", "-png",
                         path, prefix});
    return QImage(prefix + ".png");
}

// The smallest rectangle holding every pixel that matches.
inline QRect ExtentOf(const QImage& image, const std::function<bool(QRgb)>& matches) {
    QRect extent;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (matches(image.pixel(x, y))) {
                extent |= QRect(x, y, 1, 1);
            }
        }
    }
    return extent;
}

// The figure's frame in colour drawing: pure blue, allowing for smoothing.
inline bool FrameBlue(QRgb c) {
    return qBlue(c) > 200 && qRed(c) < 90 && qGreen(c) < 90;
}

}  // namespace halvorn::test
