#include "core/ui/application.h"

#include <QMessageBox>

#include <exception>

#include "core/data_folders.h"
#include "core/startup.h"
#include "core/ui/message_box.h"
#include "core/ui/settings_dialog_hook.h"

namespace hinagiku::core {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    const QString title = QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size());
    // No display name: Qt would append it to every window title, and the
    // captions are the program's own texts.
    setApplicationName(title);
    setQuitOnLastWindowClosed(false);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        reportError(QString::fromUtf8(e.what()));
    } catch (...) {
        reportError(QStringLiteral("Unknown error"));
    }
    return false;
}

void reportError(const QString& text) {
    showMessage(nullptr, {QMessageBox::Critical, text, QMessageBox::Ok, false});
}

void installFolderDialogs() {
    FolderHooks hooks;
    hooks.openSettingsDialog = [] { openSettingsDialog(); };
    hooks.showError = [](std::string_view message) {
        QApplication::beep();
        QString text = QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kApplicationTitle.data()), text,
                        QMessageBox::Ok);
        box.exec();
    };
    setFolderHooks(std::move(hooks));
}

}  // namespace hinagiku::core
