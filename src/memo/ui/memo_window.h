#pragma once

#include <QImage>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <string>

#include "platform/settings.h"

class QFrame;
class QMenu;
class QPrinter;
class QTextDocument;
class QTextEdit;

namespace hinagiku::memo {

class PictureView;

// Sets the memo text's left and right inset (a document loaded anew loses it).
void applyInset(QTextDocument& document);

// One memo on the desktop: a frameless top-level window, off the task bar,
// not owned by the main window, showing the memo's rich text or picture.
// It saves itself on every close, at the end of the session (Show kept at
// 1, so it reopens at the next start), when a move settles, around petit
// mode and 3 s after typing stops. The body file is written only when the
// text changed, so a body our reader does not fully keep is never rewritten
// by opening, moving or closing the memo.
class MemoWindow : public QWidget {
    Q_OBJECT
  public:
    MemoWindow(platform::Settings& settings, std::filesystem::path memoFolder, std::string key,
               std::string title, int category);
    ~MemoWindow() override;

    const std::string& key() const { return key_; }
    const std::string& title() const { return title_; }
    int category() const { return category_; }
    bool isPetit() const { return petit_; }
    bool isStickyPaper() const;
    bool isPictureMemo() const { return picture_; }
    QTextEdit* textArea() const { return text_; }

    // Shows the window as stored: the cue, Show = 1, petit or normal
    // placement, kept on the screen, off the task bar.
    void showMemo();
    // The click action of an open memo: back from petit mode, to the front.
    void bringBack();
    // Saves the body (only when changed), title, WindowSize and placement.
    void save();
    // Opened for a copy of the text only: writes nothing, the close plays "cop".
    void markCopyOnly() {
        copyOnly_ = true;
        noSave_ = true;
    }

    void setStickyPaper(bool on);
    void enterPetit();
    void leavePetit();
    // Switches the kind; a picture memo shows [key] BmpFile unless
    // `loadPicture` is false (the caller shows one it has decoded).
    void setPictureMemo(bool on, bool loadPicture = true);
    void setPictureFile(const QString& path);
    // Shows a picture already decoded from the file BmpFile names.
    void showPicture(QImage picture);
    // Replaces the text with a text file's (RTF, UTF-8 or CP932), as changed.
    void replaceText(const std::string& fileBytes);
    void fitWindowToPicture();
    void rename(const std::string& title);
    // "題名の変更": the rename window, modal, at the memo's top-left corner.
    void askRename();
    // Paste of a picture memo: the clipboard picture stored in the memo
    // folder as key + ".JPG" (quality 100), or ".BMP" with [Form] PastePic;
    // BmpFile names it. False when there was no picture or no file.
    bool pastePicture(const QImage& image);
    PictureView* pictureView() const { return pictureView_; }
    // The delete command: asks unless [Form] Delete is set; true when deleted.
    bool deleteMemo();

    // Files dropped on the memo: the drop choice window, then this memo or
    // new memos of its category take them. A file that cannot be taken
    // (folder, unreadable, over 16 MiB, binary, a picture that does not
    // decode) gives the drop warning and changes nothing. True when done.
    bool dropFiles(const QStringList& paths);

    // "検索", "置換": the dialogs every memo shares, on this memo's text.
    void openFind();
    void openReplace();
    // Prints a copy headed by "Title:", "Print:" with `now` and an empty
    // line; the memo itself stays as it is (undo included).
    void printTo(QPrinter& printer, double now) const;
    void print();
    // "名前を付けて保存": ".RTF" (any case) rich text, any other name plain text.
    void saveTextAs();
    // "ファイルの読みこみ" of a picture memo: the picture chooser; BmpFile
    // takes what it selects (empty when nothing) and the picture follows.
    void choosePictureFile();
    // "別名で保存": the picture as JPEG (quality 100) or BMP; a name without
    // an extension gets ".JPG" or ".BMP".
    void savePictureAs(bool jpeg);
    // "壁紙として保存": the picture as BMP at the chosen path (preset to
    // [MemoWall] File), made the wallpaper; the path is remembered.
    void saveAsWallpaper();

  signals:
    // The memo's title or existence changed: menus and lists rebuild.
    void indexChanged();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void loadBody();
    bool saveBody();
    void applyColors();
    void applyPlacement(int left, int top, int width, int height);
    void keepOnScreen();
    void showOffTaskbar();
    void sessionEnding();
    void startMove();
    Qt::Edges edgesAt(const QPoint& pos) const;
    QMenu* buildMenu();
    void chooseColor(bool background);
    void loadTextFile();
    void warnDrop();

    platform::Settings& settings_;
    std::filesystem::path folder_;
    std::string key_;
    std::string title_;
    int category_;
    QTextEdit* text_ = nullptr;
    PictureView* pictureView_ = nullptr;
    QFrame* marker_ = nullptr;
    QTimer idleSave_;
    QTimer moveSettled_;
    bool petit_ = false;
    bool picture_ = false;
    bool noSave_ = false;
    bool copyOnly_ = false;
    bool ended_ = false;
    bool shown_ = false;
    bool titleChanged_ = false;
};

}  // namespace hinagiku::memo
