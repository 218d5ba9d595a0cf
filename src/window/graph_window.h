// The spectrum window (Form5): the graph on its nested drawing areas, the
// graph-setting buttons, the height options, expansion and scrolling, the
// information labels, the header line list, the sample labels and the tools.
//
// GraphIr4 is the one redraw: every command that changes what is shown ends by
// calling it (through Redraw, which tells the user when it cannot be done).
#pragma once

#include <QColor>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <string>

#include "core/xscale_mode.h"
#include "graph/graph_fault.h"
#include "import/readers.h"
#include "interaction/readout.h"
#include "window/graph_geometry.h"
#include "window/viewer_state.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace halvorn {

class PictureBox;
class TextLinesView;
class PlotPicker;
class Prompts;

// Button colours, red in the low byte as everywhere in the program.
inline constexpr Rgb kActiveSettingColour = 0xFFFFC0;    // the active graph setting
inline constexpr Rgb kInactiveSettingColour = 0xC0C0C0;  // the others
inline constexpr Rgb kActiveModeColour = 0xC0C0FF;       // "End Mark", "End Move"

// Error values of GraphIr4 besides 0 (drawn). The numbers are those of the
// run-time errors they stand for.
inline constexpr int kRedrawNoSpectrum = -1;  // nothing loaded: empty areas, no message
inline constexpr int kRedrawInvalidCall = 5;
inline constexpr int kRedrawOverflow = 6;
inline constexpr int kRedrawDivisionByZero = 11;

// The message box shown when a redraw could not be done: its title, and its
// text for an error value and the engine's own words (may be empty).
inline constexpr const char* kRedrawFailureTitle = "Cannot draw the graph!";
QString RedrawErrorText(int code, const std::string& detail);
// The error value of a failed redraw step.
int RedrawErrorOf(GraphFailure failure);

QColor ColourOf(Rgb rgb);
Rgb RgbOf(const QColor& colour);

class SpectrumWindow : public QWidget {
    Q_OBJECT
  public:
    // loadSettings reads the settings file into state.settings.
    SpectrumWindow(ViewerState& state, Prompts& prompts, std::function<void()> loadSettings,
                   QWidget* parent = nullptr);

    // The window's load step: settings, stride, sample title, the areas'
    // places, Loading, and the highlighted graph-setting buttons.
    void Load();

    // The redraw. Returns 0 when drawn, otherwise an error value; what was
    // drawn before the failing step stays and Loading stays True.
    int GraphIr4();
    // GraphIr4, with a message box when the graph cannot be drawn.
    int Redraw();

    // Clears the plot and the seven areas around it.
    void LimpF();

    // The open routines: read the file with the format's reader, show the
    // result and redraw. title is the file's name without its folder (empty
    // for the demonstration spectrum). True when the file was read.
    bool OpenFile(FileFormat format, const std::string& path, const std::string& title);

    // Ends peak marking and label moving through their buttons; with
    // moveFirst the label-moving check comes first.
    void EndPendingModes(bool moveFirst = false);

    void SetMultGlobalControlsVisible(bool visible);
    void SetMultGlobalBoxText(const QString& text);

    // Button and option handlers, public so that the main window and tests
    // can run them as a click would.
    void ScaleButtonClick(int index);          // 0..5: Command7..Command12
    void XScaleButtonClick(XScaleMode mode);   // Command7..Command10
    void YGridButtonClick(std::int16_t mode);  // Command11 (1), Command12 (0)
    void Command5Click();                      // "IR4"
    void ExpandClick();                        // "*2"
    void ShrinkClick();                        // "/2"
    void HeightOptionClick(int index);
    void ScrollChange(int value);
    void ScrollAdjust();
    void PeakMarkClick();    // Command3
    void MoveLabelsClick();  // Command1

    // Highlight colour of a graph-setting button (Command7..Command12).
    Rgb ButtonColour(int index) const;

    // The window became the active one: peak labels get their background
    // again and the keyboard goes to the graph.
    void Activated();

    PictureBox* Picture(int number) const;  // 1, 2, 4, 6, 7, 8, 11, 12
    QFrame* Line6() const { return line6_; }
    QScrollBar* HScroll1() const { return hscroll_; }
    PlotPicker* Picker() const { return picker_; }
    QLabel* ExpansionFactorLabel() const { return factorLabel_; }

  signals:
    // A read replaced the spectrum (successfully or not).
    void spectrumReplaced();

