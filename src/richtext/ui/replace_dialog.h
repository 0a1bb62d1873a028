#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace hinagiku::richtext::ui {

class TextFinder;

// The replace dialog of the rich-text windows: find always from the start,
// replace one occurrence, or replace all in one pass; no case, word or
// direction choices.
class ReplaceDialog : public QDialog {
    Q_OBJECT

  public:
    ReplaceDialog(TextFinder& finder, QWidget* parent);

    void open() override;
    QLineEdit* textField() const { return text_; }
    QLineEdit* replacementField() const { return replacement_; }

    // The buttons. Find beeps when there is nothing; replace and
    // replace-all close the dialog when done.
    bool find();
    bool replace();
    int replaceAll();

  signals:
    void replaced();  // the text changed

  private:
    TextFinder& finder_;
    QLineEdit* text_;
    QLineEdit* replacement_;
};

}  // namespace hinagiku::richtext::ui
