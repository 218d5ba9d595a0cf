// Output files are written whole or not at all: the bytes go to a temporary
// file in the target's folder, which then replaces the target in one rename.
// A failure at any step leaves an existing file of that name as it was.
#pragma once

#include <QByteArray>
#include <QString>

#include <string>

namespace halvorn {

struct [[nodiscard]] WriteOutcome {
    bool ok = true;
    // Why nothing was written, naming the file; empty on success.
    std::string message;
};

// Writes bytes to path, replacing an existing file without asking. Succeeds
// only once the new file has taken the target's place.
WriteOutcome WriteWholeFile(const QString& path, const QByteArray& bytes);

// A path given as bytes of the file system's encoding, as a QString.
QString FileSystemPath(const std::string& path);

}  // namespace halvorn
