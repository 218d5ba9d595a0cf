#include "app/about_box.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTextStream>
#include <QThread>
#include <QVBoxLayout>
#include <QtGlobal>

#include "window/prompts.h"

#ifndef HALVORN_VERSION
#define HALVORN_VERSION "0.1.0"
#endif

namespace halvorn {

namespace {

// A line of /proc/cpuinfo or /proc/meminfo: the value after "key:".
QString ProcValue(const QString& file, const QString& key) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    QTextStream in(&f);
    for (QString line = in.readLine(); !line.isNull(); line = in.readLine()) {
        if (line.startsWith(key)) {
            const qsizetype colon = line.indexOf(':');
            if (colon >= 0) {
                return line.mid(colon + 1).trimmed();
            }
        }
    }
    return {};
}

// "16318412 kB" as megabytes.
QString MegabytesOf(const QString& kilobytes) {
    bool ok = false;
    const qlonglong kb = kilobytes.section(' ', 0, 0).toLongLong(&ok);
    return ok ? QString::number(kb / 1024) + " MB" : QString("unknown");
}

}  // namespace

SystemInfoTool DefaultSystemInfoTool() {
    SystemInfoTool tool;
    tool.find = [] {
#if defined(Q_OS_WIN)
        const QString root = qEnvironmentVariable("SystemRoot", "C:\\Windows");
        const QString path = root + "\\System32\\msinfo32.exe";
        if (QFileInfo::exists(path)) {
            return path;
        }
        return QString();
#elif defined(Q_OS_MACOS)
        const QString app = "/System/Applications/Utilities/System Information.app";
        return QFileInfo::exists(app) ? app : QString();
#else
        const QStringList names = {"hardinfo2", "hardinfo", "kinfocenter"};
        const QStringList folders = {"/usr/bin", "/usr/local/bin", "/usr/sbin", "/bin", "/opt/bin"};
        for (const QString& name : names) {
            QString found = QStandardPaths::findExecutable(name);
            if (found.isEmpty()) {
                found = QStandardPaths::findExecutable(name, folders);
            }
            if (!found.isEmpty()) {
                return found;
            }
        }
        return QString();
#endif
    };
    tool.start = [](const QString& path) {
#if defined(Q_OS_MACOS)
        return QProcess::startDetached("open", {path});
#else
        return QProcess::startDetached(path, {});
#endif
    };
    return tool;
}

QString SystemFiguresText() {
    QString processor = ProcValue("/proc/cpuinfo", "model name");
    if (processor.isEmpty()) {
        processor = QSysInfo::currentCpuArchitecture();
    } else {
        processor += " (" + QSysInfo::currentCpuArchitecture() + ")";
    }
    const int cores = QThread::idealThreadCount();
    const QString total = ProcValue("/proc/meminfo", "MemTotal");
    const QString available = ProcValue("/proc/meminfo", "MemAvailable");
    QString memory = "unknown";
    if (!total.isEmpty()) {
        memory = MegabytesOf(total) + " total";
        if (!available.isEmpty()) {
            memory += ", " + MegabytesOf(available) + " available";
        }
    }
    return "Operating system: " + QSysInfo::prettyProductName() + " (" + QSysInfo::kernelType() +
           " " + QSysInfo::kernelVersion() + ")\r\n" + "Processor: " + processor + ", " +
           QString::number(cores) + " logical processors\r\n" + "Memory: " + memory + "\r\n" +
           "Qt version: " + qVersion();
}

AboutBox::AboutBox(Prompts& prompts, SystemInfoTool tool, QWidget* parent)
    : QDialog(parent), prompts_(prompts), tool_(std::move(tool)) {
    setObjectName("frmAbout");
    setWindowTitle("About Halvorn");

    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel("Halvorn", this);
    title->setObjectName("lblTitle");
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    title->setFont(big);
    layout->addWidget(title);

    auto* version = new QLabel(QString("Version ") + HALVORN_VERSION, this);
    version->setObjectName("lblVersion");
    layout->addWidget(version);

    auto* description = new QLabel(
        "A viewer for infrared absorption spectra. Halvorn opens *.sp spectrum files, "
        "JCAMP-DX files and two-column *.prn tables and draws them with wavenumber, "
        "wavelength, % transmittance and absorbance scales. It helps to read values, "
        "marks peaks, and hands the data on as text and the figure as a metafile or a "
        "printed page.",
        this);
    description->setObjectName("lblDescription");
    description->setWordWrap(true);
    description->setMinimumWidth(380);
    layout->addWidget(description);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    auto* info = new QPushButton("System Info...", this);
    info->setObjectName("cmdSysInfo");
    buttons->addWidget(ok);
    buttons->addWidget(info);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(info, &QPushButton::clicked, this, &AboutBox::SystemInfoClick);
}

void AboutBox::SystemInfoClick() {
    const QString path = tool_.find ? tool_.find() : QString();
    if (!path.isEmpty() && tool_.start && tool_.start(path)) {
        return;
    }
    prompts_.Message(this, QMessageBox::Information, "System Information", SystemFiguresText(),
                     QMessageBox::Ok);
}

}  // namespace halvorn
