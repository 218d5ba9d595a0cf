#include "window/graph_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

#include <exception>
#include <utility>

#include "core/character_set.h"
#include "core/export_text.h"
#include "core/numbers.h"
#include "core/xscale_mode.h"
#include "graph/figure.h"
#include "graph/graph.h"
#include "graph/mapping.h"
#include "interaction/label_moving.h"
#include "interaction/peak_marking.h"
#include "window/picture_box.h"
#include "window/plot_picker.h"
#include "window/prompts.h"
#include "window/text_lines_view.h"

namespace halvorn {

namespace {

// Places on the window, in pixels. The graph's own areas follow from the
// height option and the expansion level (graph_geometry.h); these are the rest.
constexpr int kPicture7Left = 4;
constexpr int kPicture7Top = 38;
constexpr int kPicture7Width = 792;
constexpr int kPicture2Left = 44;  // inside Picture7: room for the %T scale
constexpr int kPicture2Top = 20;   // inside Picture7: room for the wavelength title
constexpr int kPicture2Width = 697;
constexpr int kStripHeight = 24;  // the wavenumber and wavelength scale strips
constexpr int kTitleStripHeight = 16;
constexpr int kSideColumn = 804;  // left edge of the button column
constexpr int kWindowWidth = 992;
constexpr int kWindowHeight = 604;

// The sample labels' panel lies above the graph, placed so that its x = 13 is
// the plot's left edge, as in the copy-preview figure, which draws the labels
// at their design places plus (22, 7) over a plot at x = 35. The plot's left
// edge on the window: background, its border, the frame, its border, the
// container at -10, its border, the plot inside the container.
constexpr int kPlotLeftOnWindow =
    kPicture7Left + 2 + kPicture2Left + 2 + kContainerRestLeft + 2 + 18;
constexpr int kSamplePanelLeft = kPlotLeftOnWindow - 13;
constexpr int kSamplePanelTop = 2;
constexpr int kSampleTitleWidth = 420;

// The two Y grid buttons, after the four X-scale buttons.
struct YGridButton {
    std::int16_t YGridMode;
    const char* caption;
    const char* tooltip;
};
constexpr std::array<YGridButton, 2> kYGridButtons = {{
    {1, "A", "Grid in Absorbance"},
    {0, "T", "Grid in Transmittance"},
}};

QString FromFile(const std::string& text) {
    return QString::fromStdString(ShownText(text));
}

// The user's decimal separator; a point where it has no one-byte form.
char DecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    const char c = point.size() == 1 ? point.at(0).toLatin1() : '\0';
    return c == '\0' ? '.' : c;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int x, int y,
                        int w, int h, const char* tooltip = nullptr) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(x, y, w, h);
    if (tooltip != nullptr) {
        b->setToolTip(tooltip);
    }
    return b;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, int x, int y) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->move(x, y);
    l->adjustSize();
    return l;
}

QLabel* MakeColourLabel(QWidget* parent, const char* name, Rgb colour) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, ColourOf(colour));
    l->setPalette(p);
    l->hide();
    return l;
}

Rgb BackgroundOf(const QLabel* label) {
    return RgbOf(label->palette().color(QPalette::Window));
}

}  // namespace

