#include "window/text_lines_view.h"

namespace halvorn {

void TextLinesModel::SetText(const std::string& text) {
    beginResetModel();
    text_ = text;
    starts_.clear();
    std::size_t start = 0;
    while (start < text_.size()) {
        starts_.push_back(start);
        const std::size_t end = text_.find('\n', start);
        start = end == std::string::npos ? text_.size() : end + 1;
    }
    starts_.push_back(text_.size());
    endResetModel();
}

int TextLinesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || starts_.empty() ? 0 : static_cast<int>(starts_.size() - 1);
}

QVariant TextLinesModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const auto row = static_cast<std::size_t>(index.row());
    std::size_t end = starts_[row + 1];
    while (end > starts_[row] && (text_[end - 1] == '\n' || text_[end - 1] == '\r')) {
        --end;
    }
    return QString::fromLatin1(text_.data() + starts_[row],
                               static_cast<qsizetype>(end - starts_[row]));
}

TextLinesView::TextLinesView(QWidget* parent)
    : QListView(parent), model_(new TextLinesModel(this)) {
    setModel(model_);
    // Every line has the same height, so scrolling never measures them all.
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
}

QString TextLinesView::PlainText() const {
    QStringList lines;
    for (int row = 0; row < model_->rowCount(); ++row) {
        lines << model_->data(model_->index(row)).toString();
    }
    return lines.join('\n');
}

}  // namespace halvorn
