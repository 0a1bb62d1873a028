// Files dropped on a memo window: the drop choice, then this memo or new
// memos of its category take them. Every file is checked (and a picture
// decoded) before anything changes, so a bad drop leaves everything as it was.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPointer>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>

#include <vector>

#include "memo/memo_files.h"
#include "memo/memo_store.h"
#include "memo/ui/memo_dialogs.h"
#include "memo/ui/memo_window.h"
#include "memo/ui/memo_windows.h"
#include "memo/ui/picture_view.h"
#include "richtext/text_document.h"
#include "schedule/ui/jpeg_progress_window.h"

namespace hinagiku::memo {
namespace {

QStringList localFiles(const QMimeData* data) {
    QStringList files;
    if (data == nullptr || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            files << url.toLocalFile();
    }
    return files;
}

// A dropped file, checked and ready to be taken.
struct Prepared {
    QString path;
    bool picture = false;
    std::string textBytes;
    QImage image;
};

}  // namespace

void MemoWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!petit_ && !localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MemoWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (!petit_ && !localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MemoWindow::dropEvent(QDropEvent* event) {
    const QStringList files = localFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    // The drag source waits for the drop to finish: ask afterwards.
    QTimer::singleShot(0, this, [this, files] { dropFiles(files); });
}

void MemoWindow::warnDrop() {
    memoDialogs().warn(this, QStringLiteral("現在メモにドロップ出来ません。\r"
                                            "新しいメモを開くか、一旦閉じてからまた開いて再度行って"
                                            "下さい。"));
}

void MemoWindow::replaceText(const std::string& fileBytes) {
    richtext::toTextDocument(memoTextFromFile(fileBytes), *text_->document());
    applyInset(*text_->document());
    text_->document()->setModified(true);
}

bool MemoWindow::dropFiles(const QStringList& paths) {
    if (paths.isEmpty() || noSave_)
        return false;
    raise();
    activateWindow();
    const QPointer<MemoWindow> self(this);
    const int choice = memoDialogs().dropChoice(*this, static_cast<int>(paths.size()));
    // The memo may have been closed or deleted while the choice was open.
    if (self == nullptr || noSave_ || choice < 1 || choice > 3)
        return false;
    if (choice == 1 && isStickyPaper())
        return false;

    std::vector<Prepared> files;
    for (const QString& path : choice == 3 ? paths : QStringList{paths.first()}) {
        const QString absolute = QFileInfo(path).absoluteFilePath();
        MemoFile file = readMemoFile(absolute.toStdString());
        if (!file.ok()) {
            warnDrop();
            return false;
        }
        Prepared prepared{absolute, file.picture, std::move(file.bytes), {}};
        if (prepared.picture) {
            prepared.image = QFileInfo(absolute).suffix().toUpper() == QLatin1String("JPG")
                                 ? schedule::JpegProgressWindow::decodeWithProgress(
                                       absolute, this, isVisible(), memoDialogs().jpegError)
                                 : QImage(absolute);
            if (prepared.image.isNull()) {
                warnDrop();
                return false;
            }
        }
        files.push_back(std::move(prepared));
    }

    const bool pathAsTitle = settings_.readBool("Memo", "DropCaption", false);
    try {
        if (choice == 1) {
            Prepared& file = files.front();
            if (pathAsTitle)
                rename(file.path.toStdString());
            if (file.picture) {
                settings_.writeText(key_, "BmpFile", file.path.toStdString());
                setPictureMemo(true, false);
                showPicture(std::move(file.image));
                fitWindowToPicture();
            } else {
                setPictureMemo(false);
                replaceText(file.textBytes);
            }
            save();
            return true;
        }
        for (Prepared& file : files) {
            const std::string key = MemoStore(settings_, folder_).create(category_);
            const std::string title = pathAsTitle ? file.path.toStdString() : key;
            if (pathAsTitle)
                MemoStore(settings_, folder_).setTitle(key, category_, title);
            if (file.picture)
                settings_.writeText(key, "BmpFile", file.path.toStdString());
            MemoWindow* memo = newMemoWindow(settings_, key, title, category_);
            if (file.picture) {
                memo->setPictureMemo(true, false);
                memo->showPicture(std::move(file.image));
            } else {
                memo->replaceText(file.textBytes);
            }
            memo->showMemo();
            if (file.picture) {
                settings_.writeInt(key, "Kind", 1);
                memo->fitWindowToPicture();
            }
            memo->save();
        }
    } catch (const std::exception&) {
        warnDrop();
        return false;
    }
    if (choice == 2)
        save();
    emit indexChanged();
    return true;
}

}  // namespace hinagiku::memo