QColor ColourOf(Rgb rgb) {
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

Rgb RgbOf(const QColor& colour) {
    return MakeRgb(colour.red(), colour.green(), colour.blue());
}

int RedrawErrorOf(GraphFailure failure) {
    switch (failure) {
        case GraphFailure::Overflow:
            return kRedrawOverflow;
        case GraphFailure::DivisionByZero:
            return kRedrawDivisionByZero;
        case GraphFailure::None:
        case GraphFailure::InvalidCall:
            break;
    }
    return kRedrawInvalidCall;
}

QString RedrawErrorText(int code, const std::string& detail) {
    QString why;
    switch (code) {
        case kRedrawOverflow:
            why = "A value of the graph is out of range (overflow)";
            break;
        case kRedrawDivisionByZero:
            why = "The display range or the %T range has no width (division by zero)";
            break;
        default:
            why = "The graph's values do not allow a drawing (error " + QString::number(code) + ")";
            break;
    }
    if (!detail.empty()) {
        why += ":\r\n" + QString::fromStdString(detail);
    }
    return "The spectrum cannot be drawn.\r\n" + why + ".";
}

SpectrumWindow::SpectrumWindow(ViewerState& state, Prompts& prompts,
                               std::function<void()> loadSettings, QWidget* parent)
    : QWidget(parent), state_(state), prompts_(prompts), loadSettings_(std::move(loadSettings)) {
    setObjectName("Form5");
    setWindowTitle("Infrared Spectrum");
    setFixedSize(kWindowWidth, kWindowHeight);
    QFont small("Arial");
    small.setPointSize(8);
    setFont(small);
    BuildGraphAreas();
    BuildButtons();
    BuildTexts();
    BuildTools();
    SetStatusTips();
    picture1_->installEventFilter(this);
    picture2_->installEventFilter(this);
    // A file dropped on the number boxes goes on to the main window, which
    // opens it, instead of pasting its name into the box.
    text2_->setAcceptDrops(false);
    multGlobalBox_->setAcceptDrops(false);
}

void SpectrumWindow::SetStatusTips() {
    // What each control does, shown in the main window's status bar while
    // the pointer is over it; controls with a tooltip say the same there.
    const std::pair<const char*, const char*> tips[] = {
        {"Command3", "Mark or unmark the nearest dip with a left click on the graph"},
        {"Command1", "Drag peak labels with the right mouse button"},
        {"Command4", "Compose the figure for copying, printing or saving"},
        {"Command13", "Show the file's header lines beside a description of the format"},
        {"Command15", "Show the memory figures"},
        {"Command16", "Draw every n-th point, n typed in the box beside"},
        {"Command5", "Draw the graph again"},
        {"Command19", "Read the last file again as a two-column table"},
        {"Command18", "Read the JCAMP-DX file again with the multiplier typed in the box"},
        {"Text2", "The step between drawn points"},
        {"MultGlobalBox", "The multiplier of the JCAMP-DX ordinates"},
    };
    for (const auto& [name, tip] : tips) {
        if (QWidget* w = findChild<QWidget*>(name)) {
            w->setStatusTip(tip);
        }
    }
    for (QWidget* w : findChildren<QWidget*>()) {
        if (w->statusTip().isEmpty() && !w->toolTip().isEmpty()) {
            w->setStatusTip(w->toolTip());
        }
    }
    for (QRadioButton* option : heightOptions_) {
        option->setStatusTip("Draw the graph at " + option->text() + " of its full height");
    }
}

void SpectrumWindow::BuildGraphAreas() {
    picture7_ = new PictureBox("Picture7", 2, this);
    picture8_ = new PictureBox("Picture8", 0, picture7_->Client());
    picture2_ = new PictureBox("Picture2", 2, picture7_->Client());
    picture4_ = new PictureBox("Picture4", 0, picture7_->Client());
    picture6_ = new PictureBox("Picture6", 2, picture2_->Client());
    line6_ = new QFrame(picture6_->Client());
    line6_->setObjectName("Line6");
    line6_->setAccessibleName("Line6");
    line6_->setAutoFillBackground(true);
    QPalette linePalette = line6_->palette();
    linePalette.setColor(QPalette::Window, Qt::black);
    line6_->setPalette(linePalette);
    picture12_ = new PictureBox("Picture12", 0, picture6_->Client());
    picture1_ = new PictureBox("Picture1", 0, picture6_->Client());
    picture11_ = new PictureBox("Picture11", 0, picture6_->Client());
    picture1_->setFocusPolicy(Qt::StrongFocus);
    picture2_->setFocusPolicy(Qt::StrongFocus);
    picture1_->setCursor(Qt::CrossCursor);
    BuildPlotMarkers();

    // The X scales live inside the sliding container and move with the plot;
    // the Y scales live on the fixed background.
    picture7_->setGeometry(kPicture7Left, kPicture7Top, kPicture7Width, 473);
    picture8_->setGeometry(kPicture2Left, 2, kPicture2Width, 18);
    picture2_->setGeometry(kPicture2Left, kPicture2Top, kPicture2Width, 449);
    picture4_->setGeometry(kPicture2Left + 2, 431, kPicture2Width - 4, kTitleStripHeight);
    picture4_->raise();
    picture6_->setGeometry(kContainerRestLeft, 0, kPlotWidth + 100, 416);
    picture12_->resize(kPlotWidth + 20, kStripHeight);
    picture11_->resize(kPlotWidth + 20, kStripHeight);
    picture1_->resize(kPlotWidth, kPlotHeight);

    hscroll_ = new QScrollBar(Qt::Horizontal, this);
    hscroll_->setObjectName("HScroll1");
    hscroll_->setAccessibleName("HScroll1");
    hscroll_->resize(kPicture2Width, 17);
    hscroll_->setFocusPolicy(Qt::NoFocus);  // the keyboard stays with the graph
    hscroll_->setRange(kContainerRestLeft, kContainerRestLeft);
    hscroll_->setEnabled(false);
    connect(hscroll_, &QScrollBar::valueChanged, this, &SpectrumWindow::ScrollChange);

    for (int k = 0; k < 4; ++k) {
        // Left to right: X (cm-1), X (um), Y (%T), Y (abs).
        auto* field = new QLabel(this);
        field->setObjectName(QString("Label1(%1)").arg(3 - k));
        field->setAccessibleDescription(field->objectName());
        field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        field->resize(170, 20);
        label1_[static_cast<std::size_t>(3 - k)] = field;
    }

    PlaceBelowGraph();

    readingPanel_ = new QFrame(this);
    readingPanel_->setObjectName("ReadingPanel");
    readingPanel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    readingPanel_->setAutoFillBackground(true);
    readingPanel_->setGeometry(kPicture7Left + kPicture7Width / 2 - 150, kPicture7Top + 200, 300,
                               64);
    MakeLabel(readingPanel_, "ReadingLabel", "Reading file...", 12, 8);
    progressBar_ = new QProgressBar(readingPanel_);
    progressBar_->setObjectName("ProgressBar1");
    progressBar_->setAccessibleName("ProgressBar1");
    progressBar_->setGeometry(12, 30, 276, 20);
    readingPanel_->hide();

    label4_ = MakeColourLabel(this, "Label4", MakeRgb(192, 192, 0));
    label5_ = MakeColourLabel(this, "Label5", MakeRgb(255, 192, 128));
    label18_ = MakeColourLabel(this, "Label18", MakeRgb(0, 0, 255));
    label22_ = MakeColourLabel(this, "Label22", MakeRgb(192, 255, 255));
}

void SpectrumWindow::BuildPlotMarkers() {
    QWidget* plot = picture1_->Client();

    // The peak cursor: a vertical line over the whole plot height. The mouse
    // goes through it to the plot, as through the drag frame.
    line5_ = new QFrame(plot);
    line5_->setObjectName("Line5");
    line5_->setAccessibleName("Line5");
    line5_->setAutoFillBackground(true);
    QPalette linePalette = line5_->palette();
    linePalette.setColor(QPalette::Window, Qt::black);
    line5_->setPalette(linePalette);
    line5_->setAttribute(Qt::WA_TransparentForMouseEvents);
    line5_->hide();

    // The floating peak label beside the cursor: red bold text on the
    // window's background.
    label19_ = new QLabel(plot);
    label19_->setObjectName("Label19");
    label19_->setAccessibleDescription("Label19");
    QFont bold("Arial");
    bold.setPointSizeF(9.75);
    bold.setBold(true);
    label19_->setFont(bold);
    label19_->setAutoFillBackground(true);
    QPalette labelPalette = label19_->palette();
    labelPalette.setColor(QPalette::Window, palette().color(QPalette::Window));
    labelPalette.setColor(QPalette::WindowText, Qt::red);
    label19_->setPalette(labelPalette);
    label19_->setMouseTracking(true);
    label19_->hide();

    // The drag frame of a peak label being moved.
    shape1_ = new QFrame(plot);
    shape1_->setObjectName("Shape1");
    shape1_->setAccessibleName("Shape1");
    shape1_->setFrameStyle(QFrame::Box | QFrame::Plain);
    shape1_->setLineWidth(1);
    shape1_->setAttribute(Qt::WA_TransparentForMouseEvents);
    shape1_->hide();

    // The mouse on the plot goes to the picker, which says what to show.
    picker_ = new PlotPicker(state_, *picture1_, this);
    for (PictureBox* panel :
         {picture2_, picture4_, picture6_, picture7_, picture8_, picture11_, picture12_}) {
        picker_->WatchPanel(panel);
    }
    picker_->WatchBackground(this);
    picker_->WatchFloatingLabel(label19_);
    connect(picker_, &PlotPicker::readoutChanged, this, &SpectrumWindow::ShowReadout);
    connect(picker_, &PlotPicker::dragFrameChanged, this, &SpectrumWindow::ShowDragFrame);
    connect(picker_, &PlotPicker::peakListChanged, this, [this] {
        state_.spectrum.RelayoutLabels = true;
        Redraw();
    });
    connect(picker_, &PlotPicker::tooManyPeaks, this, [this] {
        prompts_.Message(window(), QMessageBox::Critical, kTooManyPeaksTitle, kTooManyPeaksText,
                         QMessageBox::Ok);
    });
    connect(picker_, &PlotPicker::wrongMouseButton, this, [this] {
        prompts_.Message(window(), QMessageBox::Information, kWrongButtonTitle, kWrongButtonText,
                         QMessageBox::Ok);
    });
    // A dropped label is drawn in its new place; the layout is kept.
    connect(picker_, &PlotPicker::labelDropped, this, [this] { Redraw(); });
}

void SpectrumWindow::ShowReadout(const ReadoutFields& fields) {
    // Runs on every mouse move: only what changed is touched.
    for (std::size_t k = 0; k < label1_.size(); ++k) {
        const QString text = QString::fromLatin1(fields.Label1[k]);
        if (label1_[k]->text() != text) {
            label1_[k]->setText(text);
        }
    }
    if (fields.Line5Visible) {
        const QRect place(PixelOf(fields.Line5X), 0, 1, picture1_->InnerHeight());
        if (line5_->geometry() != place) {
            line5_->setGeometry(place);
        }
        if (line5_->isHidden()) {
            line5_->show();
        }
    } else if (!line5_->isHidden()) {
        line5_->hide();
    }
    if (fields.Label19Visible) {
        const QString text = QString::fromLatin1(fields.Label19Text);
        if (label19_->text() != text) {
            label19_->setText(text);
            label19_->adjustSize();
        }
        const float left = Label19Left(fields, static_cast<float>(label19_->width()));
        const QPoint place(PixelOf(left), PixelOf(fields.Label19Top));
        if (label19_->pos() != place) {
            label19_->move(place);
        }
        if (label19_->isHidden()) {
            label19_->show();
            label19_->raise();
        }
    } else if (!label19_->isHidden()) {
        label19_->hide();
    }
}

void SpectrumWindow::ShowDragFrame(bool visible, const QRectF& frame) {
    if (visible) {
        shape1_->setGeometry(PixelOf(static_cast<float>(frame.left())),
                             PixelOf(static_cast<float>(frame.top())),
                             static_cast<int>(frame.width()), static_cast<int>(frame.height()));
        shape1_->show();
        shape1_->raise();
    } else {
        shape1_->hide();
    }
}

void SpectrumWindow::BuildButtons() {
    const int x = kSideColumn;
    MakeLabel(this, "LabelGraphSettings", "Graph Settings:", x, 40);
    // Command7..Command10 for the X-scale modes, Command11 and Command12 for
    // the Y grids, in one row.
    int column = 0;
    const auto add = [&](const char* caption, const char* tooltip) {
        const QString name = QString("Command%1").arg(7 + column);
        QPushButton* b = MakeButton(this, name.toLatin1().constData(), QString::fromUtf8(caption),
                                    x + column * 30, 58, 28, 26, tooltip);
        b->setAutoFillBackground(true);
        settingButtons_[static_cast<std::size_t>(column)] = b;
        ++column;
        return b;
    };
    for (const XScaleModeRow& row : kXScaleModes) {
        const XScaleMode mode = row.mode;
        connect(add(row.caption, row.tooltip), &QPushButton::clicked, this,
                [this, mode] { XScaleButtonClick(mode); });
    }
    for (const YGridButton& grid : kYGridButtons) {
        const std::int16_t mode = grid.YGridMode;
        connect(add(grid.caption, grid.tooltip), &QPushButton::clicked, this,
                [this, mode] { YGridButtonClick(mode); });
    }

    auto* height = new QGroupBox("Height", this);
    height->setObjectName("FrameHeight");
    height->setGeometry(x, 90, 180, 78);
    for (int k = 0; k < kHeightOptionCount; ++k) {
        auto* option = new QRadioButton(QString::fromStdString(HeightOptionCaption(k)), height);
        option->setObjectName(QString("OptionHeight(%1)").arg(k));
        option->setGeometry(10 + (k / 3) * 84, 18 + (k % 3) * 19, 80, 18);
        heightOptions_[static_cast<std::size_t>(k)] = option;
        option->setChecked(k == 0);
        // The option reacts to becoming selected, however that happens (a
        // click, the arrow keys, an accessibility tool); a click on the option
        // already selected applies it again.
        connect(option, &QRadioButton::toggled, this, [this, k](bool checked) {
            if (checked) {
                heightAppliedByToggle_ = true;
                QTimer::singleShot(0, this, [this] { heightAppliedByToggle_ = false; });
                HeightOptionClick(k);
            }
        });
        connect(option, &QRadioButton::clicked, this, [this, k] {
            if (!std::exchange(heightAppliedByToggle_, false)) {
                HeightOptionClick(k);
            }
        });
    }

    MakeLabel(this, "LabelHExpansion", "H Expansion:", x, 178);
    factorLabel_ = MakeLabel(this, "LabelExpansionFactor", "1/ 1", x + 84, 178);
    factorLabel_->setMinimumWidth(40);
    command6_ =
        MakeButton(this, "Command6", "*2", x, 196, 40, 24, "Make the whole graph twice as large");
    command17_ = MakeButton(this, "Command17", "/2", x + 44, 196, 40, 24,
                            "Make the whole graph half as large");
    command14_ =
        MakeButton(this, "Command14", "Sel", x + 88, 196, 40, 24, "Select limits for expansion");
    command17_->setEnabled(false);
    connect(command6_, &QPushButton::clicked, this, &SpectrumWindow::ExpandClick);
    connect(command17_, &QPushButton::clicked, this, &SpectrumWindow::ShrinkClick);
    connect(command14_, &QPushButton::clicked, this, &SpectrumWindow::SelClick);

    command3_ = MakeButton(this, "Command3", "Peak Mark", x, 228, 88, 26);
    command1_ = MakeButton(this, "Command1", "Move Labels", x + 92, 228, 88, 26);
    command3_->setAutoFillBackground(true);
    command1_->setAutoFillBackground(true);
    connect(command3_, &QPushButton::clicked, this, &SpectrumWindow::PeakMarkClick);
    connect(command1_, &QPushButton::clicked, this, &SpectrumWindow::MoveLabelsClick);

    QPushButton* copy = MakeButton(this, "Command4", "Cpy/Prt", x, 258, 88, 26);
    QPushButton* details = MakeButton(this, "Command13", "File Details", x + 92, 258, 88, 26);
    connect(copy, &QPushButton::clicked, this, &SpectrumWindow::CopyPrintClick);
    connect(details, &QPushButton::clicked, this, &SpectrumWindow::FileDetailsClick);

    MakeButton(this, "Command15", "Mem", x, 288, 56, 26);
    QPushButton* stepPt = MakeButton(this, "Command16", "StepPt", x + 60, 288, 56, 26);
    connect(stepPt, &QPushButton::clicked, this, &SpectrumWindow::StepPtClick);
    text2_ = new QLineEdit("1", this);
    text2_->setObjectName("Text2");
    text2_->setAccessibleName("Text2");
    text2_->setGeometry(x + 120, 290, 60, 22);

    QPushButton* ir4 = MakeButton(this, "Command5", "IR4", x, 318, 56, 26);
    connect(ir4, &QPushButton::clicked, this, &SpectrumWindow::Command5Click);
    QPushButton* prn = MakeButton(this, "Command19", "Command19", x + 60, 318, 120, 26);
    connect(prn, &QPushButton::clicked, this,
            [this] { OpenFile(FileFormat::Prn, state_.DialogFileName, state_.DialogFileTitle); });

    multGlobalLabel_ = MakeLabel(this, "LabelMultGlobal", "MultGlobal", x, 352);
    multGlobalBox_ = new QLineEdit("1", this);
    multGlobalBox_->setObjectName("MultGlobalBox");
    multGlobalBox_->setAccessibleName("MultGlobalBox");
    multGlobalBox_->setGeometry(x + 64, 348, 56, 22);
    command18_ = MakeButton(this, "Command18", "Restart", x + 124, 346, 56, 26);
}

void SpectrumWindow::BuildTexts() {
    sampleLabelPanel_ = new QWidget(this);
    sampleLabelPanel_->setObjectName("SampleLabelPanel");
    sampleLabelPanel_->setGeometry(kSamplePanelLeft, kSamplePanelTop,
                                   kPicture7Left + kPicture7Width - kSamplePanelLeft, 34);
    for (int k = 0; k < 7; ++k) {
        auto* label = new QLabel(sampleLabelPanel_);
        label->setObjectName(QString("Label14(%1)").arg(k));
        label->setToolTip("Double click to edit");
        label->move(kSampleLabelPlaces[static_cast<std::size_t>(k)][0],
                    kSampleLabelPlaces[static_cast<std::size_t>(k)][1]);
        // The figure's fonts: Arial of 11 pixels, the title bold of 12.
        QFont font("Arial");
        font.setPixelSize(k == 0 ? 12 : 11);
        font.setBold(k == 0);
        label->setFont(font);
        label14_[static_cast<std::size_t>(k)] = label;
    }
    label14_[0]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label14_[0]->setText("Sample");
    label14_[0]->resize(kSampleTitleWidth, 16);

    const int x = kSideColumn;
    pointCountLabel_ = MakeLabel(this, "PointCountLabel", "", x, 382);
    firstPointLabel_ = MakeLabel(this, "FirstPointLabel", "", x, 398);
    MakeLabel(this, "LabelInterval", "Interval between consecutive", x, 414);
    intervalLabel_ = MakeLabel(this, "IntervalLabel", "", x, 430);
    for (QLabel* l : {pointCountLabel_, firstPointLabel_, intervalLabel_}) {
        l->setMinimumWidth(180);
    }

    headerList_ = new QListWidget(this);
    headerList_->setObjectName("HeaderList");
    headerList_->setAccessibleName("HeaderList");
    headerList_->setToolTip("Double click to see details");
    headerList_->setGeometry(x, 450, 180, 66);

    MakeLabel(this, "LabelData", "Data (y values)", x, 520);
    dataTextBox_ = new TextLinesView(this);
    dataTextBox_->setObjectName("DataTextBox");
    dataTextBox_->setAccessibleName("DataTextBox");
    dataTextBox_->setGeometry(x, 536, 88, 62);
    diagnosticList_ = new QListWidget(this);
    diagnosticList_->setObjectName("DiagnosticList");
    diagnosticList_->setAccessibleName("DiagnosticList");
    diagnosticList_->setGeometry(x + 92, 536, 88, 62);
}

PictureBox* SpectrumWindow::Picture(int number) const {
    switch (number) {
        case 1:
            return picture1_;
        case 2:
            return picture2_;
        case 4:
            return picture4_;
        case 6:
            return picture6_;
        case 7:
            return picture7_;
        case 8:
            return picture8_;
        case 11:
            return picture11_;
        case 12:
            return picture12_;
        default:
            return nullptr;
    }
}

void SpectrumWindow::Load() {
    if (loadSettings_) {
        loadSettings_();
    }
    state_.graph.PointStep = 1;
    text2_->setText("1");
    // The spectrum title sits in the middle over the graph.
    const int frameCentre = kPicture7Left + 2 + kPicture2Left + kPicture2Width / 2;
    label14_[0]->move(frameCentre - kSamplePanelLeft - kSampleTitleWidth / 2, 2);
    PlaceGraphAreas();
    state_.spectrum.Loading = true;
    state_.PeakMarkMode = false;
    HighlightSettingButtons();
}

void SpectrumWindow::PlaceGraphAreas() {
    const int left = CenteredPlotLeft(picture2_->width(), picture6_->x());
    picture1_->move(left, kPlotTop);
    picture11_->setGeometry(left - 10, kPlotTop + picture1_->height(), picture1_->width() + 20,
                            kStripHeight);
    picture12_->setGeometry(left - 10, kPlotTop - kStripHeight, picture1_->width() + 20,
                            kStripHeight);
    FitPlotCompanions();
}

void SpectrumWindow::PlaceBelowGraph() {
    // The scroll bar and the readout fields follow the graph's lower edge.
    const int bottom = picture7_->y() + picture7_->height();
    hscroll_->move(kPicture7Left + 2 + kPicture2Left, bottom + 2);
    for (int k = 0; k < 4; ++k) {
        label1_[static_cast<std::size_t>(3 - k)]->move(kPicture7Left + 2 + kPicture2Left + k * 175,
                                                       bottom + 24);
    }
}

void SpectrumWindow::FitPlotCompanions() {
    const int right = picture1_->x() + picture1_->width();
    const int end = state_.GraphHeightReduced ? picture1_->height() + 36 : 384;
    line6_->setGeometry(right, picture1_->y(), 1, end - picture1_->y());
    line6_->lower();
    picture11_->resize(picture1_->width() + 20, picture11_->height());
    picture12_->resize(picture1_->width() + 20, picture12_->height());
}

void SpectrumWindow::PaintSettingButton(int index, Rgb colour) {
    QPushButton* b = settingButtons_[static_cast<std::size_t>(index)];
    QPalette p = b->palette();
    p.setColor(QPalette::Button, ColourOf(colour));
    b->setPalette(p);
}

Rgb SpectrumWindow::ButtonColour(int index) const {
    return RgbOf(
        settingButtons_[static_cast<std::size_t>(index)]->palette().color(QPalette::Button));
}

void SpectrumWindow::HighlightSettingButtons() {
    const DisplaySettings& s = state_.settings;
    // Settings outside the fields' ranges show the two-section scale's button.
    const int xButton = XScaleButtonIndex(XScaleModeOf(s).value_or(XScaleMode::TwoSections));
    const int yButton = YGridButtonIndex(s.YGridMode == 1 ? 1 : 0);
    for (std::size_t k = 0; k < settingButtons_.size(); ++k) {
        const int index = static_cast<int>(k);
        PaintSettingButton(index, index == xButton || index == yButton ? kActiveSettingColour
                                                                       : kInactiveSettingColour);
    }
}

void SpectrumWindow::Activated() {
    state_.graph.FillLabelBackground = true;
    picture2_->setFocus();
}

bool SpectrumWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == picture1_ || watched == picture2_)) {
        // The keyboard's plus and minus, on the main keys or the keypad, as
        // a click on the enabled button.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Plus) {
            if (command6_->isEnabled()) {
                ExpandClick();
            }
            return true;
        }
        if (key == Qt::Key_Minus) {
            if (command17_->isEnabled()) {
                ShrinkClick();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool SpectrumWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        Activated();
    }
    return QWidget::event(event);
}

