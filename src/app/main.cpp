// The viewer: the main window with the spectrum window, started on the file
// named on the command line or on the demonstration spectrum beside the
// program.
#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QStyleFactory>
#include <QUrl>

#include <cstdio>

#include "app/main_window.h"
#include "core/data_folder.h"
#include "window/prompts.h"

namespace {

void DescribeArguments(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        "Halvorn, a viewer for infrared absorption spectra (*.sp, JCAMP-DX, *.prn tables).");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        "file", "The spectrum to open instead of the demonstration spectrum.", "[file]");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName("Halvorn");
    QCoreApplication::setOrganizationName("Halvorn");
    QCoreApplication::setApplicationVersion(HALVORN_VERSION);

    // --help and --version are answered before the window system is reached,
    // so they work without a display.
    {
        QCommandLineParser early;
        DescribeArguments(early);
        QStringList arguments;
        for (int k = 0; k < argc; ++k) {
            arguments << QString::fromLocal8Bit(argv[k]);
        }
        early.parse(arguments);
        if (early.isSet("help")) {
            // Without an application object the usage line cannot name the
            // program itself.
            QString help = early.helpText();
            help.replace("<executable_name>", "halvorn");
            std::fputs(qPrintable(help), stdout);
            return 0;
        }
        if (early.isSet("version")) {
            std::printf("halvorn %s\n", HALVORN_VERSION);
            return 0;
        }
    }

    QApplication app(argc, argv);
    // The graph-setting buttons show their state by colour, which every
    // platform style draws only with the Fusion style.
    QApplication::setStyle(QStyleFactory::create("Fusion"));

    // Qt's own options (-platform, -style ...) are gone from the arguments
    // by now; what is left must be ours.
    QCommandLineParser parser;
    DescribeArguments(parser);
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fputs("halvorn: one file at a time\n", stderr);
        parser.showHelp(2);
    }

    // A file manager may hand over a file: URL instead of a path.
    QString file = files.isEmpty() ? QString() : files.front();
    if (file.startsWith("file:")) {
        file = QUrl(file).toLocalFile();
    }

    halvorn::QtPrompts prompts;
    // The data files lie beside the program in the build folder and in
    // ../share/halvorn once it is installed.
    const QString dataFolder = QFile::decodeName(
        halvorn::DataFolderFor(
            QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString())
            .c_str());
    halvorn::MainWindow window(dataFolder, prompts);
    window.show();
    window.Start(file.isEmpty() ? QString() : QFileInfo(file).absoluteFilePath());
    return app.exec();
}
