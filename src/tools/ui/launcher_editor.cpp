#include "tools/ui/launcher_editor.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <exception>

#include "core/sound_cues.h"
#include "core/ui/action_guard.h"
#include "core/ui/busy_notice.h"
#include "platform/file_search.h"
#include "tools/file_associations.h"
#include "tools/launcher_menu.h"
#include "tools/shortcut_folder.h"
#include "tools/ui/program_chooser.h"
#include "tools/ui/tool_dialogs.h"
#include "tools/ui/window_place.h"

namespace hinagiku::tools {
namespace {

constexpr const char* kNewTitle = "(新規登録)";
constexpr const char* kSeparatorShown = "(ｾﾊﾟﾚｰﾀ)";

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

std::function<void(LauncherEditor&)>& nestedRunner() {
    static std::function<void(LauncherEditor&)> runner = [](LauncherEditor& editor) {
        editor.exec();
    };
    return runner;
}

// A desktop entry's Name (the title of a dropped .desktop file).
std::string desktopName(const QString& path) {
    QSettings entry(path, QSettings::IniFormat);
    entry.beginGroup(QStringLiteral("Desktop Entry"));
    return entry.value(QStringLiteral("Name")).toString().toStdString();
}

}  // namespace

LauncherEditor::LauncherEditor(platform::Settings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    level_ = settings_.readText("Execmenu", "SubStack", "Main");
    if (level_.empty())
        level_ = "Main";
    depth_ = level_ == "Main" ? 1 : std::max(2, settings_.readInt("Execmenu", "SubCount", 2));
    setModal(true);
    setAcceptDrops(true);
    setWindowTitle(level_ == "Main" ? QStringLiteral("ランチャーメニューの設定")
                                    : QStringLiteral("ランチャーメニュー（サブ）の設定"));
    auto* layout = new QVBoxLayout(this);
    auto* levelLabel = new QLabel(qs(level_), this);
    levelLabel->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(levelLabel);

    auto* body = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    list_ = new QListWidget(this);
    list_->setContextMenuPolicy(Qt::ActionsContextMenu);
    left->addWidget(list_);
    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Title:"), this), 0, 0);
    title_ = new QLineEdit(this);
    fields->addWidget(title_, 0, 1, 1, 2);
    fields->addWidget(new QLabel(QStringLiteral("File:"), this), 1, 0);
    file_ = new QLineEdit(this);
    browse_ = new QToolButton(this);
    browse_->setText(QStringLiteral("..."));
    fields->addWidget(file_, 1, 1);
    fields->addWidget(browse_, 1, 2);
    left->addLayout(fields);
    auto* itemButtons = new QHBoxLayout;
    add_ = new QPushButton(QStringLiteral("新規追加"), this);
    separator_ = new QPushButton(QStringLiteral("セパレーター追加"), this);
    write_ = new QPushButton(QStringLiteral("書き込み"), this);
    itemButtons->addWidget(add_);
    itemButtons->addWidget(separator_);
    itemButtons->addWidget(write_);
    left->addLayout(itemButtons);
    auto* subRow = new QHBoxLayout;
    submenu_ = new QCheckBox(QStringLiteral("サブメニュー"), this);
    submenuEdit_ = new QPushButton(QStringLiteral("サブメニュー編集"), this);
    subRow->addWidget(submenu_);
    subRow->addWidget(submenuEdit_);
    left->addLayout(subRow);
    body->addLayout(left, 3);

    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("一時保存"), this));
    stackList_ = new QListWidget(this);
    right->addWidget(stackList_);
    toStack_ = new QPushButton(QStringLiteral("選択項目をStackに移動"), this);
    fromStack_ = new QPushButton(QStringLiteral("Stack選択項目をMenuに移動"), this);
    stackDelete_ = new QPushButton(QStringLiteral("削除"), this);
    right->addWidget(toStack_);
    right->addWidget(fromStack_);
    right->addWidget(stackDelete_);
    body->addLayout(right, 2);
    layout->addLayout(body);

    auto* bottom = new QHBoxLayout;
    save_ = new QPushButton(QStringLiteral("保存"), this);
    cancel_ = new QPushButton(QStringLiteral("キャンセル"), this);
    bottom->addStretch();
    bottom->addWidget(save_);
    bottom->addWidget(cancel_);
    layout->addLayout(bottom);
    status_ = new QLabel(QStringLiteral("マウスの移動により､ここにヘルプが表示されます。"), this);
    status_->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(status_);

    auto* editAction = new QAction(QStringLiteral("サブメニュー編集"), list_);
    list_->addAction(editAction);

    help(this, "Addで項目追加(Drop可)し Title/File設定後､ Writeで更新します。");
    help(title_, "Writeしないと無効になります。");
    help(file_, "Writeしないと無効になります。");
    help(add_, "項目を新規に追加します。");
    help(separator_, "セパレータを追加します。");
    help(write_, "設定された内容を Menu項目に書き込みます。");
    help(submenu_, "Fileが設定されていると選択できません。(SubMenuは２階層まで設定可)");
    help(submenuEdit_, "現在表示のメニューを保存し、サブメニューを編集します。");
    help(browse_, "関連付けされたファイルも設定できます。");
    help(list_, "変更後は､ Saveして終了しないと無効になります。");
    help(toStack_, "Menu項目を並び変える為に一時的にスタックします。");
    help(fromStack_, "スタックから戻し､ Menu項目を並び変えます。");
    help(stackList_, "下位項目に設定がある場合、そのサブメニューは削除できません。");
    help(stackDelete_, "問い合わせを行わずに削除しますので注意!!");
    help(save_, "変更内容を保存して終了します。");
    help(cancel_, "変更内容を保存せずに終了します。");
    help(status_, "マウスの移動により､ここにヘルプが表示されます。");

    if (depth_ >= 3) {
        submenu_->hide();
        submenuEdit_->hide();
        editAction->setVisible(false);
    }

    connect(list_, &QListWidget::currentRowChanged, this,
            core::guard(this, &LauncherEditor::selectionChanged));
    connect(stackList_, &QListWidget::currentRowChanged, this,
            core::guard(this, &LauncherEditor::updateButtons));
    connect(add_, &QPushButton::clicked, this, core::guard([this] { addItem(false); }));
    connect(separator_, &QPushButton::clicked, this, core::guard([this] { addItem(true); }));
    connect(write_, &QPushButton::clicked, this, core::guard(this, &LauncherEditor::writeItem));
    connect(browse_, &QToolButton::clicked, this, core::guard(this, &LauncherEditor::browse));
    connect(submenu_, &QCheckBox::clicked, this,
            core::guard(this, &LauncherEditor::submenuToggled));
    connect(submenuEdit_, &QPushButton::clicked, this,
            core::guard(this, &LauncherEditor::editSubmenu));
    connect(editAction, &QAction::triggered, this, core::guard([this] {
                if (submenuEdit_->isEnabled())
                    editSubmenu();
            }));
    connect(list_, &QListWidget::itemDoubleClicked, this, core::guard([this] {
                const int row = list_->currentRow();
                if (row < 0)
                    return;
                if (items_[static_cast<std::size_t>(row)].submenu) {
                    if (submenuEdit_->isEnabled() && submenuEdit_->isVisible())
                        editSubmenu();
                } else {
                    moveToStack();
                }
            }));
    connect(stackList_, &QListWidget::itemDoubleClicked, this,
            core::guard(this, &LauncherEditor::moveFromStack));
    connect(toStack_, &QPushButton::clicked, this, core::guard(this, &LauncherEditor::moveToStack));
    connect(fromStack_, &QPushButton::clicked, this,
            core::guard(this, &LauncherEditor::moveFromStack));
    connect(stackDelete_, &QPushButton::clicked, this,
            core::guard(this, &LauncherEditor::deleteFromStack));
    connect(save_, &QPushButton::clicked, this, core::guard(this, &LauncherEditor::saveAndClose));
    connect(cancel_, &QPushButton::clicked, this, core::guard(this, &LauncherEditor::reject));
    connect(title_, &QLineEdit::textEdited, this, core::guard([this](const QString& text) {
                // "Main" is the top level's name: a title may not take it.
                if (text.compare(QStringLiteral("MAIN"), Qt::CaseInsensitive) == 0)
                    title_->clear();
            }));
    connect(file_, &QLineEdit::textChanged, this, core::guard([this] { updateButtons(); }));
    resize(560, 420);
}

