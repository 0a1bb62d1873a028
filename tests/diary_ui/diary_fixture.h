#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QStringList>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "calendar/date_time.h"
#include "diary/ui/diary_dialogs.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "platform/memory_settings.h"
#include "support/temp_home.h"

namespace hinagiku::testing {

// A data folder with its diary folder, settings pointing at them, and
// dialog answers the test chooses.
struct DiaryFixture {
    std::unique_ptr<TempHome> home = std::make_unique<TempHome>();
    platform::MemorySettings settings;
    std::filesystem::path folder = home->path() / "data" / "Diary";
    QStringList warnings;
    QString exportTarget;  // the save dialog's answer
    bool deleteAnswer = true;
    bool printAnswer = false;
    std::optional<QColor> colorAnswer;  // the colour dialog's answer

    DiaryFixture() {
        std::filesystem::create_directories(folder);
        settings.writeText("Calendar", "Directory", (home->path() / "data").string());
        settings.writeInt("Form", "Waveplay", 0);
    }

    diary::ui::DiaryDialogs dialogs() {
        diary::ui::DiaryDialogs d;
        d.saveFileName = [this](QWidget*, const QString&) { return exportTarget; };
        d.confirmDelete = [this](QWidget*) { return deleteAnswer; };
        d.warn = [this](QWidget*, const QString& text) { warnings << text; };
        d.print = [this](QWidget*, QPrinter&) { return printAnswer; };
        d.choosePicture = [](QWidget*, const QString& current) { return current; };
        d.chooseColor = [this](QWidget*, const QColor&) { return colorAnswer; };
        d.jpegError = [this](const QString& text) {
            warnings << text;
            return true;
        };
        return d;
    }

    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const {
        std::string bytes;
        platform::readWholeFile(folder / name, bytes);
        return bytes;
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(folder / name); }
};

// Types `text` as one key event (also characters QTest cannot spell).
inline void typeText(QWidget* widget, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

inline int dayOf(int y, int m, int d) {
    return *encodeDate(y, m, d);
}

}  // namespace hinagiku::testing