void SpectrumWindow::EndPendingModes(bool moveFirst) {
    const auto endMark = [this] {
        if (command3_->text() == "End Mark") {
            PeakMarkClick();
        }
    };
    const auto endMove = [this] {
        if (command1_->text() == "End Move") {
            MoveLabelsClick();
        }
    };
    if (moveFirst) {
        endMove();
        endMark();
    } else {
        endMark();
        endMove();
    }
}

void SpectrumWindow::PeakMarkClick() {
    if (command1_->text() == "End Move") {
        MoveLabelsClick();
    }
    picture1_->setFocus();
    QPalette p = command3_->palette();
    if (command3_->text() == "Peak Mark") {
        state_.PeakMarkMode = true;
        command3_->setText("End Mark");
        p.setColor(QPalette::Button, ColourOf(kActiveModeColour));
    } else {
        state_.PeakMarkMode = false;
        command3_->setText("Peak Mark");
        p.setColor(QPalette::Button, QApplication::palette().color(QPalette::Button));
    }
    command3_->setPalette(p);
}

void SpectrumWindow::MoveLabelsClick() {
    picture1_->setFocus();
    if (!moveWarningShown_) {
        moveWarningShown_ = true;
        const QMessageBox::StandardButton answer =
            prompts_.Message(window(), QMessageBox::Information, kMoveLabelsQuestionTitle,
                             kMoveLabelsQuestionText, QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            return;
        }
    }
    QPalette p = command1_->palette();
    if (command1_->text() == "Move Labels") {
        state_.MoveLabelsMode = true;
        picture1_->setCursor(Qt::SizeAllCursor);
        if (command3_->text() == "End Mark") {
            PeakMarkClick();
        }
        p.setColor(QPalette::Button, ColourOf(kActiveModeColour));
        command1_->setPalette(p);
        command1_->setText("End Move");
    } else {
        command1_->setText("Move Labels");
        picture1_->setCursor(Qt::CrossCursor);
        picker_->CancelDrag();
        p.setColor(QPalette::Button, QApplication::palette().color(QPalette::Button));
        command1_->setPalette(p);
        state_.MoveLabelsMode = false;
    }
}