void LauncherEditor::openTopLevel(platform::Settings& settings, QWidget* parent,
                                  const std::function<void()>& rebuild) {
    settings.writeText("Execmenu", "SubStack", "Main");
    {
        LauncherEditor editor(settings, parent);
        editor.exec();
    }
    if (rebuild)
        rebuild();
}

void LauncherEditor::setNestedRunner(std::function<void(LauncherEditor&)> runner) {
    nestedRunner() = runner ? std::move(runner) : [](LauncherEditor& editor) { editor.exec(); };
}

void LauncherEditor::help(QWidget* widget, const char* text) {
    widget->setProperty("statusHelp", QString::fromUtf8(text));
    widget->installEventFilter(this);
}

bool LauncherEditor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        const QVariant text = watched->property("statusHelp");
        if (text.isValid())
            status_->setText(text.toString());
    }
    return QDialog::eventFilter(watched, event);
}

void LauncherEditor::load() {
    core::BusyNotice notice(level_ == "Main"
                                ? QStringLiteral("ランチャーメニューを読み込んでいます。")
                                : QStringLiteral("サブメニューを読み込んでいます。"));
    notice.showNow();
    items_ = readLauncherLevel(settings_, level_);
    refreshList(items_.empty() ? -1 : 0);
    if (items_.empty())
        add_->setFocus();
}

