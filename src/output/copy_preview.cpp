#include "output/copy_preview.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeySequence>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>

#include "output/paper_dialog.h"
#include "render/render.h"
#include "surface/qt_metafile.h"
#include "window/graph_window.h"
#include "window/picture_box.h"
#include "window/prompts.h"

namespace halvorn {

const std::array<PreviewToggle, kPreviewToggleCount> kPreviewToggles = {{
    {"Command1", "Remove Grid", "Replace Grid", &FigureSwitches::ShowGrid},
    {"Command2", "Remove Frame", "Replace Frame", &FigureSwitches::ShowFigureFrame},
    {"Command3", "Remove Scale", "Replace Scale", &FigureSwitches::ShowScale},
    {"Command4", "Remove Graph", "Replace Graph", &FigureSwitches::ShowGraph},
    {"Command5", "Remove Peak Labels", "Replace Peak Labels", &FigureSwitches::ShowPeakLabels},
    {"Command6", "Remove Labels", "Replace Labels", &FigureSwitches::ShowLabels},
    {"Command7", "Colorful", "Black + White", &FigureSwitches::BlackAndWhite},
}};

namespace {

constexpr int kPanelTop = 8;
constexpr int kButtonGap = 10;
constexpr int kMinToggleWidth = 80;
constexpr int kCloseWidth = 100;
constexpr int kToggleHeight = 28;
constexpr int kToggleSpacing = 3;
constexpr int kBitmapButtonSize = 36;

constexpr const char* kSaveFigureFilter =
    "SVG Picture (*.svg)|*.svg|PDF Document (*.pdf)|*.pdf|PNG Image (*.png)|*.png|"
    "Enhanced Metafile (*.emf)|*.emf";
constexpr const char* kPdfFilter = "PDF Document (*.pdf)|*.pdf";

// The copy button's picture: two sheets, the front one with lines of text.
QIcon CopyIcon() {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(230, 230, 230));
    p.drawRect(3, 2, 12, 15);
    p.setBrush(Qt::white);
    p.drawRect(8, 7, 12, 15);
    p.setPen(QPen(QColor(0, 0, 160), 1));
    for (int y = 11; y <= 19; y += 3) {
        p.drawLine(10, y, 18, y);
    }
    return QIcon(pixmap);
}

// The print button's picture: a printer with a sheet coming out.
QIcon PrintIcon() {
    QPixmap pixmap(24, 24);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(7, 2, 10, 8);
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(2, 9, 20, 9);
    p.setBrush(Qt::white);
    p.drawRect(6, 15, 12, 7);
    p.setPen(QPen(QColor(0, 160, 0), 1));
    p.drawPoint(19, 11);
    return QIcon(pixmap);
}

// The default name of a saved figure: the spectrum file's name with the
// picture's extension, "Demo.svg" for the demonstration spectrum.
QString DefaultFigureName(const ViewerState& state) {
    QString stem = QFileInfo(QFile::decodeName(state.DialogFileTitle.c_str())).completeBaseName();
    if (stem.isEmpty()) {
        stem = "Demo";
    }
    return stem + ".svg";
}

}  // namespace

FigureGeometry PreviewGeometry(const ViewerState& state) {
    return FigureGeometryFor(state.GraphHeightReduced,
                             GraphPanelHeightFor(state.graph.PlotOuterHeight));
}

CopyPreviewWindow::CopyPreviewWindow(ViewerState& state, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), state_(state), prompts_(prompts) {
    setObjectName("FormCopy");
    setWindowTitle("Copy Preview");
    setWindowFlag(Qt::Window, true);
    printerInstalled = [] { return !QPrinterInfo::defaultPrinter().isNull(); };

    auto* central = new QWidget(this);
    central->setObjectName("FormCopyClient");
    setCentralWidget(central);
    picture2_ = new PictureBox("Picture2", 0, central);
    picture2_->SetBackColor(QColor(192, 192, 192));
    picture1_ = new PictureBox("Picture1", 0, picture2_->Client());
    picture1_->SetBackColor(Qt::white);
    picture1_->setFocusPolicy(Qt::StrongFocus);
    BuildMenus();
    BuildButtons();
}

void CopyPreviewWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("mnuFile");
    QAction* print = file->addAction("&Print");
    print->setObjectName("mnuPrint");
    QAction* save = file->addAction("&Save Figure As...");
    save->setObjectName("mnuSaveFigureAs");
    file->addSeparator()->setObjectName("mnuFileSep");
    QAction* exit = file->addAction("E&xit");
    exit->setObjectName("mnuExit");
    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->setObjectName("mnuEdit");
    QAction* copy = edit->addAction("&Copy");
    copy->setObjectName("mnuCopy");

    // The desktop's own keys for printing and copying the figure.
    print->setShortcut(QKeySequence::Print);
    copy->setShortcut(QKeySequence::Copy);
    print->setStatusTip("Print the figure on one landscape page");
    save->setStatusTip("Save the figure as SVG, PDF, PNG or EMF");
    exit->setStatusTip("Close the copy preview");
    copy->setStatusTip("Copy the figure to the clipboard");

    connect(print, &QAction::triggered, this, [this] { PrintClick(); });
    connect(save, &QAction::triggered, this, [this] { SaveFigureAsClick(); });
    connect(exit, &QAction::triggered, this, [this] { CloseClick(); });
    connect(copy, &QAction::triggered, this, [this] { CopyClick(); });
}

void CopyPreviewWindow::BuildButtons() {
    QWidget* central = centralWidget();
    for (int k = 0; k < kPreviewToggleCount; ++k) {
        const PreviewToggle& toggle = kPreviewToggles[static_cast<std::size_t>(k)];
        auto* button = new QPushButton(toggle.captionWhenOn, central);
        button->setObjectName(toggle.name);
        button->setAccessibleDescription(toggle.name);
        button->setFocusPolicy(Qt::TabFocus);
        connect(button, &QPushButton::clicked, this, [this, k] { ToggleClick(k); });
        toggles_[static_cast<std::size_t>(k)] = button;
    }
    copyButton_ = new QPushButton(central);
    copyButton_->setObjectName("Command8");
    copyButton_->setAccessibleName("Command8");
    copyButton_->setIcon(CopyIcon());
    copyButton_->setIconSize(QSize(24, 24));
    copyButton_->setToolTip("Copy the figure to the clipboard");
    printButton_ = new QPushButton(central);
    printButton_->setObjectName("Command9");
    printButton_->setAccessibleName("Command9");
    printButton_->setIcon(PrintIcon());
    printButton_->setIconSize(QSize(24, 24));
    printButton_->setToolTip("Print the figure");
    closeButton_ = new QPushButton("Close", central);
    closeButton_->setObjectName("Command10");
    closeButton_->setAccessibleDescription("Command10");
    connect(copyButton_, &QPushButton::clicked, this, [this] { CopyClick(); });
    connect(printButton_, &QPushButton::clicked, this, [this] { PrintClick(); });
    connect(closeButton_, &QPushButton::clicked, this, [this] { CloseClick(); });
}