void SpectrumWindow::ScaleButtonClick(int index) {
    if (index < static_cast<int>(kXScaleModes.size())) {
        XScaleButtonClick(kXScaleModes[static_cast<std::size_t>(index)].mode);
    } else {
        YGridButtonClick(
            kYGridButtons[static_cast<std::size_t>(index) - kXScaleModes.size()].YGridMode);
    }
}

void SpectrumWindow::XScaleButtonClick(XScaleMode mode) {
    EndPendingModes();
    state_.spectrum.RelayoutLabels = true;
    SetXScaleMode(state_.settings, mode);
    for (const XScaleModeRow& row : kXScaleModes) {
        PaintSettingButton(XScaleButtonIndex(row.mode),
                           row.mode == mode ? kActiveSettingColour : kInactiveSettingColour);
    }
    picture1_->setFocus();
    QCoreApplication::processEvents();
    Redraw();
}

void SpectrumWindow::YGridButtonClick(std::int16_t mode) {
    EndPendingModes();
    state_.settings.YGridMode = mode;
    for (std::size_t k = 0; k < kYGridButtons.size(); ++k) {
        PaintSettingButton(
            YGridButtonIndex(kYGridButtons[k].YGridMode),
            kYGridButtons[k].YGridMode == mode ? kActiveSettingColour : kInactiveSettingColour);
    }
    picture1_->setFocus();
    QCoreApplication::processEvents();
    Redraw();
}