void LauncherEditor::refreshList(int select) {
    ++updating_;
    list_->clear();
    for (const LevelItem& item : items_)
        list_->addItem(qs(item.title));
    stackList_->clear();
    for (const LevelItem& item : stack_)
        stackList_->addItem(qs(item.title));
    --updating_;
    list_->setCurrentRow(select);
    selectionChanged();
}

bool LauncherEditor::submenuHasItems(const LevelItem& item) const {
    return item.submenu && levelHasItems(settings_, sublevelName(level_, item.title));
}

void LauncherEditor::selectionChanged() {
    if (updating_ > 0)
        return;
    ++updating_;
    const int row = list_->currentRow();
    const bool selected = row >= 0 && row < static_cast<int>(items_.size());
    const LevelItem item = selected ? items_[static_cast<std::size_t>(row)] : LevelItem{};
    const bool separator = selected && item.title == "-";
    title_->setText(separator ? QString::fromUtf8(kSeparatorShown) : qs(item.title));
    file_->setText(separator ? QString() : qs(item.command));
    submenu_->setChecked(selected && item.submenu && !separator);
    --updating_;
    updateButtons();
}

void LauncherEditor::updateButtons() {
    if (updating_ > 0)
        return;
    const int row = list_->currentRow();
    const bool selected = row >= 0 && row < static_cast<int>(items_.size());
    const LevelItem item = selected ? items_[static_cast<std::size_t>(row)] : LevelItem{};
    const bool separator = selected && item.title == "-";
    const bool locked = selected && submenuHasItems(item);
    if (!selected || separator) {
        for (QWidget* w : std::initializer_list<QWidget*>{title_, file_, submenu_, write_, browse_})
            w->setEnabled(false);
        submenuEdit_->setEnabled(false);
    } else if (item.submenu) {
        file_->setEnabled(false);
        browse_->setEnabled(false);
        submenuEdit_->setEnabled(true);
        title_->setEnabled(!locked);
        write_->setEnabled(!locked);
        submenu_->setEnabled(!locked);
    } else {
        title_->setEnabled(true);
        file_->setEnabled(true);
        browse_->setEnabled(true);
        write_->setEnabled(true);
        submenu_->setEnabled(file_->text().isEmpty());
        submenuEdit_->setEnabled(false);
    }
    toStack_->setEnabled(selected);
    const int stackRow = stackList_->currentRow();
    const bool stackSelected = stackRow >= 0 && stackRow < static_cast<int>(stack_.size());
    fromStack_->setEnabled(stackSelected);
    stackDelete_->setEnabled(stackSelected &&
                             !submenuHasItems(stack_[static_cast<std::size_t>(stackRow)]));
    save_->setEnabled(stack_.empty());
}

void LauncherEditor::addItem(bool separator) {
    const int row = list_->currentRow();
    LevelItem item{separator ? "-" : kNewTitle, {}, false};
    const int at = row >= 0 ? row : static_cast<int>(items_.size());
    items_.insert(items_.begin() + at, item);
    refreshList(at);
}

bool LauncherEditor::writeItem() {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(items_.size()))
        return false;
    const std::string title = title_->text().toStdString();
    const std::string command = file_->text().toStdString();
    for (const std::string& text : {title, command}) {
        if (const auto problem = launcherTextProblem(text)) {
            toolDialogs().warn(this, qs(*problem), {});
            return false;
        }
    }
    core::PlaySoundCue(settings_, "c1");
    LevelItem& item = items_[static_cast<std::size_t>(row)];
    item.title = title;
    if (!item.submenu)
        item.command = command;
    refreshList(row);
    return true;
}

void LauncherEditor::submenuToggled(bool on) {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(items_.size()))
        return;
    LevelItem& item = items_[static_cast<std::size_t>(row)];
    item.submenu = on;
    if (on) {
        // The typed title stays for "書き込み"; the command goes.
        item.command.clear();
        file_->clear();
    }
    updateButtons();
}

