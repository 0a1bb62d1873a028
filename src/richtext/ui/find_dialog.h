#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace hinagiku::richtext::ui {

class TextFinder;

// The find dialog of the rich-text windows: a text and "次を検索"; no case,
// word or direction choices (the search is case-sensitive, forward).
class FindDialog : public QDialog {
    Q_OBJECT

  public:
    FindDialog(TextFinder& finder, QWidget* parent);

    // Shows the dialog; the search starts again at the first line.
    void open() override;
    QLineEdit* textField() const { return text_; }
    QPushButton* findButton() const { return find_; }
    // Find-next with the dialog's text.
    bool findNext();

  private:
    TextFinder& finder_;
    QLineEdit* text_;
    QPushButton* find_;
};

}  // namespace hinagiku::richtext::ui
