// The About box: the program's title, version and what it does, and a
// "System Info..." button that starts the system's information tool, or shows
// the system's figures itself where no such tool is found.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>

namespace halvorn {

class Prompts;

// How the system's information tool is found and started.
struct SystemInfoTool {
    // The tool's path, or an empty text when none is found.
    std::function<QString()> find;
    // Starts the tool; false when it cannot be started.
    std::function<bool(const QString& path)> start;
};

// Looks for a system information program in the usual places of the platform.
SystemInfoTool DefaultSystemInfoTool();

// Operating system, processor, memory and Qt version, one per line.
QString SystemFiguresText();

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    AboutBox(Prompts& prompts, SystemInfoTool tool, QWidget* parent = nullptr);

    void SystemInfoClick();

  private:
    Prompts& prompts_;
    SystemInfoTool tool_;
};

}  // namespace halvorn
