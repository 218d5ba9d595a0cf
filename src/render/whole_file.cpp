#include "render/whole_file.h"

#include <QDir>
#include <QFile>
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
