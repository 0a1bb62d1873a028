#include "memo/ui/memo_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

#include "memo/ui/memo_drop_window.h"
#include "memo/ui/memo_window.h"
#include "schedule/ui/picture_chooser.h"

namespace hinagiku::memo {
namespace {

MemoDialogs& current() {
    static MemoDialogs dialogs = standardMemoDialogs();
    return dialogs;
}

}  // namespace

MemoDialogs standardMemoDialogs() {
    MemoDialogs dialogs;
    dialogs.dropChoice = [](MemoWindow& memo, int fileCount) {
        MemoDropWindow window(QString::fromStdString(memo.title()), fileCount, memo.isStickyPaper(),
                              memo.geometry(), &memo);
        window.exec();
        return window.choice();
    };
    dialogs.warn = [](QWidget* parent, const QString& text) {
        QApplication::beep();
        QString shown = text;
        shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        QMessageBox::warning(parent, QStringLiteral("Hinagiku"), shown);
    };
    dialogs.print = [](QWidget* parent, QPrinter& printer) {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
    dialogs.saveFileName = [](QWidget* parent, const QString& start, const QString& filter) {
        return QFileDialog::getSaveFileName(parent, {}, start, filter);
    };
    dialogs.openFileName = [](QWidget* parent, const QString& start, const QString& filter) {
        return QFileDialog::getOpenFileName(parent, {}, start, filter);
    };
    dialogs.choosePicture = [](QWidget* memo, const platform::Settings& settings,
                               const QString& caption, const QString& current) {
        schedule::PictureChooser chooser(settings, memo);
        chooser.setWindowTitle(caption);
        chooser.setFileName(current);
        chooser.move(memo->geometry().topLeft());
        chooser.exec();
        return chooser.fileName();
    };
    dialogs.setWallpaper = [](const QImage& bitmap, const std::string& path) {
        return platform::SetWallpaper(bitmap, path);
    };
    return dialogs;
}

void setMemoDialogs(MemoDialogs dialogs) {
    current() = std::move(dialogs);
}

const MemoDialogs& memoDialogs() {
    return current();
}

}  // namespace hinagiku::memo
