#pragma once

#include <QLabel>
#include <QWidget>

namespace hinagiku::core {

// The small notice shown while a long load runs on the user-interface
// thread: no border, always on top, centred, with rounded corners. It shows
// the product name and version and one line set by the caller.
class BusyNotice : public QWidget {
    Q_OBJECT
  public:
    explicit BusyNotice(const QString& text, QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return line_->text(); }

    // Shows the notice and paints it at once (the caller then blocks).
    void showNow();

  private:
    QLabel* line_;
};

}  // namespace hinagiku::core
