// Hinagiku: the resident desktop calendar and organiser.
//
// Program entry: one copy per user (a second start ends at once, silently,
// with status 0), the application titled "Hinagiku", the main window whose
// creation runs the start-up sequence, the event loop, and the lock released
// when the program ends.
#include <QByteArray>
#include <QGuiApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/home_folder.h"
#include "core/ui/application.h"
#include "platform/profile_file.h"
#include "platform/single_instance.h"
#include "startup_window.h"

namespace {

// X11 is the platform the window placement, stay-on-top, outline and hot
// key are made for: in a Wayland session the program runs through XWayland.
void preferX11() {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return;
    if (qEnvironmentVariableIsSet("DISPLAY")) qputenv("QT_QPA_PLATFORM", "xcb");
}

// One copy per home folder: copies with different settings files do not
// share anything, and tests can run side by side.
std::string lockName(const std::filesystem::path& home) {
    std::error_code ec;
    const std::string path = std::filesystem::weakly_canonical(home, ec).string();
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a: stable across builds
    for (const unsigned char c : path) hash = (hash ^ c) * 1099511628211ull;
    char text[32];
    std::snprintf(text, sizeof text, "hinagiku-%016llx", static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    auto instance =
        hinagiku::platform::SingleInstance::tryAcquire(lockName(hinagiku::core::homeFolder()));
    if (!instance) return EXIT_SUCCESS;

    preferX11();
    hinagiku::core::Application app(argc, argv);
    hinagiku::core::installFolderDialogs();

    hinagiku::core::ensureHomeFolder();
    hinagiku::platform::ProfileFile settings(hinagiku::core::settingsFilePath());
    hinagiku::app::StartupWindow window(settings, hinagiku::core::homeFolder());
    QObject::connect(&window, &hinagiku::app::StartupWindow::closed, &app, &QApplication::quit);
    window.start();
    const int status = app.exec();
    return status;
}
