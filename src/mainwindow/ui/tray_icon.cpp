#include "mainwindow/ui/tray_icon.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QMetaMethod>
#include <QStyleHints>
#include <QSystemTrayIcon>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace hinagiku::mainwindow {
namespace {

// Ids of the live icons in creation order.
std::vector<int>& idsInUse() {
    static std::vector<int> ids;
    return ids;
}

}  // namespace

TrayIconError::TrayIconError() : std::runtime_error("タスクトレイにアイコンを登録できません。") {}

TTrayIcon::TTrayIcon(QWidget* owner) : QObject(owner), owner_(owner) {
    auto& ids = idsInUse();
    if (static_cast<int>(ids.size()) >= kMaxIcons)
        throw TrayIconError();
    id_ = ids.empty() ? 1 : ids.back() + 1;
    ids.push_back(id_);

    clickTimer_.setSingleShot(true);
    connect(&clickTimer_, &QTimer::timeout, this, [this] {
        if (!clickPending_)
            return;
        clickPending_ = false;
        emit OnClick();
    });

    tray_ = std::make_unique<QSystemTrayIcon>();
    // The desktop reports clicks as activations; turn them back into the
    // button messages the click rule works on.
    connect(tray_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                const QPoint cursor = QCursor::pos();
                switch (reason) {
                    case QSystemTrayIcon::Trigger:
                        handleMouseMessage(MouseMessage::LeftDown, cursor);
                        handleMouseMessage(MouseMessage::LeftUp, cursor);
                        break;
                    case QSystemTrayIcon::DoubleClick:
                        handleMouseMessage(MouseMessage::LeftDouble, cursor);
                        handleMouseMessage(MouseMessage::LeftUp, cursor);
                        break;
                    case QSystemTrayIcon::Context:
                        handleMouseMessage(MouseMessage::RightDown, cursor);
                        handleMouseMessage(MouseMessage::RightUp, cursor);
                        break;
                    case QSystemTrayIcon::MiddleClick:
                        handleMouseMessage(MouseMessage::MiddleDown, cursor);
                        handleMouseMessage(MouseMessage::MiddleUp, cursor);
                        break;
                    case QSystemTrayIcon::Unknown:
                        break;
                }
            });
}

TTrayIcon::~TTrayIcon() {
    tray_->hide();
    auto& ids = idsInUse();
    ids.erase(std::remove(ids.begin(), ids.end(), id_), ids.end());
}

void TTrayIcon::setIcon(const QIcon& icon) {
    icon_ = icon;
    refresh();
}

void TTrayIcon::setTipHelp(const QString& tip) {
    tip_ = tip.left(kMaxTipLength);
    refresh();
}

void TTrayIcon::setVisible(bool visible) {
    visible_ = visible;
    refresh();
}

bool TTrayIcon::isShown() const {
    return visible_ && !icon_.isNull();
}

void TTrayIcon::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (!enabled) {
        clickPending_ = false;
        clickTimer_.stop();
    }
}

int TTrayIcon::clickDelay() const {
    return QGuiApplication::styleHints()->mouseDoubleClickInterval() + 50;
}

void TTrayIcon::refresh() {
    if (!isShown()) {
        tray_->hide();
        return;
    }
    tray_->setIcon(icon_);
    tray_->setToolTip(tip_);
    tray_->show();
}

bool TTrayIcon::connected(void (TTrayIcon::*signal)()) const {
    return isSignalConnected(QMetaMethod::fromSignal(signal));
}

void TTrayIcon::popup(QMenu* menu, QPoint cursor) {
    if (owner_) {
        owner_->raise();
        owner_->activateWindow();
    }
    menu->popup(cursor);
    emit menuOpened(menu);
}

void TTrayIcon::handleMouseMessage(MouseMessage message, QPoint cursor) {
    if (!enabled_)
        return;
    switch (message) {
        case MouseMessage::Move:
            emit OnMouseMove(cursor);
            break;
        case MouseMessage::LeftDown:
            if (autoPopup_ && lbMenu_)
                popup(lbMenu_, cursor);
            else
                emit OnMouseDown(Button::Left, cursor);
            break;
        case MouseMessage::LeftUp:
            if (isSignalConnected(QMetaMethod::fromSignal(&TTrayIcon::OnMouseUp))) {
                emit OnMouseUp(Button::Left, cursor);
            } else if (clickPending_) {
                clickPending_ = false;  // the up that ends a double click
            } else if (connected(&TTrayIcon::OnClick)) {
                clickPending_ = true;
                clickTimer_.start(clickDelay());
            }
            break;
        case MouseMessage::LeftDouble:
            clickPending_ = true;
            emit OnDblClick();
            break;
        case MouseMessage::RightDown:
            if (autoPopup_ && rbMenu_)
                popup(rbMenu_, cursor);
            else
                emit OnMouseDown(Button::Right, cursor);
            break;
        case MouseMessage::RightUp:
            emit OnMouseUp(Button::Right, cursor);
            break;
        case MouseMessage::MiddleDown:
            emit OnMouseDown(Button::Middle, cursor);
            break;
        case MouseMessage::MiddleUp:
            emit OnMouseUp(Button::Middle, cursor);
            break;
    }
}

}  // namespace hinagiku::mainwindow
