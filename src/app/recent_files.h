// The files opened last, newest first, kept between runs in a small settings
// file of their own in the user's configuration folder (never in Halvorn.ini,
// which holds the display preferences and nothing else).
#pragma once

#include <QString>
#include <QStringList>

namespace halvorn {

inline constexpr int kMaxRecentFiles = 8;

// The list with path put first: an earlier entry naming the same file goes,
// and the list keeps at most kMaxRecentFiles entries.
QStringList WithRecentFile(const QStringList& list, const QString& path);

class RecentFiles {
  public:
    // settingsFile is the file the list is kept in; it is read here.
    explicit RecentFiles(QString settingsFile);

    const QStringList& Paths() const { return paths_; }

    // Puts path first and writes the list at once, so that a second window
    // or a crash later keeps it.
    void Add(const QString& path);

  private:
    QString settingsFile_;
    QStringList paths_;
};

}  // namespace halvorn
