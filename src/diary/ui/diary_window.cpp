#include "diary/ui/diary_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>
#include <system_error>

#include "core/sound_cues.h"
#include "core/ui/application.h"
#include "mainwindow/ui/color_value.h"
#include "mainwindow/window_modes.h"
#include "platform/atomic_file.h"
#include "richtext/text_document.h"
#include "richtext/ui/find_dialog.h"
#include "richtext/ui/format_bar.h"
#include "richtext/ui/indent_ruler.h"
#include "richtext/ui/replace_dialog.h"
#include "schedule/ui/jpeg_progress_window.h"

namespace hinagiku::diary::ui {
namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

std::string utf8(const QString& text) {
    return text.toStdString();
}

// Pictures larger than this are not read (a path may name anything).
constexpr qint64 kMaxPictureBytes = 64ll * 1024 * 1024;

// Only a regular file of bounded size: a FIFO would block, a device never end.
bool readablePicture(const QString& path) {
    std::error_code error;
    const std::filesystem::path file(path.toStdString());
    if (path.isEmpty() || !std::filesystem::is_regular_file(file, error))
        return false;
    const auto size = std::filesystem::file_size(file, error);
    return !error && size <= static_cast<std::uintmax_t>(kMaxPictureBytes);
}

}  // namespace

DiaryWindow::DiaryWindow(platform::Settings& settings, std::filesystem::path folder, int day,
                         QWidget* parent)
    : QWidget(parent, Qt::Window),
      settings_(settings),
      folder_(std::move(folder)),
      day_(day),
      dialogs_(standardDiaryDialogs(settings)),
      finder_(nullptr) {
    setAttribute(Qt::WA_DeleteOnClose);
    buildWindow();
    finder_ = richtext::ui::TextFinder(editor_);
    buildMenus();
    const PageDefaults defaults = readPageDefaults(settings_);
    QFont font(qs(defaults.fontName));
    font.setPointSize(std::max(1, defaults.fontSize));
    editor_->document()->setDefaultFont(font);
    resize(497, 438);
    updateCaption();
}

DiaryWindow::~DiaryWindow() = default;

void DiaryWindow::buildWindow() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    title_ = new QLineEdit(this);
    title_->setMaxLength(static_cast<int>(kValueLimit));
    title_->setToolTip(QStringLiteral("日記のタイトルを記入します"));
    layout->addWidget(title_);
    connect(title_, &QLineEdit::textEdited, this, [this] { markModified(); });

    auto* weatherRow = new QHBoxLayout;
    weather_ = new QLineEdit(this);
    weather_->setMaxLength(static_cast<int>(kValueLimit));
    weather_->setToolTip(QStringLiteral("天気を記入します"));
    weather_->setContextMenuPolicy(Qt::CustomContextMenu);
    weatherRow->addWidget(weather_, 1);
    connect(weather_, &QLineEdit::textEdited, this, [this] { markModified(); });
    const auto append = [this](const QString& text) {
        weather_->setText(weather_->text() + text);
        markModified();
    };
    for (const QString& glyph : {QStringLiteral("晴"), QStringLiteral("曇"), QStringLiteral("雨"),
                                 QStringLiteral("雷"), QStringLiteral("雪")}) {
        auto* button = new QPushButton(glyph, this);
        button->setFixedSize(24, 22);
        button->setObjectName(QStringLiteral("weather_") + glyph);
        weatherRow->addWidget(button);
        connect(button, &QPushButton::clicked, this, [append, glyph] { append(glyph); });
    }
    auto* after = new QPushButton(QStringLiteral("後"), this);
    auto* sometimes = new QPushButton(QStringLiteral("時"), this);
    for (QPushButton* button : {after, sometimes}) {
        button->setFixedSize(24, 22);
        weatherRow->addWidget(button);
    }
    connect(after, &QPushButton::clicked, this, [append] { append(QStringLiteral(" のち ")); });
    connect(sometimes, &QPushButton::clicked, this, [append] { append(QStringLiteral(" 時々 ")); });
    layout->addLayout(weatherRow);

    auto* buttonRow = new QHBoxLayout;
    export_ = new QPushButton(QStringLiteral("別保存"), this);
    export_->setToolTip(QStringLiteral("共通形式(ﾌﾟﾚｰﾝﾃｷｽﾄ)で保存"));
    delete_ = new QPushButton(QStringLiteral("削除"), this);
    delete_->setToolTip(QStringLiteral("日記を削除します"));
    delete_->setEnabled(false);
    picture_ = new QPushButton(QStringLiteral("画像"), this);
    picture_->setToolTip(QStringLiteral("この日記に関連した画像"));
    for (QPushButton* button : {export_, delete_, picture_})
        buttonRow->addWidget(button);
    buttonRow->addStretch(1);
    layout->addLayout(buttonRow);
    connect(export_, &QPushButton::clicked, this, &DiaryWindow::exportPlainText);
    connect(delete_, &QPushButton::clicked, this, &DiaryWindow::deletePage);
    connect(picture_, &QPushButton::clicked, this, &DiaryWindow::togglePicture);

    editor_ = new QTextEdit(this);
    editor_->setAcceptRichText(true);
    editor_->setLineWrapMode(QTextEdit::WidgetWidth);
    editor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editor_->document()->setDocumentMargin(6);
    editor_->setToolTip(QStringLiteral("編集が可能です。"));
    editor_->setContextMenuPolicy(Qt::NoContextMenu);

    bar_ = new richtext::ui::FormatBar(editor_, settings_, {}, this);
    ruler_ = new richtext::ui::IndentRuler(editor_, this);
    layout->addWidget(bar_);
    layout->addWidget(ruler_);
    connect(bar_, &richtext::ui::FormatBar::formatApplied, this, [this] { markModified(); });
    connect(bar_, &richtext::ui::FormatBar::defaultColorChanged, this,
            [this](const QColor& c) { header_.fontColor = mainwindow::valueFromColor(c); });
    connect(ruler_, &richtext::ui::IndentRuler::indentsApplied, this, [this] { markModified(); });

    pictureView_ = new QLabel(this);
    pictureView_->setAlignment(Qt::AlignCenter);
    pictureView_->setMinimumSize(1, 1);
    stack_ = new QStackedWidget(this);
    stack_->addWidget(editor_);
    stack_->addWidget(pictureView_);
    layout->addWidget(stack_, 1);

    status_ = new QLabel(this);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(status_);
}

