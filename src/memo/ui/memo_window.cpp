#include "memo/ui/memo_window.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QStackedLayout>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QWindow>

#include <utility>

#include "core/sound_cues.h"
#include "core/ui/application.h"
#include "core/ui/session_end.h"
#include "mainwindow/ui/color_value.h"
#include "memo/memo_placement.h"
#include "memo/memo_store.h"
#include "memo/ui/memo_dialogs.h"
#include "memo/ui/memo_rename_dialog.h"
#include "memo/ui/memo_windows.h"
#include "memo/ui/picture_view.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "platform/window_taskbar.h"
#include "richtext/text_document.h"
#include "schedule/ui/jpeg_progress_window.h"

namespace hinagiku::memo {
namespace {

constexpr int kEdge = 4;           // grip width of the resizable edges
constexpr int kInset = 6;          // text inset from the left and right edges
constexpr int kIdleSaveMs = 3000;  // a changed text is saved this long after typing stops
constexpr int kMoveSettledMs = 400;

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

bool hasUpperExtension(const QString& path, const char* extension) {
    return QFileInfo(path).suffix().toUpper() == QLatin1String(extension);
}

// Lays out nothing: a document being filled has no one to show it to yet.
class NoLayout final : public QAbstractTextDocumentLayout {
  public:
    using QAbstractTextDocumentLayout::QAbstractTextDocumentLayout;
    void draw(QPainter*, const PaintContext&) override {}
    int hitTest(const QPointF&, Qt::HitTestAccuracy) const override { return -1; }
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override { return {}; }
    QRectF frameBoundingRect(QTextFrame*) const override { return {}; }
    QRectF blockBoundingRect(const QTextBlock&) const override { return {}; }

  protected:
    void documentChanged(int, int, int) override {}
};

}  // namespace

// The text's inset from the left and right edges, kept by the document's
// root frame so it follows every resize.
void applyInset(QTextDocument& document) {
    QTextFrameFormat format = document.rootFrame()->frameFormat();
    format.setLeftMargin(kInset);
    format.setRightMargin(kInset);
    const bool modified = document.isModified();
    document.rootFrame()->setFrameFormat(format);
    document.setModified(modified);
}

MemoWindow::MemoWindow(platform::Settings& settings, std::filesystem::path memoFolder,
                       std::string key, std::string title, int category)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      settings_(settings),
      folder_(std::move(memoFolder)),
      key_(std::move(key)),
      title_(std::move(title)),
      category_(category) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(q(title_));
    setMouseTracking(true);
    setMinimumSize(16, 16);

    text_ = new QTextEdit(this);
    text_->setAcceptRichText(true);
    text_->setLineWrapMode(QTextEdit::NoWrap);
    text_->setTabChangesFocus(false);
    text_->setContextMenuPolicy(Qt::NoContextMenu);
    text_->viewport()->installEventFilter(this);
    text_->installEventFilter(this);
    text_->setMouseTracking(true);
    // Files dropped on the text go to the window's drop choice (see
    // eventFilter); text dragged within it stays the editor's.
    setAcceptDrops(true);
    QFont font(q(settings_.readText("Memo", "FontName", "ＭＳ Ｐゴシック")));
    font.setPointSize(std::max(1, settings_.readInt("Memo", "FontSize", 9)));
    text_->document()->setDefaultFont(font);

    pictureView_ = new PictureView(this);
    pictureView_->installEventFilter(this);
    marker_ = new QFrame(this);
    marker_->setFrameShape(QFrame::Panel);
    marker_->setFrameShadow(QFrame::Raised);
    marker_->setAutoFillBackground(true);
    marker_->installEventFilter(this);
    marker_->hide();

    // The edges stay the window's own, for the resize grip.
    auto* layout = new QStackedLayout;
    layout->addWidget(text_);
    layout->addWidget(pictureView_);
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(kEdge, kEdge, kEdge, kEdge);
    outer->addLayout(layout);

