// The memo window's commands on its text and picture that reach outside
// the memo: find and replace, printing, saving elsewhere, the wallpaper.
#include <QBuffer>
#include <QFileInfo>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <memory>

#include "calendar/format_date.h"
#include "core/home_folder.h"
#include "core/ui/application.h"
#include "memo/memo_files.h"
#include "memo/ui/memo_dialogs.h"
#include "memo/ui/memo_search.h"
#include "memo/ui/memo_window.h"
#include "memo/ui/picture_view.h"
#include "platform/atomic_file.h"
#include "platform/clock.h"
#include "richtext/text_document.h"

namespace hinagiku::memo {
namespace {

constexpr const char* kWallpaperFile = "Kiv_WallPaper.BMP";

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

void MemoWindow::openFind() {
    memo_search::openFind(*this);
}

void MemoWindow::openReplace() {
    memo_search::openReplace(*this);
}

void MemoWindow::printTo(QPrinter& printer, double now) const {
    // A copy is printed: the memo's text, its modified flag and its undo
    // steps stay untouched.
    const std::unique_ptr<QTextDocument> copy(text_->document()->clone());
    QTextCursor cursor(copy.get());
    cursor.movePosition(QTextCursor::Start);
    const QString header[] = {
        QStringLiteral("Title:") + q(title_),
        QStringLiteral("Print:") + q(FormatDate("yyyy/mm/dd \"(\"aaa\")\" hh:mm:ss", now)),
        QString()};
    for (const QString& line : header) {
        cursor.insertBlock();
        cursor.movePosition(QTextCursor::PreviousBlock);
        cursor.setBlockFormat(QTextBlockFormat());
        cursor.setBlockCharFormat(QTextCharFormat());
        cursor.insertText(line, QTextCharFormat());
        cursor.movePosition(QTextCursor::NextBlock);
    }
    printer.setDocName(q(title_));
    copy->print(&printer);
}

void MemoWindow::print() {
    QPrinter printer;
    if (!memoDialogs().print(this, printer))
        return;
    printTo(printer, platform::SystemClock().now());
}

void MemoWindow::saveTextAs() {
    setPictureMemo(false);
    const QString start = q((folder_ / (key_ + ".RTF")).string());
    const QString path = memoDialogs().saveFileName(
        this, start,
        QStringLiteral("Rich files (*.RTF *.rtf);;Text files (*.TXT *.txt);;All files (*)"));
    if (path.isEmpty())
        return;
    try {
        const bool rich = QFileInfo(path).suffix().toUpper() == QLatin1String("RTF");
        platform::writeFileAtomically(
            path.toStdString(), rich ? richtext::saveRichText(*text_->document())
                                     : plainTextFileBytes(text_->toPlainText().toStdString()));
    } catch (const std::exception& e) {
        core::reportError(QString::fromUtf8(e.what()));
    }
}

void MemoWindow::saveAsWallpaper() {
    const QImage& picture = pictureView_->picture();
    if (picture.isNull())
        return;
    QString start = q(settings_.readText("MemoWall", "File", kWallpaperFile));
    if (QFileInfo(start).isRelative())
        start = q((core::homeFolder() / start.toStdString()).string());
    QString path = memoDialogs().saveFileName(
        this, start, QStringLiteral("Bitmap (*.BMP *.bmp);;All files (*)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".BMP");
    const platform::WallpaperResult result =
        memoDialogs().setWallpaper(picture, path.toStdString());
    if (result.status == platform::WallpaperResult::Status::NotSaved) {
        core::reportError(QString::fromStdString(result.message));
        return;
    }
    settings_.writeText("MemoWall", "File", path.toStdString());
}

}  // namespace hinagiku::memo
