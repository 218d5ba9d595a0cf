// The paper dialog (FormPaper): A4 or Letter for the printed figure. A4 is
// selected each time it opens. "OK" accepts with the chosen paper; "Cancel
// Printing" and the window's close box both reject, so nothing is printed.
#pragma once

#include <QDialog>

#include "output/figure_transfer.h"

class QPushButton;
class QRadioButton;

namespace halvorn {

class PaperDialog : public QDialog {
    Q_OBJECT
  public:
    explicit PaperDialog(QWidget* parent = nullptr);

    // The paper of the selected option.
    Paper Choice() const;

    QRadioButton* A4Option() const { return a4_; }
    QRadioButton* LetterOption() const { return letter_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

  private:
    QRadioButton* a4_ = nullptr;
    QRadioButton* letter_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace halvorn