int SpectrumWindow::XScaleButtonIndex(XScaleMode mode) {
    for (std::size_t k = 0; k < kXScaleModes.size(); ++k) {
        if (kXScaleModes[k].mode == mode) {
            return static_cast<int>(k);
        }
    }
    return 0;
}

int SpectrumWindow::YGridButtonIndex(std::int16_t mode) {
    for (std::size_t k = 0; k < kYGridButtons.size(); ++k) {
        if (kYGridButtons[k].YGridMode == mode) {
            return static_cast<int>(kXScaleModes.size() + k);
        }
    }
    return static_cast<int>(kXScaleModes.size());
}

void SpectrumWindow::Command5Click() {
    Redraw();
}

void SpectrumWindow::HeightOptionClick(int index) {
    QRadioButton* option = heightOptions_[static_cast<std::size_t>(index)];
    if (!option->isChecked()) {
        option->setChecked(true);  // applied by the option's toggled signal
        return;
    }
    const GraphHeights h = HeightsForOption(index);
    state_.GraphHeightReduced = index != 0;
    picture1_->resize(picture1_->width(), h.plotHeight);
    picture6_->resize(picture6_->width(), h.picture6Height);
    picture2_->resize(picture2_->width(), h.picture2Height);
    picture11_->move(picture11_->x(), h.picture11Top);
    picture4_->move(picture4_->x(), h.picture4Top);
    picture7_->resize(picture7_->width(), h.picture7Height);
    line6_->setGeometry(line6_->x(), line6_->y(), 1, h.line6End - line6_->y());
    PlaceBelowGraph();

    // Re-apply the highlighted modes, which redraws the graph at its new height.
    for (const XScaleModeRow& row : kXScaleModes) {
        if (ButtonColour(XScaleButtonIndex(row.mode)) == kActiveSettingColour) {
            XScaleButtonClick(row.mode);
            break;
        }
    }
    const YGridButton& absorbance = kYGridButtons.front();
    YGridButtonClick(ButtonColour(YGridButtonIndex(absorbance.YGridMode)) == kActiveSettingColour
                         ? absorbance.YGridMode
                         : kYGridButtons.back().YGridMode);
}