    loadBody();
    applyColors();
    setStickyPaper(settings_.readBool(key_, "ReadOnly", false));
    pictureView_->setStretched(settings_.readBool(key_, "WindowSize", false));
    setPictureMemo(settings_.readInt(key_, "Kind", 0) == 1);

    idleSave_.setSingleShot(true);
    idleSave_.setInterval(kIdleSaveMs);
    connect(&idleSave_, &QTimer::timeout, this, [this] { saveBody(); });
    connect(text_->document(), &QTextDocument::contentsChanged, this, [this] {
        if (text_->document()->isModified())
            idleSave_.start();
    });
    // X11 does not report the end of a move: save once the moves stop.
    moveSettled_.setSingleShot(true);
    moveSettled_.setInterval(kMoveSettledMs);
    connect(&moveSettled_, &QTimer::timeout, this, [this] { save(); });
    connect(&core::SessionEnd::instance(), &core::SessionEnd::ending, this,
            &MemoWindow::sessionEnding);
    registerMemoWindow(this);
}

MemoWindow::~MemoWindow() {
    unregisterMemoWindow(this);
}

bool MemoWindow::isStickyPaper() const {
    return text_->isReadOnly();
}

void MemoWindow::loadBody() {
    // Filled before the editor has it: one layout of the text, not one per
    // step of the loading.
    auto* document = new QTextDocument(text_);
    document->setDocumentLayout(new NoLayout(document));
    document->setDefaultFont(text_->document()->defaultFont());
    std::string bytes;
    if (platform::readWholeFile(folder_ / key_, bytes))
        richtext::loadRichText(bytes, *document);
    applyInset(*document);
    document->setModified(false);
    document->clearUndoRedoStacks();
    document->setDocumentLayout(nullptr);  // the editor's own layout, made once
    // A null page size keeps the layout idle while the editor takes the
    // document; the editor then sets its own size and lays the text out
    // once (not twice: the undefined default size already counts as one).
    document->setPageSize(QSizeF(0, 0));
    text_->setDocument(document);
}

bool MemoWindow::saveBody() {
    idleSave_.stop();
    if (noSave_ || !text_->document()->isModified())
        return true;
    try {
        std::error_code ec;
        std::filesystem::create_directory(folder_, ec);
        platform::writeFileAtomically(folder_ / key_, richtext::saveRichText(*text_->document()));
        text_->document()->setModified(false);
        return true;
    } catch (const std::exception& e) {
        // The old body stays; the text stays modified for the next try.
        core::reportError(QString::fromUtf8(e.what()));
        return false;
    }
}

void MemoWindow::applyColors() {
    const int back =
        settings_.readInt(key_, "BackColor", settings_.readInt("Memo", "BackColor", 65535));
    const int fore =
        settings_.readInt(key_, "FontColor", settings_.readInt("Memo", "FontColor", 0));
    QPalette pal = palette();
    const QColor backColor = mainwindow::colorFromValue(back, pal);
    const QColor foreColor = mainwindow::colorFromValue(fore, pal);
    pal.setColor(QPalette::Base, backColor);
    pal.setColor(QPalette::Window, backColor);
    pal.setColor(QPalette::Text, foreColor);
    setPalette(pal);
    text_->setPalette(pal);
    marker_->setPalette(pal);
    pictureView_->setPalette(pal);
}

void MemoWindow::showMemo() {
    core::PlaySoundCue(settings_, "ope");
    // Reopened memos hold 1 already: no write of the settings file for them.
    if (settings_.readInt(key_, "Show", 0) != 1)
        settings_.writeInt(key_, "Show", 1);
    const QRect main = memoHost().mainWindowRect ? memoHost().mainWindowRect() : QRect();
    const WindowRect mainRect{main.left(), main.top(), main.width(), main.height()};
    if (settings_.readBool(key_, "peti", false)) {
        shown_ = true;
        enterPetit();
        return;
    }
    const WindowRect r = normalPlacement(settings_, key_, mainRect);
    applyPlacement(r.left, r.top, r.width, r.height);
    showOffTaskbar();
    shown_ = true;
}

