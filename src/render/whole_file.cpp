#include "render/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace halvorn {

namespace {

WriteOutcome Failure(const QString& path, const QString& reason) {
    return {false,
            ("Cannot write " + QDir::toNativeSeparators(path) + ": " + reason).toStdString()};
}

}  // namespace

WriteOutcome WriteWholeFile(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty()) {
        return Failure(path, "no file name was given");
    }
    // Only a regular file can be replaced whole. A device, a pipe or a socket
    // (also behind a link) would be swapped for a plain file by the rename,
    // or take part of the bytes: refuse it.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir()) {
        return Failure(path, "it is not a regular file (a device, a pipe or a socket)");
    }
    QSaveFile file(path);
    // Never fall back to writing into the target itself: a failure half-way
    // would leave a cut-off file.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        return Failure(path, file.errorString());
    }
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return Failure(path, reason);
    }
    if (!file.commit()) {
        return Failure(path, file.errorString());
    }
    return {};
}

QString FileSystemPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace halvorn
