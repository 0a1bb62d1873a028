#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <string>

#include "platform/settings.h"
#include "platform/wallpaper.h"
#include "schedule/ui/error_question.h"

class QPrinter;
class QWidget;

namespace hinagiku::memo {

class MemoWindow;

// What the memo windows ask of the user and the desktop. The program uses
// the real dialogs; tests put their own answers in.
struct MemoDialogs {
    // The drop choice window for `fileCount` files over `memo`: 0 cancel,
    // 1 into this memo, 2 the first file into a new memo, 3 every file into
    // new memos.
    std::function<int(MemoWindow& memo, int fileCount)> dropChoice;
    // A warning box, OK only.
    std::function<void(QWidget* parent, const QString& text)> warn;
    // The print dialog; false when cancelled.
    std::function<bool(QWidget* parent, QPrinter& printer)> print;
    // A save dialog (asking before overwriting); empty when cancelled.
    std::function<QString(QWidget* parent, const QString& start, const QString& filter)>
        saveFileName;
    // An open dialog for an existing file; empty when cancelled.
    std::function<QString(QWidget* parent, const QString& start, const QString& filter)>
        openFileName;
    // The picture chooser with `caption` at the memo's top-left corner,
    // preselecting `current`; whatever is selected when it closes (empty
    // when nothing).
    std::function<QString(QWidget* memo, const platform::Settings& settings, const QString& caption,
                          const QString& current)>
        choosePicture;
    // The JPEG coder's error question (empty: the standard error box).
    schedule::ErrorQuestion jpegError;
    // Writes the bitmap and makes it the desktop wallpaper.
    std::function<platform::WallpaperResult(const QImage& bitmap, const std::string& path)>
        setWallpaper;
};

MemoDialogs standardMemoDialogs();
void setMemoDialogs(MemoDialogs dialogs);
const MemoDialogs& memoDialogs();

}  // namespace hinagiku::memo
