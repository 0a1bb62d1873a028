#pragma once

#include <QRect>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/settings.h"

class QMenu;

namespace hinagiku::memo {

class MemoWindow;

// What the memo windows need of the main window.
struct MemoHost {
    // The main window's frame: default placement of memos without one.
    std::function<QRect()> mainWindowRect;
    // Rebuilds the main window's memo menu after a change of an index.
    std::function<void()> rebuildMemoMenu;
};
void setMemoHost(MemoHost host);
const MemoHost& memoHost();

// The memo folder: the data folder's "Memo".
std::filesystem::path memoFolderOf(const platform::Settings& settings);

// The memo windows of this process, by key (the live registry: whether a
// memo is open is known from here, never from Show).
MemoWindow* findMemoWindow(std::string_view key);
std::vector<MemoWindow*> memoWindows();
void registerMemoWindow(MemoWindow* window);
void unregisterMemoWindow(MemoWindow* window);

// Opens memo `key`: an open one comes back from petit mode and to the
// front (with `copyText`, after the warning that an open memo cannot be
// copied); a closed one opens as stored, or with `copyText` has its text put
// on the clipboard without being shown, writing nothing.
MemoWindow* openMemo(platform::Settings& settings, const std::string& key, const std::string& title,
                     int category, bool copyText = false);
// A window for memo `key`, not yet shown, whose changes of title or
// existence rebuild the memo menu.
MemoWindow* newMemoWindow(platform::Settings& settings, const std::string& key,
                          const std::string& title, int category);
// Creates a memo in `category` and opens it; the data folder rules apply.
// Returns the window, or nothing when the folder stopped it.
MemoWindow* createMemo(platform::Settings& settings, int category);
// Opens every memo whose Show is nonzero, once per process however often
// it is called (start-up reaches it twice).
void reopenShownMemos(platform::Settings& settings);
// The memo items of the main window's memo menu: per category a submenu
// of the titles, a separator and "メモの新規作成". Reads the settings once.
void fillMemoMenu(QMenu* menu, platform::Settings& settings);
// "全てのメモを閉じる".
void closeAllMemos();

}  // namespace hinagiku::memo