void MemoWindow::showOffTaskbar() {
    // Written on the unmapped window (the toolkit keeps states it finds at
    // mapping), then asked of the window manager for a managed one.
    const auto id = static_cast<std::uint32_t>(winId());
    if (!isVisible())
        platform::keepOffTaskbar(id);
    show();
    platform::keepOffTaskbar(id);
}

void MemoWindow::applyPlacement(int left, int top, int width, int height) {
    resize(std::max(width, minimumWidth()), std::max(height, minimumHeight()));
    move(left, top);
    keepOnScreen();
}

void MemoWindow::keepOnScreen() {
    QScreen* screen = QGuiApplication::screenAt(geometry().center());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    QRect g = geometry();
    g.moveLeft(std::max(area.left(), std::min(g.left(), area.right() + 1 - g.width())));
    g.moveTop(std::max(area.top(), std::min(g.top(), area.bottom() + 1 - g.height())));
    move(g.topLeft());
}

void MemoWindow::bringBack() {
    if (petit_)
        leavePetit();
    show();
    raise();
    activateWindow();
}

void MemoWindow::save() {
    if (noSave_)
        return;
    saveBody();
    if (titleChanged_) {
        try {
            MemoStore(settings_, folder_).setTitle(key_, category_, title_);
            titleChanged_ = false;
        } catch (const std::exception& e) {
            core::reportError(QString::fromUtf8(e.what()));
        }
    }
    const QRect g = geometry();
    const bool petit = petit_;
    const bool stretched = pictureView_->isStretched();
    settings_.edit([&](platform::SettingsEdit& edit) {
        edit.writeText(key_, "WindowSize", stretched ? "1" : "0");
        if (petit) {
            edit.writeText(key_, "P_Top", std::to_string(g.top()));
            edit.writeText(key_, "P_Left", std::to_string(g.left()));
        } else {
            edit.writeText(key_, "Top", std::to_string(g.top()));
            edit.writeText(key_, "Left", std::to_string(g.left()));
            edit.writeText(key_, "Width", std::to_string(g.width()));
            edit.writeText(key_, "Height", std::to_string(g.height()));
        }
    });
}

void MemoWindow::sessionEnding() {
    // Saved in place; Show stays 1 so the memo reopens at the next start.
    save();
    ended_ = true;
}

void MemoWindow::closeEvent(QCloseEvent* event) {
    if (!ended_) {
        save();
        core::PlaySoundCue(settings_, copyOnly_ ? "cop" : "clo");
        if (!noSave_ && !copyOnly_)
            settings_.writeInt(key_, "Show", 0);
    }
    unsetCursor();
    event->accept();
    // Closed is no longer open, even before the deferred deletion.
    unregisterMemoWindow(this);
    emit indexChanged();
}

void MemoWindow::setStickyPaper(bool on) {
    if (picture_ && on)
        return;
    text_->setReadOnly(on);
    text_->setFrameShape(on ? QFrame::NoFrame : QFrame::Box);
    text_->setLineWidth(1);
    if (!on && shown_)
        text_->setFocus();
    if (shown_) {
        settings_.writeBool(key_, "ReadOnly", on);
        save();
    }
}

void MemoWindow::enterPetit() {
    if (shown_ && !petit_ && isVisible())
        save();
    const WindowRect current{geometry().left(), geometry().top(), 16, 16};
    settings_.writeBool(key_, "peti", true);
    petit_ = true;
    hide();
    text_->hide();
    pictureView_->hide();
    layout()->setContentsMargins(0, 0, 0, 0);
    marker_->show();
    marker_->setGeometry(0, 0, 16, 16);
    marker_->setToolTip(q(title_));
    setFixedSize(16, 16);
    const WindowRect r = petitPlacement(settings_, key_, current);
    move(r.left, r.top);
    keepOnScreen();
    showOffTaskbar();
    save();
}

