// The memo list's menus and the commands on the selected memo's text and
// picture (files, colours, clipboard, wallpaper).
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTextEdit>
#include <QTreeWidget>

#include "core/home_folder.h"
#include "core/ui/action_guard.h"
#include "core/ui/application.h"
#include "mainwindow/ui/color_value.h"
#include "memo/memo_files.h"
#include "memo/memo_store.h"
#include "memo/ui/memo_list_window.h"
#include "memo/ui/memo_window.h"
#include "memo/ui/memo_windows.h"
#include "memo/ui/picture_view.h"
#include "platform/atomic_file.h"
#include "platform/wallpaper.h"
#include "richtext/text_document.h"
#include "schedule/ui/jpeg_progress_window.h"
#include "schedule/ui/picture_chooser.h"

namespace hinagiku::memo {
namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string bitmapBytes(const QImage& image, const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP"))
        throw platform::IoError("\"" + path.toStdString() + "\" を書きこめません。");
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace

void MemoListWindow::buildMenus() {
    using core::guard;
    treeMenu_ = new QMenu(this);
    renameAction_ = treeMenu_->addAction(QStringLiteral("題名の変更"));
    QAction* create = treeMenu_->addAction(QStringLiteral("新しいメモを開く"));
    QAction* remove = treeMenu_->addAction(QStringLiteral("このメモを削除"));
    QAction* reorder = treeMenu_->addAction(QStringLiteral("並び変え"));
    connect(renameAction_, &QAction::triggered, this, [this] {
        if (QTreeWidgetItem* item = tree_->currentItem())
            tree_->editItem(item);
    });
    connect(create, &QAction::triggered, this, guard(this, &MemoListWindow::addMemo));
    connect(remove, &QAction::triggered, this, guard(this, &MemoListWindow::deleteSelected));
    connect(reorder, &QAction::triggered, this, guard(this, &MemoListWindow::openReorder));
    connect(treeMenu_, &QMenu::aboutToShow, this, [this, create, remove] {
        renameAction_->setEnabled(delete_->isEnabled() || add_->isEnabled());
        create->setEnabled(add_->isEnabled());
        remove->setEnabled(delete_->isEnabled());
    });
    connect(tree_, &QTreeWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { treeMenu_->popup(tree_->viewport()->mapToGlobal(at)); });

    textMenu_ = new QMenu(this);
    auto add = [this](QMenu* menu, const QString& text, auto slot) {
        QAction* action = menu->addAction(text);
        connect(action, &QAction::triggered, this, guard(slot));
        return action;
    };
    QAction* cut = add(textMenu_, QStringLiteral("切り抜き(&T)"), [this] { editor_->cut(); });
    add(textMenu_, QStringLiteral("コピー(&C)"), [this] {
        if (textMenu_->property("overPicture").toBool())
            copyPicture();
        else
            editor_->copy();
    });
    QAction* paste = add(textMenu_, QStringLiteral("貼り付け(&P)"), [this] {
        if (textMenu_->property("overPicture").toBool())
            pastePicture();
        else
            editor_->paste();
    });
    QAction* selectAll =
        add(textMenu_, QStringLiteral("すべてを選択(&S)"), [this] { editor_->selectAll(); });
    QAction* undo = add(textMenu_, QStringLiteral("やり直し(&U)"), [this] { editor_->undo(); });
    textMenu_->addSeparator();
    QMenu* text = textMenu_->addMenu(QStringLiteral("テキスト"));
    QMenu* basics = text->addMenu(QStringLiteral("基本属性の設定"));
    add(basics, QStringLiteral("フォント色"), [this] { chooseColor(false); });
    add(basics, QStringLiteral("背景色"), [this] { chooseColor(true); });
    readOnlyAction_ = basics->addAction(QStringLiteral("読み取り専用"));
    readOnlyAction_->setCheckable(true);
    connect(readOnlyAction_, &QAction::triggered, this,
            guard([this](bool on) { setReadOnlyChecked(on); }));
    text->addSeparator();
    add(text, QStringLiteral("名前を付けて保存"), [this] { saveTextAs(); });
    QAction* loadText = add(text, QStringLiteral("ファイルの読みこみ"), [this] { loadTextFile(); });
    QMenu* picture = textMenu_->addMenu(QStringLiteral("画像メモ"));
    QMenu* saveAs = picture->addMenu(QStringLiteral("別名で保存"));
    add(saveAs, QStringLiteral("JPG（256色）"), [this] { savePictureAs(true); });
    add(saveAs, QStringLiteral("BMP"), [this] { savePictureAs(false); });
    add(picture, QStringLiteral("壁紙として保存"), [this] { saveWallpaper(); });
    QAction* loadPicture =
        add(picture, QStringLiteral("ファイルの読みこみ"), [this] { loadPictureFile(); });

    connect(textMenu_, &QMenu::aboutToShow, this, [=, this] {
        const bool overPicture = textMenu_->property("overPicture").toBool();
        const bool memo = !shown_.key.empty();
        const bool editable = memo && shown_.editable;
        for (QAction* action : {cut, paste, undo})
            action->setVisible(memo && !overPicture);
        selectAll->setVisible(!overPicture);
        paste->setVisible(memo);
        text->menuAction()->setVisible(!overPicture);
        picture->menuAction()->setVisible(overPicture);
        text->setEnabled(memo);
        picture->setEnabled(memo);
        basics->setEnabled(editable);
        loadText->setEnabled(editable);
        loadPicture->setEnabled(editable);
        cut->setEnabled(editable);
        undo->setEnabled(editable && editor_->document()->isUndoAvailable());
        paste->setEnabled(overPicture ? editable && QApplication::clipboard()->mimeData() &&
                                            QApplication::clipboard()->mimeData()->hasImage()
                                      : editable && editor_->canPaste());
    });
    connect(editor_, &QTextEdit::customContextMenuRequested, this, [this](const QPoint& at) {
        textMenu_->setProperty("overPicture", false);
        textMenu_->popup(editor_->viewport()->mapToGlobal(at));
    });
    connect(picture_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        textMenu_->setProperty("overPicture", true);
        textMenu_->popup(picture_->mapToGlobal(at));
    });
}

void MemoListWindow::chooseColor(bool background) {
    if (shown_.key.empty() || !shown_.editable)
        return;
    const QPalette::ColorRole role = background ? QPalette::Base : QPalette::Text;
    const QColor current = editor_->palette().color(role);
    const std::optional<QColor> chosen =
        colorChooser ? colorChooser(current)
                     : std::optional<QColor>(QColorDialog::getColor(current, this));
    if (!chosen || !chosen->isValid())
        return;
    QPalette pal = editor_->palette();
    pal.setColor(role, *chosen);
    editor_->setPalette(pal);
    settings_.writeInt(shown_.key, background ? "BackColor" : "FontColor",
                       mainwindow::valueFromColor(*chosen));
}

void MemoListWindow::saveTextAs() {
    if (shown_.key.empty())
        return;
    const QString start = q((folder() / (shown_.key + ".RTF")).string());
    const QString filter =
        QStringLiteral("Rich files (*.RTF *.rtf);;Text files (*.TXT *.txt);;All files (*)");
    const QString path = savePathChooser ? savePathChooser(start, filter)
                                         : QFileDialog::getSaveFileName(this, {}, start, filter);
    if (path.isEmpty())
        return;
    const bool rich = QFileInfo(path).suffix().toUpper() == QLatin1String("RTF");
    platform::writeFileAtomically(path.toStdString(),
                                  rich ? richtext::saveRichText(*editor_->document())
                                       : plainTextFileBytes(editor_->toPlainText().toStdString()));
}

void MemoListWindow::loadTextFile() {
    if (shown_.key.empty() || !shown_.editable)
        return;
    const QString start = q(folder().string());
    const QString filter =
        QStringLiteral("Text files (*.TXT *.txt);;Rich files (*.RTF *.rtf);;All files (*)");
    const QString path = openPathChooser ? openPathChooser(start, filter)
                                         : QFileDialog::getOpenFileName(this, {}, start, filter);
    if (path.isEmpty())
        return;
    std::string bytes;
    if (!platform::readWholeFile(path.toStdString(), bytes))
        throw platform::IoError("\"" + path.toStdString() + "\" を読みこめません。");
    richtext::loadRichText(bytes, *editor_->document());
    applyInset(*editor_->document());
    editor_->document()->setModified(true);
    writeBack();
}

void MemoListWindow::loadPictureFile() {
    if (shown_.key.empty() || !shown_.editable)
        return;
    schedule::PictureChooser chooser(settings_, this);
    chooser.setWindowTitle(QStringLiteral("Bitmap - ") + windowTitle());
    chooser.setFileName(q(pictureFile_));
    chooser.move(pos());
    chooser.exec();
    const QString chosen = chooser.fileName();
    if (chosen.isEmpty())
        return;  // nothing chosen: the picture stays
    settings_.writeText(shown_.key, "BmpFile", chosen.toStdString());
    showSelection();
}

void MemoListWindow::savePictureAs(bool jpeg) {
    const QImage& image = picture_->picture();
    if (shown_.key.empty() || image.isNull())
        return;
    const QString start = q((folder() / (shown_.key + (jpeg ? ".JPG" : ".BMP"))).string());
    const QString path =
        QFileDialog::getSaveFileName(this, {}, start,
                                     jpeg ? QStringLiteral("Jpeg (*.JPG *.jpg);;All files (*)")
                                          : QStringLiteral("Bitmap (*.BMP *.bmp);;All files (*)"));
    if (path.isEmpty())
        return;
    if (jpeg)
        schedule::JpegProgressWindow::encodeWithProgress(image, path, this);
    else
        platform::writeFileAtomically(path.toStdString(), bitmapBytes(image, path));
}

void MemoListWindow::saveWallpaper() {
    const QImage& image = picture_->picture();
    if (shown_.key.empty() || image.isNull())
        return;
    std::filesystem::path preset = settings_.readText("MemoWall", "File", "Kiv_WallPaper.BMP");
    if (preset.is_relative())
        preset = core::homeFolder() / preset;
    const QString path = QFileDialog::getSaveFileName(
        this, {}, q(preset.string()), QStringLiteral("Bitmap (*.BMP *.bmp);;All files (*)"));
    if (path.isEmpty())
        return;
    const platform::WallpaperResult result = platform::SetWallpaper(image, path.toStdString());
    if (result.status == platform::WallpaperResult::Status::NotSaved)
        throw platform::IoError(result.message);
    settings_.writeText("MemoWall", "File", path.toStdString());
}

void MemoListWindow::pastePicture() {
    if (shown_.key.empty() || !shown_.editable)
        return;
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data == nullptr || !data->hasImage())
        return;
    const auto image = qvariant_cast<QImage>(data->imageData());
    if (image.isNull())
        return;
    std::error_code ec;
    std::filesystem::create_directory(folder(), ec);
    const bool bitmap = settings_.readInt("Form", "PastePic", 0) != 0;
    const QString path = q((folder() / (shown_.key + (bitmap ? ".BMP" : ".JPG"))).string());
    if (bitmap)
        platform::writeFileAtomically(path.toStdString(), bitmapBytes(image, path));
    else if (!schedule::JpegProgressWindow::encodeWithProgress(image, path, this))
        return;
    settings_.writeText(shown_.key, "BmpFile", path.toStdString());
    showSelection();
}

void MemoListWindow::copyPicture() {
    if (!picture_->picture().isNull())
        QApplication::clipboard()->setImage(picture_->picture());
}

}  // namespace hinagiku::memo
