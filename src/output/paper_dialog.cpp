#include "output/paper_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace halvorn {

PaperDialog::PaperDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("FormPaper");
    setWindowTitle("Paper Size");
    setModal(true);

    auto* frame = new QGroupBox("Choose paper size", this);
    frame->setObjectName("Frame1");
    frame->setAccessibleDescription("Frame1");
    a4_ = new QRadioButton("A4 (210 X 297 mm)", frame);
    a4_->setObjectName("Option1");
    a4_->setAccessibleDescription("Option1");
    letter_ =
        new QRadioButton(QString::fromUtf8("Letter (8\u00bd X 11 in.)(215.9 X 279.4 mm)"), frame);
    letter_->setObjectName("Option2");
    letter_->setAccessibleDescription("Option2");
    a4_->setChecked(true);
    auto* options = new QVBoxLayout(frame);
    options->addWidget(a4_);
    options->addWidget(letter_);

    ok_ = new QPushButton("OK", this);
    ok_->setObjectName("Command1");
    ok_->setAccessibleDescription("Command1");
    ok_->setDefault(true);
    cancel_ = new QPushButton("Cancel Printing", this);
    cancel_->setObjectName("Command2");
    cancel_->setAccessibleDescription("Command2");
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
}

Paper PaperDialog::Choice() const {
    return letter_->isChecked() ? Paper::Letter : Paper::A4;
}

}  // namespace halvorn
