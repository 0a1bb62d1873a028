#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <filesystem>

#include "platform/settings.h"

namespace hinagiku::app {

// The program's window: runs the start-up sequence of the application core
// (data-folder check, first start, version check), one tick at once, then
// the main timer at [Form] Interval, and shows the date and time.
class StartupWindow : public QWidget {
    Q_OBJECT
public:
    StartupWindow(platform::Settings& settings, std::filesystem::path home,
                  QWidget* parent = nullptr);

    void start();
    const QTimer& timer() const { return timer_; }

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void tick();

    platform::Settings& settings_;
    std::filesystem::path home_;
    QLabel* date_;
    QLabel* time_;
    QTimer timer_;
};

}  // namespace hinagiku::app
