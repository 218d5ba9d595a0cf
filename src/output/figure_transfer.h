// The copy-preview figure leaves the program: recorded as an enhanced metafile
// to CurPic.emf, put on the clipboard beside an SVG and a PNG of the same
// figure, or printed on one landscape page as vectors.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QString>

#include <optional>

#include "graph/figure.h"
#include "graph/graph.h"
#include "surface/metafile_geometry.h"

class QMimeData;
class QPrinter;

namespace halvorn {

// The message shown when the metafile cannot be recorded.
inline constexpr const char* kMetafileFailureText = "NECA DE PITIBIRIBA";
inline constexpr const char* kMetafileFileName = "CurPic.emf";

// The user's data folder of the program, where the metafile goes when the
// program's folder cannot be written.
QString UserDataFolder();

// Where the metafile is written: programPath (CurPic.emf in the program's
// folder) while that folder can be written, otherwise CurPic.emf in
// dataFolder (UserDataFolder() when empty).
QString MetafileTarget(const QString& programPath, const QString& dataFolder = QString());

struct MetafileRecording {
    QString path;      // the file written
    QByteArray bytes;  // what it holds
};

// Records the figure against the screen and writes it whole to
// MetafileTarget(programPath, dataFolder). Nothing when the figure cannot be
// drawn or recorded or the file cannot be written; a file there before is then
// left as it was.
std::optional<MetafileRecording> RecordMetafile(const Graph& graph, const FigureState& figure,
                                                const ScreenMetrics& screen,
                                                const QString& programPath,
                                                const QString& dataFolder = QString());

// The clipboard's picture: the metafile under the enhanced-metafile types
// (image/x-emf, image/emf), the SVG (image/svg+xml) and the image.
QMimeData* FigureMimeData(const QByteArray& emf, const QByteArray& svg, const QImage& image);

enum class Paper { A4, Letter };

// The picture's box on the landscape page, in millimetres from the top-left
// corner of the printable area: at 30/30, 233 x 150 on A4 and 220 x 150 on
// Letter.
QRectF PictureBoxMillimetres(Paper paper);

// Prints the figure on one landscape page of the given paper, stretched to
// PictureBoxMillimetres and drawn as vectors. The printer's output (device or
// PDF file) is chosen by the caller. False when printing cannot start or the
// figure cannot be drawn.
bool PrintFigure(QPrinter& printer, const Graph& graph, const FigureState& figure, Paper paper);

}  // namespace halvorn
