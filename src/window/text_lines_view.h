// A read-only list of the lines of a long text, such as the "Data (y values)"
// box with one stored ordinate per line. The lines are found once when the
// text is set and drawn only as they scroll into view, so a 32767-line text
// shows at once.
#pragma once

#include <QAbstractListModel>
#include <QListView>

#include <cstdint>
#include <string>
#include <vector>

namespace halvorn {

class TextLinesModel : public QAbstractListModel {
    Q_OBJECT
  public:
    using QAbstractListModel::QAbstractListModel;

    // The text's bytes (Latin-1), lines ended by CR LF or LF; a last line
    // without an end counts too.
    void SetText(const std::string& text);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  private:
    std::string text_;
    // Start of each line in text_, and one more entry: the end of the last.
    std::vector<std::size_t> starts_;
};

class TextLinesView : public QListView {
    Q_OBJECT
  public:
    explicit TextLinesView(QWidget* parent = nullptr);

    void SetText(const std::string& text) { model_->SetText(text); }
    // The lines joined by LF, as a text box would give them.
    QString PlainText() const;

  private:
    TextLinesModel* model_;
};

}  // namespace halvorn