void DiaryWindow::buildMenus() {
    weatherMenu_ = new QMenu(this);
    const QStringList groups[] = {
        {QStringLiteral("晴"), QStringLiteral("曇"), QStringLiteral("雨")},
        {QStringLiteral("晴 のち 曇"), QStringLiteral("晴 のち 雨"), QStringLiteral("曇 のち 雨")},
        {QStringLiteral("晴 時々 雨")},
    };
    bool first = true;
    for (const QStringList& group : groups) {
        if (!first)
            weatherMenu_->addSeparator();
        first = false;
        for (const QString& phrase : group) {
            connect(weatherMenu_->addAction(phrase), &QAction::triggered, this, [this, phrase] {
                weather_->setText(phrase);
                markModified();
            });
        }
    }
    connect(weather_, &QLineEdit::customContextMenuRequested, this,
            [this](const QPoint& at) { weatherMenu_->popup(weather_->mapToGlobal(at)); });

    menu_ = new QMenu(this);
    QMenu* picture = menu_->addMenu(QStringLiteral("画像"));
    showPictureAction_ = picture->addAction(QStringLiteral("表示"));
    showPictureAction_->setCheckable(true);
    connect(showPictureAction_, &QAction::triggered, this, &DiaryWindow::togglePicture);
    stretchAction_ = picture->addAction(QStringLiteral("窓サイズ"));
    stretchAction_->setCheckable(true);
    connect(stretchAction_, &QAction::triggered, this, [this](bool on) {
        stretch_ = on;
        markModified();
        showPicture(pictureShown());
    });
    connect(picture->addAction(QStringLiteral("開く(&O)")), &QAction::triggered, this,
            &DiaryWindow::choosePicture);
    connect(menu_->addAction(QStringLiteral("切り抜き(&T)")), &QAction::triggered, editor_,
            &QTextEdit::cut);
    connect(menu_->addAction(QStringLiteral("コピー(&C)")), &QAction::triggered, editor_,
            &QTextEdit::copy);
    connect(menu_->addAction(QStringLiteral("貼り付け(&P)")), &QAction::triggered, editor_,
            &QTextEdit::paste);
    connect(menu_->addAction(QStringLiteral("すべてを選択(&S)")), &QAction::triggered, editor_,
            &QTextEdit::selectAll);
    undoAction_ = menu_->addAction(QStringLiteral("やり直し(&U)"));
    connect(undoAction_, &QAction::triggered, editor_, &QTextEdit::undo);
    QMenu* basics = menu_->addMenu(QStringLiteral("基本属性の設定"));
    connect(basics->addAction(QStringLiteral("フォント色")), &QAction::triggered, this,
            &DiaryWindow::chooseFontColor);
    connect(basics->addAction(QStringLiteral("背景色")), &QAction::triggered, this,
            &DiaryWindow::chooseBackColor);
    readOnlyAction_ = basics->addAction(QStringLiteral("読み取り専用"));
    readOnlyAction_->setCheckable(true);
    connect(readOnlyAction_, &QAction::triggered, this, &DiaryWindow::toggleReadOnly);
    QMenu* operations = menu_->addMenu(QStringLiteral("操作"));
    const auto shortcut = [this, operations](const QString& text, const QKeySequence& keys,
                                             void (DiaryWindow::*slot)()) {
        QAction* action = operations->addAction(text);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, slot);
    };
    shortcut(QStringLiteral("検索"), QKeySequence(Qt::CTRL | Qt::Key_F), &DiaryWindow::openFind);
    shortcut(QStringLiteral("置換"), QKeySequence(Qt::CTRL | Qt::Key_R), &DiaryWindow::openReplace);
    shortcut(QStringLiteral("印刷"), QKeySequence(Qt::CTRL | Qt::Key_P), &DiaryWindow::printPage);
    menu_->addSeparator();
    connect(menu_->addAction(QStringLiteral("閉じる")), &QAction::triggered, this, &QWidget::close);
    editor_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(editor_, &QTextEdit::customContextMenuRequested, this, [this](const QPoint& at) {
        undoAction_->setEnabled(editor_->document()->isUndoAvailable());
        menu_->popup(editor_->mapToGlobal(at));
    });
}