void SpectrumWindow::ExpandClick() {
    try {
        state_.spectrum.RelayoutLabels = true;
        command17_->setEnabled(true);
        command14_->setEnabled(false);
        if (state_.graph.ExpansionLevel < kMaxExpansionLevel) {
            picture1_->resize(picture1_->width() * 2, picture1_->height());
            picture6_->resize(picture1_->width() + 100, picture6_->height());
            ++state_.graph.ExpansionLevel;
        }
        if (state_.graph.ExpansionLevel == kMaxExpansionLevel) {
            command6_->setEnabled(false);
        }
        FitPlotCompanions();
        const double q =
            state_.graph.ExpansionLevel == 1
                ? 2.0
                : ScrollProportion(hscroll_->minimum(), hscroll_->maximum(), hscroll_->value());
        Redraw();
        ScrollAdjust();
        const std::int16_t value = ValueAtProportion(hscroll_->minimum(), hscroll_->maximum(), q);
        hscroll_->setValue(value);
        ScrollChange(hscroll_->value());
        hscroll_->setEnabled(true);
        factorLabel_->setText(
            QString::fromStdString(ExpansionFactorText(state_.graph.ExpansionLevel)));
        picture1_->setFocus();
    } catch (const ArithmeticFault&) {
        prompts_.Message(window(), QMessageBox::Critical, "Error!",
                         RedrawErrorText(kRedrawOverflow, {}), QMessageBox::Ok);
    }
}

