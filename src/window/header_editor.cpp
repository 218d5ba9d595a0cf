#include "window/header_editor.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace halvorn {

namespace {

std::size_t Row(int index) {
    return static_cast<std::size_t>(index);
}

}  // namespace

HeaderEditor::HeaderEditor(QWidget* parent) : QDialog(parent) {
    setObjectName("Form2");
    setWindowTitle("Header Editor");
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < 7; ++i) {
        auto* caption = new QLabel(kHeaderEditorCaptions[Row(i)], this);
        caption->setObjectName(QString("LabelRow(%1)").arg(i));
        auto* text = new QLineEdit(this);
        text->setObjectName(QString("Text1(%1)").arg(i));
        text->setAccessibleName(text->objectName());
        text->setMinimumWidth(380);
        caption->setBuddy(text);
        auto* check = new QCheckBox("Visible", this);
        check->setObjectName(QString("Check1(%1)").arg(i));
        check->setAccessibleDescription(check->objectName());
        grid->addWidget(caption, i, 0);
        grid->addWidget(text, i, 1);
        grid->addWidget(check, i, 2);
        texts_[Row(i)] = text;
        checks_[Row(i)] = check;
    }
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("Command1");
    grid->addWidget(ok, 7, 1, Qt::AlignHCenter);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void HeaderEditor::SetRow(int index, const QString& text, bool visible) {
    texts_[Row(index)]->setText(text);
    checks_[Row(index)]->setChecked(visible);
}

QString HeaderEditor::RowText(int index) const {
    return texts_[Row(index)]->text();
}

bool HeaderEditor::RowVisible(int index) const {
    return checks_[Row(index)]->isChecked();
}

QLineEdit* HeaderEditor::Text1(int index) const {
    return texts_[Row(index)];
}

QCheckBox* HeaderEditor::Check1(int index) const {
    return checks_[Row(index)];
}

void HeaderEditor::CentreOnScreen() {
    adjustSize();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

}  // namespace halvorn
