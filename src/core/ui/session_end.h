#pragma once

#include <QObject>
#include <QPointer>
#include <QSocketNotifier>

namespace hinagiku::core {

// The end of the program as the windows holding unsaved data see it: the
// main window closed, the session ending (SIGHUP at logout) or the program
// told to stop (SIGTERM). Such windows connect to `ending` and run their own
// close path, so a page or a memo open at the end is saved.
class SessionEnd : public QObject {
    Q_OBJECT
  public:
    static SessionEnd& instance();

    // Routes SIGTERM and SIGHUP through a self-pipe to end() on the
    // user-interface thread, followed by the application's quit.
    void installSignalHandlers();

    // Emits `ending` (once per call).
    void end();

  signals:
    void ending();

  private:
    SessionEnd() = default;
    void signalArrived();
    QPointer<QSocketNotifier> notifier_;
};

}  // namespace hinagiku::core