void SpectrumWindow::ShrinkClick() {
    try {
        state_.spectrum.RelayoutLabels = true;
        command6_->setEnabled(true);
        if (state_.graph.ExpansionLevel > 0) {
            picture1_->resize(picture1_->width() / 2, picture1_->height());
            picture6_->resize(picture1_->width() + 100, picture6_->height());
            --state_.graph.ExpansionLevel;
        }
        if (state_.graph.ExpansionLevel == 0) {
            command17_->setEnabled(false);
            command14_->setEnabled(true);
            hscroll_->setEnabled(false);
            picture6_->move(kContainerRestLeft, picture6_->y());
        } else {
            const double q =
                ScrollProportion(hscroll_->minimum(), hscroll_->maximum(), hscroll_->value());
            ScrollAdjust();
            hscroll_->setValue(ValueAtProportion(hscroll_->minimum(), hscroll_->maximum(), q));
            ScrollChange(hscroll_->value());
            hscroll_->setEnabled(true);
        }
        FitPlotCompanions();
        Redraw();
        factorLabel_->setText(
            QString::fromStdString(ExpansionFactorText(state_.graph.ExpansionLevel)));
        picture1_->setFocus();
    } catch (const ArithmeticFault&) {
        prompts_.Message(window(), QMessageBox::Critical, "Error!",
                         RedrawErrorText(kRedrawOverflow, {}), QMessageBox::Ok);
    }
}

void SpectrumWindow::ScrollAdjust() {
    const std::optional<ScrollSettings> s =
        ScrollAdjustSettings(picture2_->width(), picture1_->width(), picture1_->x());
    if (!s) {
        return;
    }
    const QSignalBlocker block(hscroll_);
    hscroll_->setRange(s->min, s->max);
    hscroll_->setPageStep(s->largeChange);
    hscroll_->setSingleStep(s->smallChange);
}

void SpectrumWindow::ScrollChange(int value) {
    if (state_.graph.ExpansionLevel == 0) {
        return;
    }
    picture6_->move(ContainerLeftForValue(hscroll_->minimum(), hscroll_->maximum(), value),
                    picture6_->y());
}

void SpectrumWindow::SetMultGlobalControlsVisible(bool visible) {
    multGlobalLabel_->setVisible(visible);
    multGlobalBox_->setVisible(visible);
    command18_->setVisible(visible);
}

void SpectrumWindow::SetMultGlobalBoxText(const QString& text) {
    multGlobalBox_->setText(text);
}

void SpectrumWindow::LimpF() {
    for (PictureBox* p : {picture1_, picture7_, picture2_, picture6_, picture11_, picture12_,
                          picture4_, picture8_}) {
        p->Clear();
    }
}

void SpectrumWindow::ShowReadingProgress(int value, int maximum) {
    if (!readingPanel_->isVisible()) {
        progressBar_->setRange(0, maximum);
        progressBar_->setValue(0);
        readingPanel_->show();
        readingPanel_->raise();
        QCoreApplication::processEvents();
    }
    progressBar_->setValue(value);
}

void SpectrumWindow::ShowSpectrumTexts() {
    const Spectrum& s = state_.spectrum;
    setWindowTitle(FromFile(s.Caption));
    pointCountLabel_->setText(FromFile(s.PointCountLabel));
    firstPointLabel_->setText(FromFile(s.FirstPointLabel));
    intervalLabel_->setText(FromFile(s.IntervalLabel));
    for (std::size_t k = 0; k < label14_.size(); ++k) {
        label14_[k]->setText(FromFile(s.Label14[k]));
        if (k > 0) {
            label14_[k]->adjustSize();
        }
    }
    headerList_->clear();
    for (const std::string& line : s.HeaderList) {
        headerList_->addItem(FromFile(line));
    }
    dataTextBox_->SetText(ExportTextOf(s, ExportText::StoredY));
    diagnosticList_->clear();
    for (const std::string& line : s.DiagnosticList) {
        diagnosticList_->addItem(FromFile(line));
    }
}

