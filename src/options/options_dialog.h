// The "Graph Options" dialog (FormOptions): five framed groups of option
// buttons, one per display preference, and OK, Cancel and Apply.
//
// Apply takes the selected buttons into the settings and saves them; OK is
// Apply and close; Cancel puts back the values held when the dialog opened and,
// when Apply ran in between, saves those again. The spectrum window is not
// redrawn; the values take effect at its next redraw.
#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <vector>

#include "core/settings.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace halvorn {

class OptionsDialog : public QDialog {
    Q_OBJECT
  public:
    // save writes the settings file; it tells the user itself when it fails.
    OptionsDialog(DisplaySettings& settings, std::function<void()> save, QWidget* parent = nullptr);

    // The groups in file order: "Y Scale", "For X Scale Linear in Wavenumbers",
    // "Graph Grid and Scales", "Y Grid Lines", "X Scale".
    static constexpr int kGroupCount = 5;

    // The option button of a group that stands for a value.
    QRadioButton* Option(int group, int value) const;
    QGroupBox* Frame(int group) const { return frames_[static_cast<std::size_t>(group)]; }
    bool Applied() const { return applied_; }

    void ApplyClick();
    void OkClick();
    void CancelClick();

    // Closing the dialog by its window button counts as Cancel.
    void reject() override;

  private:
    void SelectValues(const DisplaySettings& values);
    void SetPreferenceGroupsEnabled(bool enabled);
    std::int16_t SelectedValue(int group) const;

    DisplaySettings& settings_;
    std::function<void()> save_;
    DisplaySettings saved_;
    bool applied_ = false;
    bool closing_ = false;
    std::array<QGroupBox*, kGroupCount> frames_{};
    // Per group, the buttons indexed by the value they stand for.
    std::array<std::vector<QRadioButton*>, kGroupCount> options_{};
};

}  // namespace halvorn
