// Where the settings file lives. It is kept beside the program; where the
// program's folder cannot be written (an installed program), it is kept in the
// user's configuration folder instead and read from there. Until that copy
// exists the file beside the program, if any, gives the values.
#pragma once

#include <QString>

#include "core/settings.h"

namespace halvorn {

class SettingsStore {
  public:
    // configFolder defaults to the user's configuration folder for the program.
    explicit SettingsStore(QString programFolder, QString configFolder = QString());

    QString ProgramFile() const;
    QString UserFile() const;

    // The file that is read: the program's own while its folder can be
    // written, otherwise the user's copy when there is one.
    QString ReadPath() const;

    // Reads the settings; a missing or unreadable file keeps the values held.
    bool Load(DisplaySettings& settings) const;

    // Writes the settings, to the program's folder when it can be written and
    // otherwise to the user's configuration folder. Returns an empty text on
    // success, else a message that says where saving failed and why.
    QString Save(const DisplaySettings& settings) const;

  private:
    bool ProgramFileWritable() const;

    QString programFolder_;
    QString configFolder_;
};

}  // namespace halvorn
