#include "window/limits_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

#include "window/prompts.h"

namespace halvorn {

namespace {

char LocaleDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 0x80 ? point.at(0).toLatin1() : '.';
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    // Enter belongs to the boxes: no button is the dialog's default.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

}  // namespace

FormLimits::FormLimits(Spectrum& spectrum, const DisplaySettings& settings, Prompts& prompts,
                       std::function<void()> redraw, std::function<void()> enableExpand,
                       QWidget* parent)
    : QDialog(parent),
      spectrum_(spectrum),
      prompts_(prompts),
      redraw_(std::move(redraw)),
      enableExpand_(std::move(enableExpand)) {
    setObjectName("FormLimits");
    setWindowTitle("Input Limits for Expansion");

    text1_ = new QLineEdit(this);
    text1_->setObjectName("Text1");
    text1_->setAccessibleName("Text1");
    text2_ = new QLineEdit(this);
    text2_->setObjectName("Text2");
    text2_->setAccessibleName("Text2");
    auto* left = new QLabel("Left Limit:", this);
    left->setBuddy(text1_);
    auto* right = new QLabel("Right Limit:", this);
    right->setBuddy(text2_);

    auto* units = new QGroupBox("Units", this);
    units->setObjectName("FrameUnits");
    option1_ = new QRadioButton("cm^(-1)", units);
    option1_->setObjectName("Option1");
    option1_->setAccessibleDescription("Option1");
    option2_ = new QRadioButton("micrometers", units);
    option2_->setObjectName("Option2");
    option2_->setAccessibleDescription("Option2");
    auto* unitsLayout = new QVBoxLayout(units);
    unitsLayout->addWidget(option1_);
    unitsLayout->addWidget(option2_);

    QPushButton* ok = MakeButton(this, "Command1", "OK");
    QPushButton* cancel = MakeButton(this, "Command2", "Cancel");
    QPushButton* restore = MakeButton(this, "Command3", "Restore Original Size");

    auto* grid = new QGridLayout(this);
    grid->addWidget(left, 0, 0);
    grid->addWidget(text1_, 0, 1);
    grid->addWidget(right, 1, 0);
    grid->addWidget(text2_, 1, 1);
    grid->addWidget(units, 0, 2, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(restore);
    grid->addLayout(buttons, 2, 0, 1, 3);

    // Load: the current display range in the unit of the scale shown, the
    // whole left limit selected.
    model_.DecimalSeparator = LocaleDecimalSeparator();
    model_.Load(spectrum_, settings);
    ShowModel();
    text1_->setFocus();
    text1_->selectAll();

    // Enter in the left box moves on to the right one; in the right box it
    // acts as OK.
    connect(text1_, &QLineEdit::returnPressed, this, [this] {
        text2_->selectAll();
        text2_->setFocus();
    });
    connect(text2_, &QLineEdit::returnPressed, this, &FormLimits::OkClick);
    // The options react to becoming selected, however that happens; the
    // dialog's own selections are ignored (SettingUnits).
    connect(option1_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            OptionSelected(false);
        }
    });
    connect(option2_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            OptionSelected(true);
        }
    });
    connect(ok, &QPushButton::clicked, this, &FormLimits::OkClick);
    connect(cancel, &QPushButton::clicked, this, &FormLimits::CancelClick);
    connect(restore, &QPushButton::clicked, this, &FormLimits::RestoreClick);
}

void FormLimits::TakeTexts() {
    model_.Text1 = text1_->text().toStdString();
    model_.Text2 = text2_->text().toStdString();
}

void FormLimits::ShowModel() {
    text1_->setText(QString::fromStdString(model_.Text1));
    text2_->setText(QString::fromStdString(model_.Text2));
    model_.SettingUnits = true;
    (model_.MicrometersSelected ? option2_ : option1_)->setChecked(true);
    model_.SettingUnits = false;
}

void FormLimits::ShowError() {
    prompts_.Message(this, QMessageBox::Critical, kLimitsErrorTitle, kLimitsErrorText,
                     QMessageBox::Ok);
}

void FormLimits::OptionSelected(bool micrometres) {
    if (model_.SettingUnits) {
        return;
    }
    TakeTexts();
    const bool failed = micrometres ? model_.SelectMicrometers() : model_.SelectWavenumbers();
    ShowModel();
    if (failed) {
        ShowError();
    }
}

void FormLimits::OkClick() {
    TakeTexts();
    const LimitsOkResult result = model_.Ok(spectrum_, [this] {
        // The boxes show the limits as the question finds them.
        text1_->setText(QString::fromStdString(model_.Text1));
        text2_->setText(QString::fromStdString(model_.Text2));
        return prompts_.Message(this, QMessageBox::NoIcon, kTooShortTitle, kTooShortText,
                                QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    });
    ShowModel();
    if (result.error) {
        ShowError();
        return;
    }
    if (!result.closed) {
        return;  // "No" to the question: the dialog stays open
    }
    if (result.enableExpand) {
        enableExpand_();
    }
    redraw_();
    accept();
}

void FormLimits::CancelClick() {
    if (model_.Cancel(spectrum_)) {
        enableExpand_();
    }
    QDialog::reject();
}

void FormLimits::RestoreClick() {
    model_.Restore(spectrum_);
    enableExpand_();
    redraw_();
    accept();
}

void FormLimits::reject() {
    CancelClick();
}

}  // namespace halvorn
