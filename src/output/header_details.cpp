#include "output/header_details.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVBoxLayout>

#include <optional>
#include <string>

#include "core/character_set.h"
#include "core/header_lines.h"
#include "core/rtf_text.h"

namespace halvorn {

namespace {

// The description files are a few kilobytes; anything far larger is not one.
constexpr qint64 kMaxDescriptionBytes = 4 * 1024 * 1024;

const char* const kOpenedFileCaption = "Header of the currently opened file";
const char* const kDescriptionCaption = "Header of a Spectral Data File (From RX I FT-IR Manual)";

QString NoteHtml(const QString& text) {
    return QStringLiteral("<p style=\"color:#606060;\"><i>%1</i></p>").arg(text.toHtmlEscaped());
}

QTextEdit* RichTextBox(const char* name, QWidget* parent) {
    auto* box = new QTextEdit(parent);
    box->setObjectName(name);
    box->setAccessibleDescription(name);
    box->setReadOnly(true);
    box->setUndoRedoEnabled(false);
    return box;
}

QLabel* Caption(const char* name, const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(name);
    label->setAccessibleDescription(name);
    return label;
}

}  // namespace

QString NumberedHeaderDisplayText(const std::vector<std::string>& headerList) {
    const std::string text = NumberedHeaderText(headerList);
    QString shown = QString::fromStdString(ShownText(text));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (shown.endsWith(QLatin1Char('\n'))) {
        shown.chop(1);  // the last line's end opens no further line
    }
    return shown;
}

QString DescriptionFileHtml(const QString& folder, const QString& fileName) {
    const QString path = QDir(folder).filePath(fileName);
    const QFileInfo info(path);
    if (!info.exists()) {
        return NoteHtml(QStringLiteral("(%1 was not found beside the program)").arg(fileName));
    }
    const QString unreadable = QStringLiteral("(%1 could not be read)").arg(fileName);
    QFile file(path);
    if (!info.isFile() || info.size() > kMaxDescriptionBytes || !file.open(QIODevice::ReadOnly)) {
        return NoteHtml(unreadable);
    }
    const QByteArray bytes = file.read(kMaxDescriptionBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxDescriptionBytes) {
        return NoteHtml(unreadable);
    }
    const std::optional<RtfDocument> document =
        ParseRtf(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!document) {
        return NoteHtml(unreadable);
    }
    return QString::fromStdString(RtfToHtml(*document));
}

HeaderDetailsWindow::HeaderDetailsWindow(const ViewerState& state, const HeaderMenuItems& items,
                                         QWidget* parent)
    : QWidget(parent, Qt::Window), detailsEntry_(items.detailsEntry) {
    setObjectName("FormHeader");
    setWindowTitle(QStringLiteral("File Header Details"));
    setAttribute(Qt::WA_DeleteOnClose);
    for (QAction* action : items.disabledWhileShown) {
        disabledWhileShown_.emplace_back(action);
    }

    title_ = RichTextBox("RichTextBox1", this);
    title_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    title_->setFixedHeight(72);

    lines_ = new QPlainTextEdit(this);
    lines_->setObjectName("RText2");
    lines_->setAccessibleDescription("RText2");
    lines_->setReadOnly(true);
    lines_->setUndoRedoEnabled(false);
    lines_->setLineWrapMode(QPlainTextEdit::NoWrap);
    lines_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    description_ = RichTextBox("RText1", this);

    auto* left = new QVBoxLayout;
    left->addWidget(Caption("Label1", kOpenedFileCaption, this));
    left->addWidget(lines_);
    auto* right = new QVBoxLayout;
    right->addWidget(Caption("Label2", kDescriptionCaption, this));
    right->addWidget(description_);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 2);
    columns->addLayout(right, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addLayout(columns, 1);
    resize(960, 640);

    // The load: the numbered lines of the loaded file, then the two files.
    lines_->setPlainText(NumberedHeaderDisplayText(state.spectrum.HeaderList));
    const QString folder = QFile::decodeName(state.spectrum.ProgramFolder.c_str());
    description_->setHtml(DescriptionFileHtml(folder, QString::fromLatin1(kHeaderDescriptionFile)));
    title_->setHtml(DescriptionFileHtml(folder, QString::fromLatin1(kHeaderTitleFile)));

    SetEntriesEnabled(false);
    if (detailsEntry_) {
        detailsEntry_->setVisible(false);
    }
}

HeaderDetailsWindow::~HeaderDetailsWindow() {
    Unload();
}

void HeaderDetailsWindow::SetEntriesEnabled(bool enabled) {
    for (const QPointer<QAction>& action : disabledWhileShown_) {
        if (action) {
            action->setEnabled(enabled);
        }
    }
}

void HeaderDetailsWindow::Unload() {
    SetEntriesEnabled(true);
    if (detailsEntry_) {
        detailsEntry_->setVisible(true);
    }
}

bool HeaderDetailsWindow::event(QEvent* event) {
    if (!closed_) {
        if (event->type() == QEvent::WindowActivate) {
            SetEntriesEnabled(false);
        } else if (event->type() == QEvent::WindowDeactivate) {
            SetEntriesEnabled(true);
        }
    }
    return QWidget::event(event);
}

void HeaderDetailsWindow::closeEvent(QCloseEvent* event) {
    closed_ = true;
    Unload();
    QWidget::closeEvent(event);
}

HeaderDetailsHost::HeaderDetailsHost(const ViewerState& state, HeaderMenuItems items,
                                     QWidget* parentWindow)
    : QObject(parentWindow), state_(state), items_(std::move(items)), parentWindow_(parentWindow) {}

HeaderDetailsHost::~HeaderDetailsHost() {
    delete window_.data();
}

void HeaderDetailsHost::Show() {
    if (!IsOpen()) {
        window_ = new HeaderDetailsWindow(state_, items_, parentWindow_.data());
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void HeaderDetailsHost::Close() {
    if (IsOpen()) {
        window_->close();
    }
    window_ = nullptr;  // a closed window deletes itself
}

bool HeaderDetailsHost::IsOpen() const {
    return window_ && !window_->IsClosed();
}

HeaderDetailsWindow* HeaderDetailsHost::Window() const {
    return IsOpen() ? window_.data() : nullptr;
}

}  // namespace halvorn
