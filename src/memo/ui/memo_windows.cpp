#include "memo/ui/memo_windows.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMessageBox>
#include <QTextEdit>

#include <algorithm>

#include "core/data_folders.h"
#include "core/ui/application.h"
#include "memo/memo_index.h"
#include "memo/memo_store.h"
#include "memo/ui/memo_window.h"

namespace hinagiku::memo {
namespace {

MemoHost& hostStore() {
    static MemoHost host;
    return host;
}

std::vector<MemoWindow*>& registry() {
    static std::vector<MemoWindow*> windows;
    return windows;
}

bool sameKey(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

void rebuildMenu() {
    if (hostStore().rebuildMemoMenu)
        hostStore().rebuildMemoMenu();
}

}  // namespace

MemoWindow* newMemoWindow(platform::Settings& settings, const std::string& key,
                          const std::string& title, int category) {
    auto* window = new MemoWindow(settings, memoFolderOf(settings), key, title, category);
    QObject::connect(window, &MemoWindow::indexChanged, window, [] { rebuildMenu(); });
    return window;
}

void setMemoHost(MemoHost host) {
    hostStore() = std::move(host);
}
const MemoHost& memoHost() {
    return hostStore();
}

std::filesystem::path memoFolderOf(const platform::Settings& settings) {
    return std::filesystem::path(core::joinPath(core::DataFolder(settings), "Memo"));
}

MemoWindow* findMemoWindow(std::string_view key) {
    for (MemoWindow* window : registry())
        if (sameKey(window->key(), key))
            return window;
    return nullptr;
}

std::vector<MemoWindow*> memoWindows() {
    return registry();
}

void registerMemoWindow(MemoWindow* window) {
    registry().push_back(window);
}

void unregisterMemoWindow(MemoWindow* window) {
    std::erase(registry(), window);
}

MemoWindow* openMemo(platform::Settings& settings, const std::string& key, const std::string& title,
                     int category, bool copyText) {
    if (MemoWindow* open = findMemoWindow(key)) {
        if (copyText) {
            QApplication::beep();
            QMessageBox::warning(open, QStringLiteral("Hinagiku"),
                                 QStringLiteral("表示中のメモはクリップボードにコピー出来ません。\n"
                                                "閉じてから再操作して下さい。"));
        }
        open->bringBack();
        return open;
    }
    MemoWindow* window = newMemoWindow(settings, key, title, category);
    if (copyText) {
        window->markCopyOnly();
        window->textArea()->selectAll();
        window->textArea()->copy();
        window->close();
        return nullptr;
    }
    window->showMemo();
    return window;
}

MemoWindow* createMemo(platform::Settings& settings, int category) {
    if (!core::RequireDataFolder(settings))
        return nullptr;
    std::string key;
    try {
        key = MemoStore(settings, memoFolderOf(settings)).create(category);
    } catch (const std::exception& e) {
        core::reportError(QString::fromUtf8(e.what()));
        return nullptr;
    }
    MemoWindow* window = newMemoWindow(settings, key, key, category);
    QApplication::beep();
    window->showMemo();
    if (settings.readBool("Memo", "Caption", false))
        QMetaObject::invokeMethod(
            window, [window] { window->askRename(); }, Qt::QueuedConnection);
    rebuildMenu();
    return window;
}

void reopenShownMemos(platform::Settings& settings) {
    if (core::DataFolder(settings) == ".")
        return;
    for (int category = 0; category < kCategoryCount; ++category)
        for (const MemoEntry& entry : listCategory(settings, category))
            if (settings.readInt(entry.key, "Show", 0) != 0 && findMemoWindow(entry.key) == nullptr)
                openMemo(settings, entry.key, entry.title, category);
}

void fillMemoMenu(QMenu* menu, platform::Settings& settings) {
    // One read of the settings file for the whole menu.
    const MemoIndex index = readMemoIndex(settings);
    for (int category = 0; category < kCategoryCount; ++category) {
        const CategoryListing& listing = index[static_cast<std::size_t>(category)];
        QMenu* sub = menu->addMenu(QString::fromStdString(listing.name));
        for (const MemoEntry& entry : listing.memos) {
            sub->addAction(QString::fromStdString(entry.title), menu, [&settings, entry, category] {
                const bool shift = QApplication::keyboardModifiers() & Qt::ShiftModifier;
                openMemo(settings, entry.key, entry.title, category, shift);
            });
        }
        sub->addSeparator();
        sub->addAction(QStringLiteral("メモの新規作成"), menu,
                       [&settings, category] { createMemo(settings, category); });
    }
}

void closeAllMemos() {
    for (MemoWindow* window : memoWindows())
        window->close();
}

}  // namespace hinagiku::memo
