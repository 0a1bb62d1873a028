// The memo window's pop-up menu and the commands only it reaches.
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QMimeData>
#include <QTextEdit>

#include "core/ui/application.h"
#include "mainwindow/ui/color_value.h"
#include "memo/memo_files.h"
#include "memo/ui/memo_dialogs.h"
#include "memo/ui/memo_rename_dialog.h"
#include "memo/ui/memo_window.h"
#include "memo/ui/memo_windows.h"
#include "memo/ui/picture_view.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "richtext/text_document.h"
#include "schedule/ui/jpeg_progress_window.h"

namespace hinagiku::memo {
namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

QMenu* MemoWindow::buildMenu() {
    auto* menu = new QMenu(this);
    if (petit_) {
        menu->addAction(QStringLiteral("「") + q(title_) + QStringLiteral("」を開く"), this,
                        [this] { leavePetit(); });
        menu->addAction(QStringLiteral("閉じる"), this, [this] { close(); });
        return menu;
    }
    const bool sticky = isStickyPaper();
    QAction* stickyItem = menu->addAction(QStringLiteral("付箋紙モード"), this,
                                          [this] { setStickyPaper(!isStickyPaper()); });
    stickyItem->setShortcut(Qt::Key_F3);
    stickyItem->setCheckable(true);
    stickyItem->setChecked(sticky);
    menu->addAction(QStringLiteral("プチ"), this, [this] { enterPetit(); });
    menu->addSeparator();
    if (!sticky) {
        const bool clipboardText = QApplication::clipboard()->mimeData() != nullptr &&
                                   QApplication::clipboard()->mimeData()->hasText();
        const bool clipboardPicture = QApplication::clipboard()->mimeData() != nullptr &&
                                      QApplication::clipboard()->mimeData()->hasImage();
        if (!picture_)
            menu->addAction(QStringLiteral("切り抜き(&T)"), text_, &QTextEdit::cut);
        QAction* copy = menu->addAction(QStringLiteral("コピー(&C)"), this, [this] {
            if (picture_)
                QApplication::clipboard()->setImage(pictureView_->picture());
            else
                text_->copy();
        });
        copy->setEnabled(!picture_ || !pictureView_->picture().isNull());
        QAction* paste = menu->addAction(QStringLiteral("貼り付け(&P)"), this, [this] {
            if (picture_)
                pastePicture(QApplication::clipboard()->image());
            else
                text_->paste();
        });
        paste->setEnabled(picture_ ? clipboardPicture : clipboardText);
        if (!picture_) {
            menu->addAction(QStringLiteral("すべてを選択(&S)"), text_, &QTextEdit::selectAll);
            menu->addAction(QStringLiteral("やり直し(&U)"), text_, &QTextEdit::undo);
        }
        menu->addSeparator();
    }
    if (!picture_) {
        QMenu* textMenu = menu->addMenu(QStringLiteral("テキスト"));
        QMenu* basic = textMenu->addMenu(QStringLiteral("基本属性の設定"));
        basic->addAction(QStringLiteral("背景色"), this, [this] { chooseColor(true); });
        basic->addAction(QStringLiteral("基本のフォント色"), this, [this] { chooseColor(false); });
        QMenu* ops = textMenu->addMenu(QStringLiteral("操作"));
        ops->setEnabled(!sticky);
        ops->addAction(QStringLiteral("検索"), QKeySequence(Qt::CTRL | Qt::Key_F), this,
                       [this] { openFind(); });
        ops->addAction(QStringLiteral("置換"), QKeySequence(Qt::CTRL | Qt::Key_R), this,
                       [this] { openReplace(); });
        ops->addAction(QStringLiteral("印刷"), QKeySequence(Qt::CTRL | Qt::Key_P), this,
                       [this] { print(); });
        textMenu->addAction(QStringLiteral("名前を付けて保存"), this, [this] { saveTextAs(); });
        textMenu->addAction(QStringLiteral("ファイルの読みこみ"), this, [this] { loadTextFile(); })
            ->setEnabled(!sticky);
    }
    if (picture_) {
        const bool hasPicture = !pictureView_->picture().isNull();
        QMenu* pictureMenu = menu->addMenu(QStringLiteral("画像メモ"));
        pictureMenu->addAction(QStringLiteral("窓を画像サイズに合わせる"), this,
                               [this] { fitWindowToPicture(); });
        QAction* stretch = pictureMenu->addAction(QStringLiteral("画像を窓サイズに合わせる"), this,
                                                  [this](bool on) {
                                                      pictureView_->setStretched(on);
                                                      save();
                                                  });
        stretch->setCheckable(true);
        stretch->setChecked(pictureView_->isStretched());
        QMenu* saveAs = pictureMenu->addMenu(QStringLiteral("別名で保存"));
        saveAs->setEnabled(hasPicture);
        saveAs->addAction(QStringLiteral("JPG（256色）"), this, [this] { savePictureAs(true); });
        saveAs->addAction(QStringLiteral("BMP"), this, [this] { savePictureAs(false); });
        pictureMenu
            ->addAction(QStringLiteral("壁紙として保存"), this, [this] { saveAsWallpaper(); })
            ->setEnabled(hasPicture);
        pictureMenu->addAction(QStringLiteral("ファイルの読みこみ"), this,
                               [this] { choosePictureFile(); });
    }
    QMenu* mode = menu->addMenu(QStringLiteral("動作モード"));
    QAction* asText =
        mode->addAction(QStringLiteral("テキスト"), this, [this] { setPictureMemo(false); });
    asText->setShortcut(Qt::Key_F1);
    asText->setCheckable(true);
    asText->setChecked(!picture_);
    QAction* asPicture =
        mode->addAction(QStringLiteral("画像メモ"), this, [this] { setPictureMemo(true); });
    asPicture->setShortcut(Qt::Key_F2);
    asPicture->setCheckable(true);
    asPicture->setChecked(picture_);
    if (!sticky)
        menu->addAction(QStringLiteral("題名の変更"), this, [this] { askRename(); });
    QMenu* ops = menu->addMenu(QStringLiteral("メモの操作"));
    ops->addAction(QStringLiteral("新しいメモを開く"), this,
                   [this] { createMemo(settings_, category_); });
    ops->addAction(QStringLiteral("このメモを削除"), this, [this] { deleteMemo(); });
    menu->addSeparator();
    menu->addAction(QStringLiteral("全てのメモを閉じる"), [] { closeAllMemos(); });
    menu->addAction(QStringLiteral("閉じる"), this, [this] { close(); });
    return menu;
}

void MemoWindow::chooseColor(bool background) {
    const char* name = background ? "BackColor" : "FontColor";
    const int fallback = settings_.readInt("Memo", name, background ? 65535 : 0);
    const QColor current =
        mainwindow::colorFromValue(settings_.readInt(key_, name, fallback), palette());
    QColorDialog dialog(current, this);
    dialog.exec();  // its outcome is not consulted: the shown colour applies
    settings_.writeInt(key_, name, mainwindow::valueFromColor(dialog.currentColor()));
    applyColors();
}

void MemoWindow::loadTextFile() {
    setPictureMemo(false);
    const QString path = memoDialogs().openFileName(
        this, QString::fromStdString(folder_.string()),
        QStringLiteral("Text files (*.TXT *.txt);;Rich files (*.RTF *.rtf);;All files (*)"));
    if (path.isEmpty())
        return;
    const MemoFile file = readMemoFile(path.toStdString());
    if (!file.ok() || file.picture) {
        memoDialogs().warn(this, QStringLiteral("\"%1\" をメモに読みこめません。").arg(path));
        return;
    }
    replaceText(file.bytes);
    save();
}

bool MemoWindow::pastePicture(const QImage& image) {
    if (image.isNull())
        return false;
    const bool bitmap = settings_.readInt("Form", "PastePic", 0) != 0;
    const std::filesystem::path path = folder_ / (key_ + (bitmap ? ".BMP" : ".JPG"));
    const QString target = QString::fromStdString(path.string());
    try {
        std::error_code ec;
        std::filesystem::create_directory(folder_, ec);
        if (bitmap) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            if (!image.save(&buffer, "BMP"))
                throw platform::IoError("\"" + path.string() + "\" を書きこめません。");
            platform::writeFileAtomically(path, std::string_view(bytes.constData(), bytes.size()));
        } else if (!schedule::JpegProgressWindow::encodeWithProgress(image, target, this)) {
            return false;
        }
    } catch (const std::exception& e) {
        core::reportError(QString::fromUtf8(e.what()));
        return false;
    }
    settings_.writeText(key_, "BmpFile", path.string());
    setPictureFile(target);
    save();
    return true;
}

