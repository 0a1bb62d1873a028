#pragma once

#include <QLabel>
#include <QMenu>
#include <QPoint>
#include <QWidget>

#include <array>
#include <functional>
#include <string>

#include "platform/settings.h"

namespace hinagiku::mail {

// The result window of a mail check, captioned "pop3": borderless, on top,
// the mail program's icon and one line per account.
class MailResultWindow : public QWidget {
    Q_OBJECT

  public:
    struct Actions {
        std::function<void()> checkMail;     // mailcheckClick
        std::function<void()> startMailer;   // start the mail program (+1 minute)
        std::function<void()> openSettings;  // the mail settings window
    };

    MailResultWindow(platform::Settings& settings, Actions actions, QWidget* parent = nullptr);

    // The three lines, UTF-8; empty lines stay.
    void setTexts(const std::array<std::string, 3>& texts);
    QLabel* line(int index) const { return lines_.at(static_cast<std::size_t>(index)); }
    QLabel* iconBox() const { return icon_; }
    QMenu* contextMenu() const { return menu_; }

    void startMailerAndClose();

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void placeOnScreen();
    void showMailerIcon();

    platform::Settings& settings_;
    Actions actions_;
    QLabel* icon_;
    std::array<QLabel*, 3> lines_{};
    QMenu* menu_;
    QPoint dragOffset_;
    bool dragging_ = false;
};

}  // namespace hinagiku::mail
