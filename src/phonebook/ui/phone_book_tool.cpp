#include "phonebook/ui/phone_book_tool.h"

#include <QPointer>

#include "core/data_folders.h"
#include "core/ui/application.h"
#include "core/ui/privacy_gate.h"
#include "phonebook/ui/phone_book_window.h"
#include "platform/atomic_file.h"

namespace hinagiku::phonebook {
namespace {

QPointer<PhoneBookWindow>& instance() {
    static QPointer<PhoneBookWindow> window;
    return window;
}

}  // namespace

void openPhoneBook(platform::Settings& settings) {
    if (!core::passPrivacyGate(core::GuardedFeature::Telephone))
        return;
    if (!core::RequireDataFolder(settings))
        return;
    const std::string data = core::DataFolder(settings);
    try {
        if (!core::EnsureSubfolder(data, "Tel"))
            return;
    } catch (const platform::IoError& e) {
        core::reportError(QString::fromUtf8(e.what()));
        return;
    }
    auto& window = instance();
    if (window) {
        window->showNormal();
        window->raise();
        window->activateWindow();
        return;
    }
    window = new PhoneBookWindow(settings, std::filesystem::path(core::joinPath(data, "Tel")));
    window->show();
}

bool phoneBookOpen() {
    return !instance().isNull();
}

PhoneBookWindow* phoneBookWindow() {
    return instance().data();
}

}  // namespace hinagiku::phonebook