void MemoWindow::fitWindowToPicture() {
    const QImage& picture = pictureView_->picture();
    if (picture.isNull() || petit_)
        return;
    const QMargins m = layout()->contentsMargins();
    resize(picture.width() + m.left() + m.right(), picture.height() + m.top() + m.bottom());
    save();
}

void MemoWindow::choosePictureFile() {
    const QString current = q(settings_.readText(key_, "BmpFile", ""));
    const QString chosen =
        memoDialogs().choosePicture(this, settings_, QStringLiteral("Picture - ") + q(title_),
                                    QFileInfo(current).exists() ? current : QString());
    settings_.writeText(key_, "BmpFile", chosen.toStdString());
    setPictureFile(chosen);
}

void MemoWindow::savePictureAs(bool jpeg) {
    const QImage& picture = pictureView_->picture();
    if (picture.isNull())
        return;
    const QString start = q((folder_ / (key_ + (jpeg ? ".JPG" : ".BMP"))).string());
    QString path =
        memoDialogs().saveFileName(this, start,
                                   jpeg ? QStringLiteral("Jpeg (*.JPG *.jpg);;All files (*)")
                                        : QStringLiteral("Bitmap (*.BMP *.bmp);;All files (*)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())  // the default extension
        path += jpeg ? QStringLiteral(".JPG") : QStringLiteral(".BMP");
    if (jpeg) {
        schedule::JpegProgressWindow::encodeWithProgress(picture, path, this);
        return;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    try {
        if (!picture.save(&buffer, "BMP"))
            throw platform::IoError("\"" + path.toStdString() + "\" を書きこめません。");
        platform::writeFileAtomically(path.toStdString(),
                                      std::string_view(bytes.constData(), bytes.size()));
    } catch (const std::exception& e) {
        core::reportError(QString::fromUtf8(e.what()));
    }
}

void MemoWindow::askRename() {
    MemoRenameDialog dialog(q(title_), this);
    dialog.move(geometry().topLeft());
    dialog.exec();
    rename(dialog.text().toStdString());
}

}  // namespace hinagiku::memo
