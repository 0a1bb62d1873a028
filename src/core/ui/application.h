#pragma once

#include <QApplication>

namespace hinagiku::core {

// The application object. An error that no window handles ends the action
// that raised it and is shown by the general error report; the program keeps
// running.
class Application : public QApplication {
    Q_OBJECT
  public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// The general error report: a message box titled "Hinagiku" with the text.
void reportError(const QString& text);

// Installs the message boxes and the settings-dialog hook of the folder rules.
void installFolderDialogs();

}  // namespace hinagiku::core
