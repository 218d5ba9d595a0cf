// The header editor (Form2): one row for each of the seven sample labels of
// the spectrum window, with its caption, a text box Text1(i) and a "Visible"
// box Check1(i). The dialog only holds the rows; whoever opens it writes them
// back when it closes through "OK" (accepted), and closing it any other way
// changes nothing.
#pragma once

#include <QDialog>

#include <array>

class QCheckBox;
class QLineEdit;

namespace halvorn {

inline constexpr std::array<const char*, 7> kHeaderEditorCaptions = {"Sample identification: ",
                                                                     "Date:",
                                                                     "Operator:",
                                                                     "Sample preparation: ",
                                                                     "Instrument:",
                                                                     "Remarks1:",
                                                                     "Remarks2:"};

class HeaderEditor : public QDialog {
    Q_OBJECT
  public:
    explicit HeaderEditor(QWidget* parent = nullptr);

    void SetRow(int index, const QString& text, bool visible);
    QString RowText(int index) const;
    bool RowVisible(int index) const;

    QLineEdit* Text1(int index) const;
    QCheckBox* Check1(int index) const;

    // Places the editor in the middle of its screen.
    void CentreOnScreen();

  private:
    std::array<QLineEdit*, 7> texts_{};
    std::array<QCheckBox*, 7> checks_{};
};

}  // namespace halvorn
