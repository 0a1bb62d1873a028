#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>
#include <stdexcept>

class QSystemTrayIcon;
class QWidget;

namespace hinagiku::mainwindow {

// Raised when an icon cannot be placed in the notification area.
class TrayIconError : public std::runtime_error {
  public:
    TrayIconError();
};

// One icon in the notification area, with menus for the left and the right
// button and a click rule that tells a single click from a double click:
// OnClick waits for the double-click time so that a double click fires
// OnDblClick alone.
class TTrayIcon : public QObject {
    Q_OBJECT

  public:
    enum class Button { Left, Right, Middle };
    // The mouse messages the notification area reports for an icon.
    enum class MouseMessage {
        Move,
        LeftDown,
        LeftUp,
        LeftDouble,
        RightDown,
        RightUp,
        MiddleDown,
        MiddleUp
    };

    static constexpr int kMaxIcons = 100;
    static constexpr int kMaxTipLength = 62;

    // `owner` is brought to the front before a menu opens.
    explicit TTrayIcon(QWidget* owner = nullptr);
    ~TTrayIcon() override;

    int id() const { return id_; }

    QIcon icon() const { return icon_; }
    void setIcon(const QIcon& icon);
    QString tipHelp() const { return tip_; }
    void setTipHelp(const QString& tip);
    bool isVisible() const { return visible_; }
    void setVisible(bool visible);
    // Visible and with a picture: the icon is in the notification area.
    bool isShown() const;
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool autoPopup() const { return autoPopup_; }
    void setAutoPopup(bool on) { autoPopup_ = on; }
    QMenu* lbPopupMenu() const { return lbMenu_; }
    void setLbPopupMenu(QMenu* menu) { lbMenu_ = menu; }
    QMenu* rbPopupMenu() const { return rbMenu_; }
    void setRbPopupMenu(QMenu* menu) { rbMenu_ = menu; }

    bool clickPending() const { return clickPending_; }
    // Milliseconds a single click waits for a possible second click.
    int clickDelay() const;

    // Entry for the notification area's mouse reports; `cursor` is the
    // pointer position at that moment.
    void handleMouseMessage(MouseMessage message, QPoint cursor);

  signals:
    void OnClick();
    void OnDblClick();
    void OnMouseDown(hinagiku::mainwindow::TTrayIcon::Button button, QPoint cursor);
    void OnMouseMove(QPoint cursor);
    void OnMouseUp(hinagiku::mainwindow::TTrayIcon::Button button, QPoint cursor);
    // A menu was opened by the icon (AutoPopup).
    void menuOpened(QMenu* menu);

  private:
    void refresh();
    bool connected(void (TTrayIcon::*signal)()) const;
    void popup(QMenu* menu, QPoint cursor);

    int id_;
    QPointer<QWidget> owner_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    QIcon icon_;
    QString tip_ = QStringLiteral("TipHelp");
    bool visible_ = false;
    bool enabled_ = true;
    bool autoPopup_ = true;
    QPointer<QMenu> lbMenu_;
    QPointer<QMenu> rbMenu_;
    bool clickPending_ = false;
    QTimer clickTimer_;
};

}  // namespace hinagiku::mainwindow
