// The limits dialog (FormLimits, "Input Limits for Expansion"): the user
// types the left and right ends of the range to show, in cm-1 or in
// micrometres. The arithmetic lives in LimitsDialogModel; this is its window.
#pragma once

#include <QDialog>

#include <functional>

#include "core/record.h"
#include "core/settings.h"
#include "interaction/limits.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace halvorn {

class Prompts;

class FormLimits : public QDialog {
    Q_OBJECT
  public:
    // redraw draws the spectrum window again after the range changed;
    // enableExpand enables its "*2" button.
    FormLimits(Spectrum& spectrum, const DisplaySettings& settings, Prompts& prompts,
               std::function<void()> redraw, std::function<void()> enableExpand,
               QWidget* parent = nullptr);

    // The buttons' actions, as a click runs them.
    void OkClick();
    void CancelClick();
    void RestoreClick();

    // Escape and the window's close button act as Cancel.
    void reject() override;

    QLineEdit* Text1() const { return text1_; }
    QLineEdit* Text2() const { return text2_; }
    QRadioButton* Option1() const { return option1_; }
    QRadioButton* Option2() const { return option2_; }
    const LimitsDialogModel& Model() const { return model_; }

  private:
    void OptionSelected(bool micrometres);
    // The boxes into the model, and the model back into the boxes and the
    // option buttons.
    void TakeTexts();
    void ShowModel();
    void ShowError();

    Spectrum& spectrum_;
    Prompts& prompts_;
    std::function<void()> redraw_;
    std::function<void()> enableExpand_;
    LimitsDialogModel model_;

    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QRadioButton* option1_ = nullptr;
    QRadioButton* option2_ = nullptr;
};

}  // namespace halvorn