void MemoWindow::leavePetit() {
    if (!petit_)
        return;
    hide();
    marker_->hide();
    setMinimumSize(16, 16);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->setContentsMargins(kEdge, kEdge, kEdge, kEdge);
    (picture_ ? static_cast<QWidget*>(pictureView_) : text_)->show();
    petit_ = false;
    const QRect main = memoHost().mainWindowRect ? memoHost().mainWindowRect() : QRect();
    const WindowRect r =
        normalPlacement(settings_, key_, {main.left(), main.top(), main.width(), main.height()},
                        /*useMemoDefaults=*/false);
    applyPlacement(r.left, r.top, r.width, r.height);
    settings_.writeBool(key_, "peti", false);
    showOffTaskbar();
}

void MemoWindow::setPictureMemo(bool on, bool loadPicture) {
    picture_ = on;
    if (on)
        text_->setReadOnly(false), setStickyPaper(false);
    auto* stack = static_cast<QStackedLayout*>(layout()->itemAt(0)->layout());
    stack->setCurrentWidget(on ? static_cast<QWidget*>(pictureView_) : text_);
    if (shown_)
        settings_.writeInt(key_, "Kind", on ? 1 : 0);
    if (on && loadPicture)
        setPictureFile(q(settings_.readText(key_, "BmpFile", "")));
}

void MemoWindow::showPicture(QImage picture) {
    pictureView_->setPicture(std::move(picture));
}

void MemoWindow::setPictureFile(const QString& stored) {
    // A path from Windows that does not exist here: the memo folder's file
    // of that name; the stored value stays as it is.
    QString path = stored;
    if (!path.isEmpty() && !QFileInfo::exists(path)) {
        const QString name = path.section(QLatin1Char('\\'), -1).section(QLatin1Char('/'), -1);
        const QString local = QString::fromStdString((folder_ / name.toStdString()).string());
        if (QFileInfo::exists(local))
            path = local;
    }
    QImage image;
    if (!path.isEmpty() && QFileInfo::exists(path)) {
        if (hasUpperExtension(path, "JPG"))
            image = schedule::JpegProgressWindow::decodeWithProgress(path, this, isVisible(),
                                                                     memoDialogs().jpegError);
        else
            image = QImage(path);
    }
    pictureView_->setPicture(std::move(image));
}

void MemoWindow::rename(const std::string& title) {
    std::string clean;
    for (const char c : title)
        clean += (c == '\r' || c == '\n') ? ' ' : c;
    if (clean == title_)
        return;
    title_ = clean;
    titleChanged_ = true;
    setWindowTitle(q(title_));
    marker_->setToolTip(q(title_));
    save();
    emit indexChanged();
}

bool MemoWindow::deleteMemo() {
    if (settings_.readInt("Form", "Delete", 0) == 0) {
        QApplication::beep();
        QMessageBox box(QMessageBox::Question, QStringLiteral("Hinagiku"),
                        QStringLiteral("削除しますか？"), QMessageBox::Yes | QMessageBox::No, this);
        box.move(geometry().topLeft());
        if (box.exec() != QMessageBox::Yes)
            return false;
    }
    try {
        MemoStore(settings_, folder_).remove(key_, category_);
    } catch (const std::exception& e) {
        core::reportError(QString::fromUtf8(e.what()));
        return false;
    }
    noSave_ = true;
    idleSave_.stop();
    moveSettled_.stop();
    close();
    return true;
}

void MemoWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized)) {
        // An iconify from the window manager gives the petit marker.
        setWindowState(windowState() & ~Qt::WindowMinimized);
        QTimer::singleShot(0, this, [this] {
            if (!petit_)
                enterPetit();
        });
    }
}

void MemoWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (shown_ && isVisible())
        moveSettled_.start();
}

void MemoWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (shown_ && isVisible())
        moveSettled_.start();
}