void DiaryWindow::contextMenuEvent(QContextMenuEvent* event) {
    undoAction_->setEnabled(editor_->document()->isUndoAvailable());
    menu_->popup(event->globalPos());
}

bool DiaryWindow::isModified() const {
    return modified_ || editor_->document()->isModified();
}

void DiaryWindow::updateCaption() {
    setWindowTitle(qs(pageCaption(day_)) +
                   (header_.readOnly ? QStringLiteral(" (RO)") : QString()));
}

void DiaryWindow::placeWindow(int left, int top, int width, int height, bool pull) {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QRect wanted(left, top, width, height);
    bool onSomeScreen = false;
    for (QScreen* each : QGuiApplication::screens())
        onSomeScreen = onSomeScreen || each->availableGeometry().intersects(wanted);
    // A stored place keeps the window on the screen; one from the page only
    // when it lies on no screen at all.
    if (pull || !onSomeScreen) {
        mainwindow::pullOnScreen(left, top, width, height,
                                 {area.left(), area.top(), area.width(), area.height()});
    }
    resize(width, height);
    move(left, top);
}

void DiaryWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    bar_->setColorChooser([this](const QColor& initial, QWidget* parent) {
        return dialogs_.chooseColor(parent, initial);
    });
    load();
}

void DiaryWindow::load() {
    core::PlaySoundCue(settings_, "ope");
    updateCaption();
    const PageDefaults defaults = readPageDefaults(settings_);
    placeWindow(defaults.left, defaults.top, defaults.width, defaults.height, true);
    OpenOutcome outcome;
    try {
        outcome = openPage(folder_, day_, defaults, true);
    } catch (const platform::IoError& error) {
        outcome.failure = OpenFailure::Unreadable;
        outcome.message = error.what();
    }
    if (outcome.failure != OpenFailure::None) {
        // The file stays as it is: the window closes without writing.
        refused_ = true;
        noSave_ = true;
        path_ = outcome.page.path;
        dialogs_.warn(this, qs(outcome.message));
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    OpenedPage& page = outcome.page;
    path_ = page.path;
    header_ = page.header;
    loaded_ = page.loaded;
    applyHeader();
    if (page.placementFromFile)
        placeWindow(*header_.left, *header_.top, *header_.width, *header_.height, false);
    if (!page.body.empty())
        richtext::loadRichText(page.body, *editor_->document());
    else
        editor_->clear();
    editor_->moveCursor(QTextCursor::Start);
    delete_->setEnabled(loaded_);
    status_->setText(page.loaded ? qs(page.status) : QString());
    if (!page.problems.empty()) {
        QString text;
        for (const HeaderProblem& problem : page.problems)
            text += QStringLiteral("%1行目: %2\r").arg(problem.line).arg(qs(problem.text));
        dialogs_.warn(this, text.trimmed());
    }
    editor_->document()->setModified(false);
    modified_ = false;
    bar_->refresh();
    ruler_->refresh();
}

void DiaryWindow::applyHeader() {
    title_->setText(qs(header_.title));
    weather_->setText(qs(header_.weather));
    QPalette palette = editor_->palette();
    palette.setColor(QPalette::Text, mainwindow::colorFromValue(*header_.fontColor, palette));
    palette.setColor(QPalette::Base, mainwindow::colorFromValue(*header_.backColor, palette));
    editor_->setPalette(palette);
    editor_->setReadOnly(header_.readOnly);
    editor_->setToolTip(header_.readOnly ? QStringLiteral("読み取り専用です。")
                                         : QStringLiteral("編集が可能です。"));
    readOnlyAction_->setChecked(header_.readOnly);
    updateCaption();
}

void DiaryWindow::toggleReadOnly() {
    header_.readOnly = !header_.readOnly;
    editor_->setReadOnly(header_.readOnly);
    editor_->setToolTip(header_.readOnly ? QStringLiteral("読み取り専用です。")
                                         : QStringLiteral("編集が可能です。"));
    readOnlyAction_->setChecked(header_.readOnly);
    updateCaption();
    markModified();
}

void DiaryWindow::chooseFontColor() {
    const QColor current = editor_->palette().color(QPalette::Text);
    const std::optional<QColor> color = dialogs_.chooseColor(this, current);
    if (!color)
        return;  // cancelled: nothing changes
    QPalette palette = editor_->palette();
    palette.setColor(QPalette::Text, *color);
    editor_->setPalette(palette);
    header_.fontColor = mainwindow::valueFromColor(*color);
    markModified();
}

void DiaryWindow::chooseBackColor() {
    const QColor current = editor_->palette().color(QPalette::Base);
    const std::optional<QColor> color = dialogs_.chooseColor(this, current);
    if (!color)
        return;  // cancelled: nothing changes
    QPalette palette = editor_->palette();
    palette.setColor(QPalette::Base, *color);
    editor_->setPalette(palette);
    header_.backColor = mainwindow::valueFromColor(*color);
    markModified();
}

bool DiaryWindow::textsFitCp932() {
    for (const auto& [field, text] :
         {std::pair{"タイトル", title_->text()}, std::pair{"天気", weather_->text()}}) {
        if (const auto note = cp932Note(field, utf8(text))) {
            dialogs_.warn(this, qs(*note));
            return false;
        }
    }
    return true;
}

PageHeader DiaryWindow::currentHeader() {
    PageHeader header = header_;
    header.title = utf8(title_->text());
    header.weather = utf8(weather_->text());
    header.top = y();
    header.left = x();
    header.height = height();
    header.width = width();
    return header;
}

bool DiaryWindow::save() {
    if (!textsFitCp932())
        return false;
    const PageHeader header = currentHeader();
    settings_.writeInt("Nikki", "top", *header.top);
    settings_.writeInt("Nikki", "left", *header.left);
    settings_.writeInt("Nikki", "Height", *header.height);
    settings_.writeInt("Nikki", "Width", *header.width);
    try {
        const std::string body = richtext::saveRichText(*editor_->document());
        path_ = writePage(folder_, day_, loaded_ ? path_ : std::filesystem::path{},
                          composePage(header, body, SaveStyle::Ordinary));
    } catch (const std::exception& error) {
        dialogs_.warn(this, QStringLiteral("日記を保存できませんでした。\r") + qs(error.what()));
        return false;
    }
    header_ = header;
    loaded_ = true;
    modified_ = false;
    editor_->document()->setModified(false);
    return true;
}

void DiaryWindow::closeEvent(QCloseEvent* event) {
    core::PlaySoundCue(settings_, "clo");
    if (!noSave_ && isModified() && !save()) {
        // The page stays open with its content.
        event->ignore();
        return;
    }
    if (find_ != nullptr)
        find_->close();
    if (replace_ != nullptr)
        replace_->close();
    event->accept();
    emit closedPage(day_);
}

void DiaryWindow::endSession() {
    close();
}

void DiaryWindow::exportPlainText() {
    std::error_code error;
    if (!std::filesystem::is_directory(folder_, error))
        std::filesystem::create_directory(folder_, error);
    if (!textsFitCp932())
        return;
    const QString target = dialogs_.saveFileName(this, qs((folder_ / pageFileName(day_)).string()));
    if (target.isEmpty())
        return;  // cancelled: the page stays as it was
    const std::string text = richtext::documentPlainText(*editor_->document());
    const std::filesystem::path path(utf8(target));
    try {
        platform::writeFileAtomically(
            path, composePage(currentHeader(), plainBody(text), SaveStyle::PlainExport));
    } catch (const std::exception& failure) {
        dialogs_.warn(this, QStringLiteral("保存できませんでした。\r") + qs(failure.what()));
        return;
    }
    // Exported over its own file the page keeps the plain body; exported
    // elsewhere it is still saved as usual.
    const bool ownFile = std::filesystem::equivalent(path, path_, error) ||
                         std::filesystem::equivalent(path, folder_ / pageFileName(day_), error);
    if (ownFile)
        noSave_ = true;
    close();
}

void DiaryWindow::deletePage() {
    if (settings_.readInt("Form", "Delete", 0) == 0 && !dialogs_.confirmDelete(this))
        return;
    std::error_code error;
    if (loaded_ && std::filesystem::is_regular_file(path_, error)) {
        if (!std::filesystem::remove(path_, error)) {
            dialogs_.warn(this,
                          QStringLiteral("日記を削除できませんでした。\r") + qs(error.message()));
            return;
        }
        core::PlaySoundCue(settings_, "del");
    }
    noSave_ = true;
    close();
}

bool DiaryWindow::pictureShown() const {
    return stack_->currentWidget() == pictureView_;
}

void DiaryWindow::loadPicture() {
    image_ = QImage();
    const QString path = qs(header_.picture);
    if (!readablePicture(path))
        return;
    const std::string_view key = pictureKey(header_.picture);
    if (key == "BMP:")
        image_.load(path, "BMP");
    else if (key == "JPG:")
        image_ =
            schedule::JpegProgressWindow::decodeWithProgress(path, this, true, dialogs_.jpegError);
    if (!image_.isNull()) {
        picture_->setIcon(QIcon(QPixmap::fromImage(
            image_.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation))));
    }
}