void CopyPreviewWindow::Load() {
    // Peak labels are drawn without their filled boxes in the figure.
    state_.graph.FillLabelBackground = false;

    geometry_ = PreviewGeometry(state_);
    const int w = geometry_.FigureWidth;
    const int h = geometry_.FigureHeight;
    picture1_->resize(w, h);
    const int panelWidth = w + 2 * kPreviewMargin + 1;
    const int panelHeight = h + 2 * kPreviewMargin + 1;
    picture2_->setGeometry((kPreviewCentreWidth - panelWidth) / 2, kPanelTop, panelWidth,
                           panelHeight);
    picture1_->move(kPreviewMargin, kPreviewMargin);

    // The buttons in two rows under the panel: the seven switches, each wide
    // enough for both its captions, then the copy and print buttons on the
    // left and "Close" on the right.
    std::array<int, kPreviewToggleCount> widths{};
    int toggleRowWidth = (kPreviewToggleCount - 1) * kToggleSpacing;
    for (std::size_t k = 0; k < widths.size(); ++k) {
        const QFontMetrics metrics(toggles_[k]->font());
        widths[k] = std::max({kMinToggleWidth,
                              metrics.horizontalAdvance(kPreviewToggles[k].captionWhenOn) + 14,
                              metrics.horizontalAdvance(kPreviewToggles[k].captionWhenOff) + 14});
        toggleRowWidth += widths[k];
    }
    const int left = std::max(0, (kPreviewCentreWidth - toggleRowWidth) / 2);
    const int toggleTop = kPanelTop + panelHeight + kButtonGap;
    int x = left;
    for (std::size_t k = 0; k < widths.size(); ++k) {
        toggles_[k]->setGeometry(x, toggleTop, widths[k], kToggleHeight);
        x += widths[k] + kToggleSpacing;
    }
    const int secondRow = toggleTop + kToggleHeight + kButtonGap;
    copyButton_->setGeometry(left, secondRow, kBitmapButtonSize, kBitmapButtonSize);
    printButton_->setGeometry(left + kBitmapButtonSize + kToggleSpacing, secondRow,
                              kBitmapButtonSize, kBitmapButtonSize);
    closeButton_->setGeometry(left + toggleRowWidth - kCloseWidth, secondRow, kCloseWidth,
                              kBitmapButtonSize);
    centralWidget()->setFixedSize(std::max(kPreviewCentreWidth, toggleRowWidth),
                                  secondRow + kBitmapButtonSize + kButtonGap);
    setFixedSize(sizeHint());

    // Every element on, colour drawing.
    switches_ = FigureSwitches{};
    ShowCaptions();
    loaded_ = true;
}

void CopyPreviewWindow::ShowCaptions() {
    for (int k = 0; k < kPreviewToggleCount; ++k) {
        const PreviewToggle& toggle = kPreviewToggles[static_cast<std::size_t>(k)];
        toggles_[static_cast<std::size_t>(k)]->setText(
            switches_.*toggle.flag ? toggle.captionWhenOn : toggle.captionWhenOff);
    }
}

FigureState CopyPreviewWindow::Figure() const {
    FigureState figure;
    figure.geometry = geometry_;
    figure.switches = switches_;
    ColorBW(figure, switches_.BlackAndWhite);
    figure.labels = FigureSampleLabels(state_.spectrum, state_.Label14Visible);
    if (state_.spectrum.PointCount <= 0) {
        // Nothing is loaded (a failed read leaves no points): there is no
        // trace, and the peak list belongs to no spectrum.
        figure.switches.ShowGraph = false;
        figure.switches.ShowPeakLabels = false;
    }
    return figure;
}

void CopyPreviewWindow::ShowAndDraw() {
    if (!loaded_) {
        Load();
    }
    show();
    raise();
    activateWindow();
    Activated();
    StartFigure();
}

void CopyPreviewWindow::StartFigure() {
    picture1_->Clear();
    DrawFigure();
}

void CopyPreviewWindow::DrawFigure() {
    Graph graph(state_.spectrum, state_.settings, state_.graph);
    const FigureState figure = Figure();
    const GraphOutcome drawn = RunGuarded([&] { FigComplete(graph, figure, picture1_->Dc()); });
    picture1_->Refresh();
    if (!drawn.ok) {
        prompts_.Message(this, QMessageBox::Critical, kRedrawFailureTitle,
                         QString::fromStdString(drawn.message), QMessageBox::Ok);
    }
}

void CopyPreviewWindow::Activated() {
    state_.graph.FillLabelBackground = false;
}

bool CopyPreviewWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && loaded_) {
        Activated();
    }
    return QMainWindow::event(event);
}

void CopyPreviewWindow::closeEvent(QCloseEvent* event) {
    loaded_ = false;
    QMainWindow::closeEvent(event);
}

void CopyPreviewWindow::ToggleClick(int index) {
    const PreviewToggle& toggle = kPreviewToggles[static_cast<std::size_t>(index)];
    QPushButton* button = toggles_[static_cast<std::size_t>(index)];
    // The caption tells what the click does.
    const QString caption = button->text();
    if (caption == toggle.captionWhenOn) {
        switches_.*toggle.flag = false;
        button->setText(toggle.captionWhenOff);
    } else if (caption == toggle.captionWhenOff) {
        switches_.*toggle.flag = true;
        button->setText(toggle.captionWhenOn);
    }
    StartFigure();
}

