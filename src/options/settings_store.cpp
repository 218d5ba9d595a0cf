#include "options/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "core/settings_file.h"

namespace halvorn {

SettingsStore::SettingsStore(QString programFolder, QString configFolder)
    : programFolder_(std::move(programFolder)), configFolder_(std::move(configFolder)) {
    if (configFolder_.isEmpty()) {
        configFolder_ = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    }
}

QString SettingsStore::ProgramFile() const {
    return QDir(programFolder_).filePath(kSettingsFileName);
}

QString SettingsStore::UserFile() const {
    return QDir(configFolder_).filePath(kSettingsFileName);
}

bool SettingsStore::ProgramFileWritable() const {
    // Asking the file system is the only reliable answer (permissions, read-only
    // mounts, an administrator's rights): create a scratch file in the folder,
    // as saving does, and let it go again. The settings file itself is not
    // opened; when it is there, it must allow writing too.
    QTemporaryFile probe(QDir(programFolder_).filePath("Halvorn.XXXXXX.tmp"));
    if (!probe.open()) {
        return false;
    }
    const QFileInfo file(ProgramFile());
    return !file.exists() || (file.isFile() && file.isWritable());
}

QString SettingsStore::ReadPath() const {
    if (!ProgramFileWritable() && QFileInfo::exists(UserFile())) {
        return UserFile();
    }
    return ProgramFile();
}

bool SettingsStore::Load(DisplaySettings& settings) const {
    return LoadSettings(QFile::encodeName(ReadPath()).toStdString(), settings);
}

QString SettingsStore::Save(const DisplaySettings& settings) const {
    const bool besideProgram = ProgramFileWritable();
    const QString path = besideProgram ? ProgramFile() : UserFile();
    if (!besideProgram && !QDir().mkpath(configFolder_)) {
        return "The graph options could not be saved:\r\nthe folder " +
               QDir::toNativeSeparators(configFolder_) + " cannot be created.";
    }
    const std::string error = SaveSettings(QFile::encodeName(path).toStdString(), settings);
    if (!error.empty()) {
        return "The graph options could not be saved to " + QDir::toNativeSeparators(path) +
               ":\r\n" + QString::fromLocal8Bit(error.c_str());
    }
    return {};
}

}  // namespace halvorn
