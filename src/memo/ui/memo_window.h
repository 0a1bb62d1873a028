#pragma once

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <string>

#include "platform/settings.h"

class QFrame;
class QMenu;
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
    void setPictureMemo(bool on);
    void setPictureFile(const QString& path);
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
    void saveTextAs();
    void loadTextFile();
    void choosePictureFile();
    void savePictureAs(bool jpeg);
    void fitWindowToPicture();

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
