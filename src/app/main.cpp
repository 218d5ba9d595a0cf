// The viewer. For now the spectrum window shows the loaded spectrum's caption,
// information labels, sample labels and header lines; the graph comes with the
// drawing engine.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QVBoxLayout>

#include "core/spectrum.h"
#include "import/sp_reader.h"

namespace {

QString FromLocal(const std::string& text) {
    return QString::fromLatin1(text.c_str());
}

QWidget* MakeSpectrumView(const halvorn::Spectrum& s) {
    auto* view = new QWidget;
    view->setObjectName("Form5");
    auto* layout = new QVBoxLayout(view);
    for (const std::string* text : {&s.PointCountLabel, &s.FirstPointLabel}) {
        layout->addWidget(new QLabel(FromLocal(*text)));
    }
    layout->addWidget(new QLabel("Interval between consecutive"));
    layout->addWidget(new QLabel(FromLocal(s.IntervalLabel)));
    for (const std::string& label : s.Label14) {
        layout->addWidget(new QLabel(FromLocal(label)));
    }
    auto* header = new QListWidget;
    header->setObjectName("HeaderList");
    for (const std::string& line : s.HeaderList) {
        header->addItem(FromLocal(line));
    }
    layout->addWidget(header);
    view->setWindowTitle(FromLocal(s.Caption));
    return view;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow main;
    main.setWindowTitle("Halvorn_Mod");
    auto* area = new QMdiArea;
    main.setCentralWidget(area);
    main.resize(900, 700);

    halvorn::Spectrum spectrum;
    spectrum.ProgramFolder = QCoreApplication::applicationDirPath().toStdString();
    const std::string demo =
        QDir(QCoreApplication::applicationDirPath()).filePath("Demo.sp").toStdString();
    halvorn::ReadRequest request;
    request.decimalSeparator = QLocale().decimalPoint().at(0).toLatin1();
    const halvorn::ReadOutcome outcome = halvorn::ReadSpFile(demo, request, spectrum);
    if (!outcome.ok) {
        QMessageBox::critical(&main, halvorn::kReadFailureTitle, FromLocal(outcome.message));
    }
    QMdiSubWindow* child = area->addSubWindow(MakeSpectrumView(spectrum));
    child->resize(600, 600);
    main.show();
    child->show();
    return app.exec();
}