bool SpectrumWindow::OpenFile(FileFormat format, const std::string& path,
                              const std::string& title) {
    LimpF();
    ReadRequest request;
    request.fileTitle = title;
    request.decimalSeparator = DecimalSeparator();
    if (format == FileFormat::Sp) {
        request.progress = [this](int value, int maximum) { ShowReadingProgress(value, maximum); };
    }
    ReadOutcome outcome;
    try {
        outcome = ReadSpectrumFile(format, path, request, state_.spectrum);
    } catch (const std::exception&) {
        state_.spectrum.OpenFailed = true;
        outcome = ReadOutcome::Failure("");
    }
    readingPanel_->hide();
    ShowSpectrumTexts();
    emit spectrumReplaced();
    if (!outcome.ok || state_.spectrum.OpenFailed) {
        state_.spectrum.OpenFailed = false;
        if (QApplication::overrideCursor() != nullptr) {
            QApplication::restoreOverrideCursor();
        }
        if (!outcome.message.empty()) {
            prompts_.Message(window(), QMessageBox::Critical, kReadFailureTitle,
                             FromFile(outcome.message), QMessageBox::Ok);
        }
        LimpF();
        return false;
    }
    Redraw();
    return true;
}

int SpectrumWindow::Redraw() {
    const int code = GraphIr4();
    if (code != 0 && code != kRedrawNoSpectrum) {
        prompts_.Message(window(), QMessageBox::Critical, kRedrawFailureTitle,
                         RedrawErrorText(code, lastRedrawError_), QMessageBox::Ok);
    }
    return code;
}

int SpectrumWindow::GraphIr4() {
    Spectrum& s = state_.spectrum;
    if (s.PointCount <= 0) {
        // Nothing is loaded (a failed read leaves no points): the areas stay
        // empty and there is nothing to report.
        LimpF();
        return kRedrawNoSpectrum;
    }
    GraphState& g = state_.graph;
    const DisplaySettings& settings = state_.settings;
    Graph graph(s, settings, g);
    lastRedrawError_.clear();

    // 1. The plot's inner size and place, and the borders between the
    // background and the plot.
    const int w = picture1_->InnerWidth();
    const int h = picture1_->InnerHeight();
    const int t = picture1_->y();
    const int l = picture1_->x();
    const int b = (picture2_->height() - picture2_->InnerHeight()) / 2 +
                  (picture6_->height() - picture6_->InnerHeight()) / 2;
    g.PlotOuterHeight = picture1_->height();
    g.DecimalSeparator = DecimalSeparator();

    // 2. Grid colours from the hidden labels.
    g.MinorGridColour = BackgroundOf(label5_);
    g.MajorGridColour = BackgroundOf(label4_);

    // The Y range, the peak search of a newly read file, the mapping and the
    // label layout: the same preparation as the command-line companion's. The
    // layout only computes the label boxes, so it may come before the drawing.
    GraphOutcome outcome = graph.PrepareRedraw(w, h);
    if (outcome.ok) {
        outcome = RunGuarded([&] {
            // The plot's top edge on the background.
            const int yt = picture6_->y() + b + picture2_->y() + t;

            // The Y scales along the frame's edges, with their titles.
            picture7_->Clear();
            graph.DrawScales(picture7_->Dc(), picture2_->x(), picture2_->width() - 2, yt, h, 0,
                             false, true, false, true, 0);
            picture7_->Refresh();

            // The X scales on the strips that move with the plot, and the axis
            // titles.
            picture11_->Clear();
            graph.DrawScales(picture11_->Dc(), 10, w, 0, 0, 0, true, false, false, false, 0);
            picture11_->Refresh();
            picture12_->Clear();
            graph.DrawScales(picture12_->Dc(), 10, w, picture12_->height(), 0, 0, false, false,
                             true, false, 0);
            picture12_->Refresh();
            picture4_->Clear();
            graph.DrawScales(picture4_->Dc(), 0, picture4_->width(), 0, -16, 0, false, false, false,
                             false, 2);
            picture4_->Refresh();
            picture8_->Clear();
            graph.DrawScales(picture8_->Dc(), 0, picture8_->width(), 30, 0, 0, false, false, false,
                             false, 1);
            picture8_->Refresh();

            // Grid and trace.
            picture1_->Clear();
            ImageSurface& plot = picture1_->Dc();
            graph.DrawGrid(plot, 0, w, 0, h);
            graph.DrawTrace(plot, 0, w, 0, h, kScreenTraceColour);

            // The frame: top and left edges on the plot, bottom and right
            // edges on the container, and the bottom line on the scale strip.
            plot.MoveTo(0, 0);
            plot.LineTo(w, 0);
            plot.MoveTo(0, 0);
            plot.LineTo(0, h);
            picture6_->Clear();
            ImageSurface& container = picture6_->Dc();
            container.MoveTo(l, t + h);
            container.LineTo(l + w, t + h);
            container.LineTo(l + w, t);
            picture6_->Refresh();
            ImageSurface& strip = picture11_->Dc();
            strip.MoveTo(10, 0);
            strip.LineTo(w + 10, 0);
            picture11_->Refresh();

            // The peak labels, in the boxes laid out above.
            graph.DrawPeakLabels(plot, 0, 0, BackgroundOf(label18_));
            picture1_->Refresh();
        });
    }
    if (!outcome.ok) {
        lastRedrawError_ = outcome.message;
        return RedrawErrorOf(outcome.failure);
    }

    // From here the cursor readout follows the mouse.
    s.Loading = false;
    return 0;
}

}  // namespace halvorn
