// The viewer: the main window with the spectrum window, started on the
// demonstration spectrum beside the program.
#include <QApplication>
#include <QStyleFactory>

#include "app/main_window.h"
#include "window/prompts.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Halvorn");
    QApplication::setOrganizationName("Halvorn");
    // The graph-setting buttons show their state by colour, which every
    // platform style draws only with the Fusion style.
    QApplication::setStyle(QStyleFactory::create("Fusion"));

    halvorn::QtPrompts prompts;
    halvorn::MainWindow window(QCoreApplication::applicationDirPath(), prompts);
    window.show();
    window.Start();
    return app.exec();
}