void LauncherEditor::browse() {
    const QString chosen = chooseProgramFile(this, file_->text(), true);
    if (chosen.isEmpty())
        return;
    file_->setText(qs(commandForPath(chosen.toStdString())));
    if (title_->text() == QString::fromUtf8(kNewTitle))
        title_->setText(QFileInfo(chosen).completeBaseName());
}

void LauncherEditor::moveToStack() {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(items_.size()))
        return;
    stack_.push_back(items_[static_cast<std::size_t>(row)]);
    items_.erase(items_.begin() + row);
    refreshList(std::min(row, static_cast<int>(items_.size()) - 1));
}

void LauncherEditor::moveFromStack() {
    const int stackRow = stackList_->currentRow();
    if (stackRow < 0 || stackRow >= static_cast<int>(stack_.size()))
        return;
    const int row = list_->currentRow();
    const int at = row >= 0 ? row + 1 : static_cast<int>(items_.size());
    items_.insert(items_.begin() + at, stack_[static_cast<std::size_t>(stackRow)]);
    stack_.erase(stack_.begin() + stackRow);
    refreshList(at);
}

void LauncherEditor::deleteFromStack() {
    const int stackRow = stackList_->currentRow();
    if (stackRow < 0 || stackRow >= static_cast<int>(stack_.size()))
        return;
    if (submenuHasItems(stack_[static_cast<std::size_t>(stackRow)]))
        return;
    core::PlaySoundCue(settings_, "del");
    stack_.erase(stack_.begin() + stackRow);
    refreshList(list_->currentRow());
}

bool LauncherEditor::saveLevel() {
    if (!stack_.empty())
        return false;
    try {
        saveLauncherLevel(settings_, level_, items_);
    } catch (const std::exception& error) {
        toolDialogs().warn(this, QString::fromUtf8(error.what()), {});
        return false;
    }
    return true;
}

void LauncherEditor::saveAndClose() {
    core::PlaySoundCue(settings_, "sav");
    if (saveLevel())
        accept();
}

void LauncherEditor::editSubmenu() {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(items_.size()) || depth_ >= 3 || !stack_.empty())
        return;
    if (!items_[static_cast<std::size_t>(row)].submenu)
        return;
    // The fields are written and the level saved first, as "書き込み" and "保存" do.
    if (title_->isEnabled() && !writeItem())
        return;
    if (!saveLevel())
        return;
    const std::string title = items_[static_cast<std::size_t>(row)].title;
    settings_.writeText("Execmenu", "SubStack", sublevelName(level_, title));
    settings_.writeInt("Execmenu", "SubCount", depth_ + 1);
    {
        LauncherEditor nested(settings_, this);
        nestedRunner()(nested);
    }
    settings_.writeText("Execmenu", "SubStack", level_);
    refreshList(row);
}

void LauncherEditor::dropFiles(const std::vector<std::string>& paths) {
    try {
        for (const std::string& path : paths) {
            const QString qpath = qs(path);
            std::string title;
            if (platform::foldAsciiCase(fileExtension(path)) == ".desktop")
                title = desktopName(qpath);
            if (title.empty())
                title = QFileInfo(qpath).fileName().toStdString();
            stack_.push_back({title, commandForPath(path), false});
        }
    } catch (const std::exception&) {
        toolDialogs().warn(this, qs(std::string(kDropFailure)), {});
    }
    refreshList(list_->currentRow());
}

void LauncherEditor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    core::PlaySoundCue(settings_, "ope");
    if (level_ == "Main")
        settings_.writeInt("Execmenu", "SubCount", 1);
    const std::string depth = std::to_string(depth_);
    restorePlace(this, settings_, "Execmenu", "top" + depth, "left" + depth);
    load();
}

void LauncherEditor::finish() {
    if (finished_)
        return;
    finished_ = true;
    const std::string depth = std::to_string(depth_);
    storePlace(this, settings_, "Execmenu", "top" + depth, "left" + depth);
    settings_.writeInt("Execmenu", "SubCount", settings_.readInt("Execmenu", "SubCount", 2) - 1);
    core::PlaySoundCue(settings_, "clo");
}

void LauncherEditor::done(int result) {
    finish();
    QDialog::done(result);
}

void LauncherEditor::closeEvent(QCloseEvent* event) {
    finish();
    QDialog::closeEvent(event);
}

void LauncherEditor::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void LauncherEditor::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile().toStdString());
    }
    event->acceptProposedAction();
    dropFiles(paths);
}

}  // namespace hinagiku::tools
