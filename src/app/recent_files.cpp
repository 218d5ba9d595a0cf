#include "app/recent_files.h"

#include <QFileInfo>
#include <QSettings>

#include <utility>

namespace halvorn {

namespace {

const char* const kListKey = "RecentFiles/paths";

// Two names of one file compare equal: relative parts and "." or ".." are
// resolved first.
QString Normal(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

}  // namespace

QStringList WithRecentFile(const QStringList& list, const QString& path) {
    const QString added = Normal(path);
    QStringList result{added};
    for (const QString& p : list) {
        if (result.size() >= kMaxRecentFiles) {
            break;
        }
        if (!p.isEmpty() && Normal(p) != added) {
            result << p;
        }
    }
    return result;
}

RecentFiles::RecentFiles(QString settingsFile) : settingsFile_(std::move(settingsFile)) {
    const QSettings settings(settingsFile_, QSettings::IniFormat);
    const QStringList stored = settings.value(kListKey).toStringList();
    for (const QString& p : stored) {
        if (!p.isEmpty() && paths_.size() < kMaxRecentFiles) {
            paths_ << p;
        }
    }
}

void RecentFiles::Add(const QString& path) {
    paths_ = WithRecentFile(paths_, path);
    QSettings settings(settingsFile_, QSettings::IniFormat);
    settings.setValue(kListKey, paths_);
    settings.sync();
}

}  // namespace halvorn
