#include "startup_window.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QVBoxLayout>

#include "core/startup.h"
#include "core/ui/settings_dialog_hook.h"

namespace hinagiku::app {

StartupWindow::StartupWindow(platform::Settings& settings, std::filesystem::path home,
                             QWidget* parent)
    : QWidget(parent), settings_(settings), home_(std::move(home)),
      date_(new QLabel(this)), time_(new QLabel(this)) {
    setWindowTitle(QString::fromUtf8(core::kApplicationTitle.data()));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(date_);
    layout->addWidget(time_);
    connect(&timer_, &QTimer::timeout, this, &StartupWindow::tick);
}

void StartupWindow::start() {
    core::checkDataFolder(settings_);
    bool openSettings = core::runFirstStart(settings_, home_);
    openSettings = core::checkVersion(settings_) || openSettings;
    tick();
    timer_.setInterval(core::mainTimerInterval(settings_));
    timer_.start();
    show();
    if (openSettings) core::openSettingsDialog();
}

void StartupWindow::tick() {
    const QDateTime now = QDateTime::currentDateTime();
    date_->setText(now.toString(QStringLiteral("yyyy/MM/dd (ddd)")));
    time_->setText(now.toString(QStringLiteral("HH:mm:ss")));
}

void StartupWindow::closeEvent(QCloseEvent* event) {
    timer_.stop();
    event->accept();
    emit closed();
}

}  // namespace hinagiku::app
