// The copy-preview window (FormCopy, "Copy Preview"): the spectrum window's
// graph composed as a figure with its sample labels, frame and credit, whose
// elements can be switched off one by one and which can be drawn in black and
// white. From here the figure goes to the clipboard (as an enhanced metafile
// with an SVG and an image beside it), to the printer, or to a file.
//
// The window is opened by ShowAndDraw. Closing it unloads it: the next opening
// lays it out again with every element on and colour drawing.
#pragma once

#include <QMainWindow>

#include <array>
#include <functional>
#include <optional>

#include "graph/figure.h"
#include "output/figure_transfer.h"
#include "window/viewer_state.h"

class QAction;
class QPushButton;
class QPrinter;

namespace halvorn {

class PictureBox;
class Prompts;

// The window's margin around the figure and the width it is centred on.
inline constexpr int kPreviewMargin = 12;
inline constexpr int kPreviewCentreWidth = 792;

// The seven toggle buttons (Command1..Command7) and their captions: the one
// shown while the switch is on, and the one shown while it is off.
struct PreviewToggle {
    const char* name;
    const char* captionWhenOn;
    const char* captionWhenOff;
    bool FigureSwitches::*flag;
};
inline constexpr int kPreviewToggleCount = 7;
inline constexpr int kColourToggle = 6;
extern const std::array<PreviewToggle, kPreviewToggleCount> kPreviewToggles;

// The figure's size for the spectrum window's current graph: 747 x 456 at
// full height, otherwise the graph panel's height + 7.
FigureGeometry PreviewGeometry(const ViewerState& state);

class CopyPreviewWindow : public QMainWindow {
    Q_OBJECT
  public:
    CopyPreviewWindow(ViewerState& state, Prompts& prompts, QWidget* parent = nullptr);

    // What the opening commands do after the gating step: show the window
    // modelessly (laid out afresh when it was closed), clear the preview and
    // draw the figure.
    void ShowAndDraw();
    // Clears the preview and draws the figure on it.
    void StartFigure();
    // The window became the active one: peak labels lose their background.
    void Activated();

    // Whether the window is loaded (opened and not closed since).
    bool IsLoaded() const { return loaded_; }

    // Button and menu handlers, public so that tests can run them as a click
    // would.
    void ToggleClick(int index);  // 0..6: Command1..Command7
    void CopyClick();
    void PrintClick();
    void SaveFigureAsClick();
    void CloseClick();

    const FigureSwitches& Switches() const { return switches_; }
    const FigureGeometry& Geometry() const { return geometry_; }
    // The figure as it is drawn now: geometry, switches, colours and labels.
    FigureState Figure() const;

    PictureBox* FigureSurface() const { return picture1_; }
    PictureBox* Panel() const { return picture2_; }
    QPushButton* ToggleButton(int index) const { return toggles_[static_cast<std::size_t>(index)]; }

    // Whether a printer is installed; the system's answer unless replaced.
    std::function<bool()> printerInstalled;

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildMenus();
    void BuildButtons();
    void Load();
    void ShowCaptions();
    void DrawFigure();
    std::optional<MetafileRecording> RecordForTransfer();
    // Prints on a printer that is already set up; tells the user on failure.
    void PrintOn(QPrinter& printer, Paper paper, const QString& pdfPath);

    ViewerState& state_;
    Prompts& prompts_;
    bool loaded_ = false;
    FigureGeometry geometry_;
    FigureSwitches switches_;
    bool paperLetter_ = false;

    PictureBox* picture2_ = nullptr;  // the panel around the figure
    PictureBox* picture1_ = nullptr;  // the figure
    std::array<QPushButton*, kPreviewToggleCount> toggles_{};
    QPushButton* copyButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

}  // namespace halvorn
