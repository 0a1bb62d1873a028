#include "diary/ui/diary_tool.h"

#include <QApplication>
#include <QMessageBox>

#include "core/data_folders.h"
#include "core/ui/privacy_gate.h"
#include "core/ui/session_end.h"
#include "core/ui/settings_dialog_hook.h"
#include "diary/diary_store.h"
#include "diary/ui/diary_list_window.h"
#include "diary/ui/diary_search_window.h"
#include "diary/ui/diary_window.h"
#include "platform/atomic_file.h"

namespace hinagiku::diary::ui {

DiaryTool::DiaryTool(platform::Settings& settings, const platform::Clock& clock, QObject* parent)
    : QObject(parent), settings_(settings), clock_(clock) {
    warn = [](const QString& text) {
        QApplication::beep();
        QString shown = text;
        shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        QMessageBox::warning(nullptr, QStringLiteral("Hinagiku"), shown);
    };
    connect(&core::SessionEnd::instance(), &core::SessionEnd::ending, this, &DiaryTool::endSession);
}

DiaryTool::~DiaryTool() {
    if (list_)
        delete list_.data();
}

bool DiaryTool::ready() {
    if (!core::passPrivacyGate(core::GuardedFeature::Diary))
        return false;
    if (!core::RequireDataFolder(settings_))
        return false;
    bool folder = false;
    try {
        folder = core::EnsureSubfolder(core::PrivateFolder(settings_), "Diary");
    } catch (const platform::IoError&) {
        // An unmounted medium: the folder cannot be made there.
        warn(QString::fromUtf8(core::kMissingFolderMessage.data(),
                               static_cast<qsizetype>(core::kMissingFolderMessage.size())));
    }
    if (!folder) {
        core::openSettingsDialog();
        return false;
    }
    return true;
}

DiaryWindow* DiaryTool::openDay(int day) {
    return ready() ? openPage(day) : nullptr;
}

void DiaryTool::open() {
    if (!ready())
        return;
    if (!list_) {
        list_ = new DiaryListWindow(*this);
        list_->show();
    }
    list_->raise();
    list_->activateWindow();
    list_->setFocus();
}

DiaryWindow* DiaryTool::page(int day) const {
    const auto found = pages_.find(day);
    return found == pages_.end() ? nullptr : found->second.data();
}

std::vector<DiaryWindow*> DiaryTool::pages() const {
    std::vector<DiaryWindow*> open;
    for (const auto& [day, window] : pages_) {
        if (window)
            open.push_back(window);
    }
    return open;
}

DiaryWindow* DiaryTool::openPage(int day) {
    if (DiaryWindow* open = page(day)) {
        open->raise();
        open->activateWindow();
        return open;
    }
    auto* window = new DiaryWindow(settings_, diaryFolder(settings_), day);
    pages_[day] = window;
    connect(window, &DiaryWindow::closedPage, this, [this, window](int closed) {
        const auto found = pages_.find(closed);
        if (found != pages_.end() && found->second == window)
            pages_.erase(found);
    });
    if (pageCreated)
        pageCreated(window);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void DiaryTool::closePages() {
    for (DiaryWindow* window : pages())
        window->close();
}

void DiaryTool::endSession() {
    for (DiaryWindow* window : pages())
        window->endSession();
}

}  // namespace hinagiku::diary::ui

namespace hinagiku::diary::ui {

bool DiaryTool::isOpen() const {
    return !list_.isNull();
}

DiaryListWindow* DiaryTool::list() const {
    return list_.data();
}

}  // namespace hinagiku::diary::ui