void DiaryWindow::showPicture(bool show) {
    if (show && image_.isNull())
        loadPicture();
    if (show && !image_.isNull()) {
        const QPixmap pixmap = QPixmap::fromImage(image_);
        pictureView_->setPixmap(stretch_ ? pixmap.scaled(stack_->size(), Qt::IgnoreAspectRatio,
                                                         Qt::SmoothTransformation)
                                         : pixmap);
    } else if (show) {
        pictureView_->clear();
    }
    stack_->setCurrentWidget(show ? static_cast<QWidget*>(pictureView_) : editor_);
    showPictureAction_->setChecked(show);
}

void DiaryWindow::togglePicture() {
    if (pictureShown()) {
        showPicture(false);
        return;
    }
    if (!readablePicture(qs(header_.picture))) {
        choosePicture();
        return;
    }
    showPicture(true);
}

void DiaryWindow::choosePicture() {
    image_ = QImage();
    header_.picture = utf8(dialogs_.choosePicture(this, qs(header_.picture)));
    markModified();
    if (readablePicture(qs(header_.picture)))
        loadPicture();
    if (pictureShown())
        showPicture(true);
}

void DiaryWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (pictureShown() && stretch_)
        showPicture(true);
}

void DiaryWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        bar_->reloadHistory();
}

