#include "options/options_dialog.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace halvorn {

namespace {

struct GroupText {
    const char* name;
    const char* frame;
    // Captions by value, in the order the buttons stand in the frame.
    std::vector<std::pair<int, const char*>> options;
};

const GroupText kGroups[OptionsDialog::kGroupCount] = {
    {"FixedYRange",
     "Y Scale",
     {{1, "Always 0-100 % Transmittance, and 0-infinite Absorbance"},
      {0, "Adjust top/bottom limits to Graph Data"}}},
    {"WavenumberSections",
     "For X Scale Linear in Wavenumbers",
     {{2, "3 Sections"},
      {1, "Fully linear"},
      {0, "2 Sections, left-compressed and right-stretched"}}},
    {"PreferenceSource",
     "Graph Grid and Scales",
     {{1, "Choose personal preferences"}, {0, "Always according to the file"}}},
    {"YGridMode", "Y Grid Lines", {{1, "Absorbance"}, {0, "% Transmittance"}}},
    {"XScaleKind", "X Scale", {{1, "Linear in Wavelenght"}, {0, "Linear in Wavenumbers"}}},
};

std::int16_t& Field(DisplaySettings& s, int group) {
    switch (group) {
        case 0:
            return s.FixedYRange;
        case 1:
            return s.WavenumberSections;
        case 2:
            return s.PreferenceSource;
        case 3:
            return s.YGridMode;
        default:
            return s.XScaleKind;
    }
}

}  // namespace

OptionsDialog::OptionsDialog(DisplaySettings& settings, std::function<void()> save, QWidget* parent)
    : QDialog(parent), settings_(settings), save_(std::move(save)), saved_(settings) {
    setObjectName("FormOptions");
    setWindowTitle("Graph Options");
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    for (int g = 0; g < kGroupCount; ++g) {
        const GroupText& text = kGroups[g];
        auto* frame = new QGroupBox(text.frame, this);
        frame->setObjectName(QString("Frame") + text.name);
        auto* frameLayout = new QVBoxLayout(frame);
        std::vector<QRadioButton*>& buttons = options_[static_cast<std::size_t>(g)];
        buttons.assign(text.options.size(), nullptr);
        for (const auto& [value, caption] : text.options) {
            auto* option = new QRadioButton(caption, frame);
            option->setObjectName(QString("Option%1(%2)").arg(text.name).arg(value));
            frameLayout->addWidget(option);
            buttons[static_cast<std::size_t>(value)] = option;
        }
        frames_[static_cast<std::size_t>(g)] = frame;
        layout->addWidget(frame);
    }
    connect(Option(2, 0), &QRadioButton::clicked, this,
            [this] { SetPreferenceGroupsEnabled(false); });
    connect(Option(2, 1), &QRadioButton::clicked, this,
            [this] { SetPreferenceGroupsEnabled(true); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (const char* caption : {"OK", "Cancel", "Apply"}) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString("Command") + caption);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        if (caption[0] == 'O') {
            b->setDefault(true);
            connect(b, &QPushButton::clicked, this, &OptionsDialog::OkClick);
        } else if (caption[0] == 'C') {
            connect(b, &QPushButton::clicked, this, &OptionsDialog::CancelClick);
        } else {
            connect(b, &QPushButton::clicked, this, &OptionsDialog::ApplyClick);
        }
    }
    layout->addLayout(buttons);

    // Load: the buttons of the current values, a copy of them for Cancel, and
    // the grid and scale groups enabled only for personal preferences.
    SelectValues(settings_);
    for (QRadioButton* b : options_[3]) {
        b->setEnabled(settings_.PreferenceSource != 0);
    }
    for (QRadioButton* b : options_[4]) {
        b->setEnabled(settings_.PreferenceSource != 0);
    }
    applied_ = false;

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move((area.width() - width()) / 2, (area.height() - height()) / 2);
    }
}

QRadioButton* OptionsDialog::Option(int group, int value) const {
    const std::vector<QRadioButton*>& buttons = options_[static_cast<std::size_t>(group)];
    if (value < 0 || value >= static_cast<int>(buttons.size())) {
        return nullptr;
    }
    return buttons[static_cast<std::size_t>(value)];
}

void OptionsDialog::SelectValues(const DisplaySettings& values) {
    DisplaySettings copy = values;
    for (int g = 0; g < kGroupCount; ++g) {
        if (QRadioButton* b = Option(g, Field(copy, g))) {
            b->setChecked(true);
        }
    }
}

std::int16_t OptionsDialog::SelectedValue(int group) const {
    const std::vector<QRadioButton*>& buttons = options_[static_cast<std::size_t>(group)];
    for (std::size_t v = 0; v < buttons.size(); ++v) {
        if (buttons[v]->isChecked()) {
            return static_cast<std::int16_t>(v);
        }
    }
    return 0;
}

void OptionsDialog::SetPreferenceGroupsEnabled(bool enabled) {
    for (int g : {3, 4}) {
        frames_[static_cast<std::size_t>(g)]->setEnabled(enabled);
        for (QRadioButton* b : options_[static_cast<std::size_t>(g)]) {
            b->setEnabled(enabled);
        }
    }
}

void OptionsDialog::ApplyClick() {
    applied_ = true;
    for (int g = 0; g < kGroupCount; ++g) {
        Field(settings_, g) = SelectedValue(g);
    }
    if (save_) {
        save_();
    }
}

void OptionsDialog::OkClick() {
    ApplyClick();
    closing_ = true;
    accept();
}

void OptionsDialog::CancelClick() {
    settings_ = saved_;
    if (applied_) {
        SelectValues(saved_);
        ApplyClick();
    }
    closing_ = true;
    QDialog::reject();
}

void OptionsDialog::reject() {
    if (closing_) {
        QDialog::reject();
        return;
    }
    CancelClick();
}

}  // namespace halvorn