    // ---- Window tools (graph_window_tools.cpp): the limits dialog, the
    // sample labels and the header editor, the header details and copy-preview
    // triggers, the memory panel, the trace stride and the JCAMP-DX multiplier.
  public:
    void SelClick();               // Command14 "Sel": the limits dialog
    void CopyPrintClick();         // Command4 "Cpy/Prt"
    void FileDetailsClick();       // Command13 "File Details"
    void HeaderListDoubleClick();  // a double click on HeaderList
    void MemClick();               // Command15 "Mem"
    void StepPtClick();            // Command16 "StepPt"
    void RestartClick();           // Command18 "Restart", and Enter in MultGlobalBox
    // The header editor, filled from the sample labels (a double click on any
    // of them opens it); its "OK" writes their texts and visibility back.
    void EditSampleLabels();
    QWidget* Picture3() const { return memoryPanel_; }  // the memory panel

  signals:
    // The header details window is asked for ("File Details", a double click
    // on the header list).
    void headerDetailsRequested();
    // The copy-preview window is asked for ("Cpy/Prt").
    void copyPreviewRequested();

  private:
    void BuildTools();
    QWidget* memoryPanel_ = nullptr;
    // ---- end of the window tools

  protected:
    bool event(QEvent* event) override;
    // "+" and "-" on the graph run the expansion buttons "*2" and "/2".
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildGraphAreas();
    void BuildPlotMarkers();
    void ShowReadout(const ReadoutFields& fields);
    void ShowDragFrame(bool visible, const QRectF& frame);
    void BuildButtons();
    void BuildTexts();
    void PlaceGraphAreas();
    void FitPlotCompanions();
    void PlaceBelowGraph();
    void HighlightSettingButtons();
    void SetStatusTips();
    // The place of a mode's button among Command7..Command12.
    static int XScaleButtonIndex(XScaleMode mode);
    static int YGridButtonIndex(std::int16_t mode);
    void PaintSettingButton(int index, Rgb colour);
    void ShowSpectrumTexts();
    void ShowReadingProgress(int value, int maximum);

    ViewerState& state_;
    Prompts& prompts_;
    std::function<void()> loadSettings_;

    PictureBox* picture7_ = nullptr;
    PictureBox* picture2_ = nullptr;
    PictureBox* picture6_ = nullptr;
    PictureBox* picture1_ = nullptr;
    PictureBox* picture11_ = nullptr;
    PictureBox* picture12_ = nullptr;
    PictureBox* picture4_ = nullptr;
    PictureBox* picture8_ = nullptr;
    QFrame* line6_ = nullptr;
    QScrollBar* hscroll_ = nullptr;

    std::array<QPushButton*, 6> settingButtons_{};  // Command7..Command12
    std::array<QRadioButton*, kHeightOptionCount> heightOptions_{};
    QPushButton* command3_ = nullptr;   // "Peak Mark"
    QPushButton* command1_ = nullptr;   // "Move Labels"
    QPushButton* command6_ = nullptr;   // "*2"
    QPushButton* command17_ = nullptr;  // "/2"
    QPushButton* command14_ = nullptr;  // "Sel"
    QLabel* factorLabel_ = nullptr;

    QWidget* sampleLabelPanel_ = nullptr;
    std::array<QLabel*, 7> label14_{};
    QLabel* pointCountLabel_ = nullptr;
    QLabel* firstPointLabel_ = nullptr;
    QLabel* intervalLabel_ = nullptr;
    QListWidget* headerList_ = nullptr;
    TextLinesView* dataTextBox_ = nullptr;
    QListWidget* diagnosticList_ = nullptr;
    QLabel* multGlobalLabel_ = nullptr;
    QLineEdit* multGlobalBox_ = nullptr;
    QPushButton* command18_ = nullptr;  // "Restart"
    QLineEdit* text2_ = nullptr;        // the "StepPt" box
    std::array<QLabel*, 4> label1_{};   // the readout fields
    QFrame* line5_ = nullptr;           // the peak cursor
    QLabel* label19_ = nullptr;         // the floating peak label
    QFrame* shape1_ = nullptr;          // the label drag frame
    PlotPicker* picker_ = nullptr;      // the mouse on the plot

    // Hidden labels whose background colours the redraw reads.
    QLabel* label4_ = nullptr;   // major grid
    QLabel* label5_ = nullptr;   // minor grid
    QLabel* label18_ = nullptr;  // peak labels
    QLabel* label22_ = nullptr;  // peak label background

    QFrame* readingPanel_ = nullptr;
    QProgressBar* progressBar_ = nullptr;

    std::string lastRedrawError_;
    bool moveWarningShown_ = false;
    // Set while the height option that a click selected has been applied by
    // its toggled signal, so that the click does not apply it a second time.
    bool heightAppliedByToggle_ = false;
};

}  // namespace halvorn