void DiaryWindow::openFind() {
    if (find_ == nullptr)
        find_ = new richtext::ui::FindDialog(finder_, this);
    find_->open();
}

void DiaryWindow::openReplace() {
    if (replace_ == nullptr) {
        replace_ = new richtext::ui::ReplaceDialog(finder_, this);
        connect(replace_, &richtext::ui::ReplaceDialog::replaced, this, [this] { markModified(); });
    }
    replace_->open();
}

void DiaryWindow::printPage() {
    QPrinter printer;
    if (!dialogs_.print(this, printer))
        return;
    printTo(printer);
}

void DiaryWindow::printTo(QPrinter& printer) {
    // A copy: the page itself is never touched by printing.
    const std::unique_ptr<QTextDocument> copy(editor_->document()->clone());
    QTextCursor cursor(copy.get());
    cursor.movePosition(QTextCursor::Start);
    const QString caption = windowTitle();
    cursor.insertBlock();
    cursor.movePosition(QTextCursor::Start);
    cursor.insertText(QStringLiteral("【") + caption + QStringLiteral("】"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("【タイトル：") + title_->text() + QStringLiteral("】"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("【天気：") + weather_->text() + QStringLiteral("】"));
    cursor.insertBlock();
    printer.setDocName(caption);
    copy->print(&printer);
}

bool DiaryWindow::selectFirst(const QString& text) {
    finder_.restart();
    return finder_.findNext(text);
}

}  // namespace hinagiku::diary::ui