void MemoWindow::startMove() {
    if (QWindow* handle = windowHandle())
        handle->startSystemMove();
    moveSettled_.start();
}

Qt::Edges MemoWindow::edgesAt(const QPoint& pos) const {
    Qt::Edges edges;
    if (petit_)
        return edges;
    if (pos.x() < kEdge)
        edges |= Qt::LeftEdge;
    if (pos.x() >= width() - kEdge)
        edges |= Qt::RightEdge;
    if (pos.y() < kEdge)
        edges |= Qt::TopEdge;
    if (pos.y() >= height() - kEdge)
        edges |= Qt::BottomEdge;
    return edges;
}

void MemoWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const Qt::Edges edges = edgesAt(event->position().toPoint());
    if (edges && windowHandle() != nullptr) {
        windowHandle()->startSystemResize(edges);
        moveSettled_.start();
    } else {
        startMove();
    }
}

void MemoWindow::mouseMoveEvent(QMouseEvent* event) {
    const Qt::Edges e = edgesAt(event->position().toPoint());
    if ((e & Qt::LeftEdge && e & Qt::TopEdge) || (e & Qt::RightEdge && e & Qt::BottomEdge))
        setCursor(Qt::SizeFDiagCursor);
    else if ((e & Qt::RightEdge && e & Qt::TopEdge) || (e & Qt::LeftEdge && e & Qt::BottomEdge))
        setCursor(Qt::SizeBDiagCursor);
    else if (e & (Qt::LeftEdge | Qt::RightEdge))
        setCursor(Qt::SizeHorCursor);
    else if (e & (Qt::TopEdge | Qt::BottomEdge))
        setCursor(Qt::SizeVerCursor);
    else
        unsetCursor();
    QWidget::mouseMoveEvent(event);
}

bool MemoWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_->viewport() &&
        (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
         event->type() == QEvent::Drop)) {
        auto* drop = static_cast<QDropEvent*>(event);
        if (drop->mimeData() != nullptr && drop->mimeData()->hasUrls()) {
            if (event->type() == QEvent::DragEnter)
                dragEnterEvent(static_cast<QDragEnterEvent*>(event));
            else if (event->type() == QEvent::DragMove)
                dragMoveEvent(static_cast<QDragMoveEvent*>(event));
            else
                dropEvent(drop);
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const bool dragSurface = watched == marker_ || watched == pictureView_ ||
                                 (watched == text_->viewport() && isStickyPaper());
        if (mouse->button() == Qt::LeftButton && dragSurface) {
            startMove();
            return true;
        }
    }
    if (event->type() == QEvent::ContextMenu &&
        (watched == marker_ || watched == pictureView_ || watched == text_->viewport() ||
         watched == text_)) {
        contextMenuEvent(static_cast<QContextMenuEvent*>(event));
        return true;
    }
    if (event->type() == QEvent::KeyPress && watched == text_) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool control =
            key->modifiers() == Qt::ControlModifier &&
            (key->key() == Qt::Key_F || key->key() == Qt::Key_R || key->key() == Qt::Key_P);
        if ((key->key() >= Qt::Key_F1 && key->key() <= Qt::Key_F3) || control) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MemoWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_F1:
            setPictureMemo(false);
            return;
        case Qt::Key_F2:
            setPictureMemo(true);
            return;
        case Qt::Key_F3:
            setStickyPaper(!isStickyPaper());
            return;
        default:
            break;
    }
    // "操作" is off for picture memos and in sticky-paper mode.
    if (event->modifiers() == Qt::ControlModifier && !picture_ && !isStickyPaper()) {
        switch (event->key()) {
            case Qt::Key_F:
                return openFind();
            case Qt::Key_R:
                return openReplace();
            case Qt::Key_P:
                return print();
            default:
                break;
        }
    }
    QWidget::keyPressEvent(event);
}

void MemoWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = buildMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

}  // namespace hinagiku::memo