void CopyPreviewWindow::CloseClick() {
    close();
}

std::optional<MetafileRecording> CopyPreviewWindow::RecordForTransfer() {
    Graph graph(state_.spectrum, state_.settings, state_.graph);
    std::optional<MetafileRecording> recording = RecordMetafile(
        graph, Figure(), PrimaryScreenMetrics(), QFile::decodeName(state_.MetafilePath.c_str()));
    if (!recording) {
        prompts_.Message(this, QMessageBox::NoIcon, QString(), kMetafileFailureText,
                         QMessageBox::Ok);
    }
    return recording;
}

void CopyPreviewWindow::CopyClick() {
    const std::optional<MetafileRecording> recording = RecordForTransfer();
    if (!recording) {
        return;  // the clipboard keeps what it held
    }
    Graph graph(state_.spectrum, state_.settings, state_.graph);
    const FigureState figure = Figure();
    QImage image;
    const GraphOutcome drawn = RunGuarded([&] { image = FigureImage(graph, figure); });
    QByteArray svg;
    (void)RunGuarded([&] { svg = FigureSvg(graph, figure); });
    QGuiApplication::clipboard()->setMimeData(
        FigureMimeData(recording->bytes, svg, drawn.ok ? image : QImage()));
}

void CopyPreviewWindow::PrintClick() {
    picture1_->setFocus();
    PaperDialog dialog(this);
    if (prompts_.Exec(dialog) != QDialog::Accepted) {
        return;  // "Cancel Printing" or the close box
    }
    paperLetter_ = dialog.Choice() == Paper::Letter;
    const Paper paper = paperLetter_ ? Paper::Letter : Paper::A4;
    if (!RecordForTransfer()) {
        return;
    }

    if (printerInstalled && printerInstalled()) {
        QPrinter printer(QPrinter::HighResolution);
        PrintOn(printer, paper, QString());
        return;
    }
    const QMessageBox::StandardButton answer =
        prompts_.Message(this, QMessageBox::Question, "Print",
                         "No printer is installed.\r\nPrint the figure to a PDF file instead?",
                         QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        return;
    }
    const std::optional<QString> path = prompts_.SaveFileName(this, kPdfFilter, "CurPic.pdf");
    if (!path) {
        return;
    }
    // The PDF is written beside the program's files first and then replaces
    // the target whole, so a failed print leaves no half-written file.
    QTemporaryDir scratch;
    const QString scratchFile = scratch.isValid() ? scratch.filePath("page.pdf") : QString();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(scratchFile);
    PrintOn(printer, paper, *path);
}

void CopyPreviewWindow::PrintOn(QPrinter& printer, Paper paper, const QString& pdfPath) {
    Graph graph(state_.spectrum, state_.settings, state_.graph);
    bool printed = !printer.outputFileName().isEmpty() || pdfPath.isEmpty();
    printed = printed && PrintFigure(printer, graph, Figure(), paper);
    if (printed && !pdfPath.isEmpty()) {
        QFile page(printer.outputFileName());
        printed = page.open(QIODevice::ReadOnly) && WriteWholeFile(pdfPath, page.readAll()).ok;
    }
    if (!printed) {
        const QString text = pdfPath.isEmpty() ? QString("The figure could not be printed.")
                                               : "The figure could not be printed to " +
                                                     QDir::toNativeSeparators(pdfPath) + ".";
        prompts_.Message(this, QMessageBox::Warning, "Print", text, QMessageBox::Ok);
    }
}

void CopyPreviewWindow::SaveFigureAsClick() {
    const std::optional<QString> path =
        prompts_.SaveFileName(this, kSaveFigureFilter, DefaultFigureName(state_));
    if (!path) {
        return;
    }
    Graph graph(state_.spectrum, state_.settings, state_.graph);
    // The outcome's message names the file and says why it was not written.
    const WriteOutcome written =
        SaveFigureFile(graph, Figure(), QFile::encodeName(*path).toStdString());
    if (!written.ok) {
        prompts_.Message(this, QMessageBox::Warning, "Save Figure As",
                         QString::fromStdString(written.message), QMessageBox::Ok);
    }
}

}  // namespace halvorn
