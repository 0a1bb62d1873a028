#pragma once

#include <QDialog>

class QLineEdit;

namespace hinagiku::memo {

// The rename window: a small tool window captioned with the current title,
// its field preset to it. "元に戻す｡" puts the old title back; the default
// button closes. However it closes, text() is the new title.
class MemoRenameDialog : public QDialog {
    Q_OBJECT
  public:
    MemoRenameDialog(const QString& title, QWidget* parent = nullptr);
    QString text() const;
    QLineEdit* field() const { return field_; }

  private:
    QString old_;
    QLineEdit* field_;
};

}  // namespace hinagiku::memo
