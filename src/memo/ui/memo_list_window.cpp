#include "memo/ui/memo_list_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyle>
#include <QTextEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

#include "core/data_folders.h"
#include "core/sound_cues.h"
#include "core/ui/action_guard.h"
#include "core/ui/busy_notice.h"
#include "core/ui/message_box.h"
#include "core/ui/session_end.h"
#include "mainwindow/ui/color_value.h"
#include "memo/memo_index.h"
#include "memo/memo_store.h"
#include "memo/ui/memo_reorder_window.h"
#include "memo/ui/memo_window.h"
#include "memo/ui/memo_windows.h"
#include "memo/ui/picture_view.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "richtext/text_document.h"
#include "richtext/ui/format_bar.h"
#include "richtext/ui/indent_ruler.h"
#include "schedule/ui/jpeg_progress_window.h"

namespace hinagiku::memo {
namespace {

constexpr int kKeyRole = Qt::UserRole + 1;
constexpr int kCategoryRole = Qt::UserRole + 2;
constexpr int kSplitterGrip = 6;  // a splitter released this near an edge takes half

QString reloadStatus() {
    return QStringLiteral("本のマークは未参照｡ メモは参照済､ 記入マークは操作可を意味します｡");
}
QString openStatus() {
    return QStringLiteral("このメモは開かれているので削除､リネームは出来ません｡");
}
QString closedStatus() {
    return QStringLiteral("ダブルクリックでメモ表示｡ 間隔を開けたクリックでリネーム｡");
}

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

QPointer<MemoListWindow>& listWindow() {
    static QPointer<MemoListWindow> window;
    return window;
}

// The node icons: a book for a category, a paper for an open memo (not
// editable here), a paper with a pen for a closed one.
QIcon paintIcon(MemoListWindow::NodeState state) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (state == MemoListWindow::NodeState::Category) {
        p.setPen(QColor(0, 0, 96));
        p.setBrush(QColor(64, 96, 200));
        p.drawRect(3, 2, 10, 12);
        p.fillRect(4, 3, 2, 11, QColor(0, 0, 96));
        p.fillRect(7, 5, 5, 2, Qt::white);
    } else {
        p.setPen(QColor(128, 112, 0));
        p.setBrush(QColor(255, 240, 96));
        p.drawRect(2, 2, 10, 12);
        p.setPen(QColor(128, 112, 0));
        for (int y = 5; y < 13; y += 3)
            p.drawLine(4, y, 10, y);
        if (state == MemoListWindow::NodeState::ClosedMemo) {
            p.setPen(QPen(QColor(200, 0, 0), 2));
            p.drawLine(8, 13, 14, 5);
        }
    }
    return {pixmap};
}

// Painted once: a tree of a thousand memos shares three icons.
const QIcon& nodeIcon(MemoListWindow::NodeState state) {
    static const std::array<QIcon, 3> icons{paintIcon(MemoListWindow::NodeState::Category),
                                            paintIcon(MemoListWindow::NodeState::ClosedMemo),
                                            paintIcon(MemoListWindow::NodeState::OpenMemo)};
    return icons[static_cast<std::size_t>(state)];
}

bool isOpenMemo(const std::string& key) {
    return findMemoWindow(key) != nullptr;
}

}  // namespace

MemoListWindow::MemoListWindow(platform::Settings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window), settings_(settings) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("メモ一覧"));

    // Left pane: the tree and its three buttons.
    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(2);
    tree_ = new QTreeWidget(left);
    tree_->setHeaderHidden(true);
    tree_->setToolTip(QStringLiteral("ダブルクリックでメモ表示"));
    tree_->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    tree_->setExpandsOnDoubleClick(false);
    tree_->installEventFilter(this);
    leftLayout->addWidget(tree_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(0);
    reorder_ = new QPushButton(QStringLiteral("並び替え"), left);
    reorder_->setToolTip(QStringLiteral("Memoを並び変えます｡"));
    delete_ = new QPushButton(QStringLiteral("削除"), left);
    delete_->setToolTip(QStringLiteral("Memoを削除します｡"));
    add_ = new QPushButton(QStringLiteral("追加"), left);
    add_->setToolTip(QStringLiteral("新規にMemoを作成します｡"));
    for (QPushButton* button : {reorder_, delete_, add_}) {
        button->setAutoDefault(false);
        button->setMinimumWidth(16);  // thirds of the tree's width, however narrow
        buttons->addWidget(button, 1);
    }
    leftLayout->addLayout(buttons);

    // Right pane: the preview group and "閉じる".
    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(2);
    group_ = new QGroupBox(right);
    auto* groupLayout = new QVBoxLayout(group_);
    groupLayout->setContentsMargins(2, 2, 2, 2);
    previewSplit_ = new QSplitter(Qt::Vertical, group_);
    previewSplit_->setHandleWidth(2);
    // Dragged to the bottom, the text gives way; the release puts it back (below).
    previewSplit_->setOpaqueResize(false);
    picture_ = new PictureView(previewSplit_);
    picture_->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* textPane = new QWidget(previewSplit_);
    auto* textLayout = new QVBoxLayout(textPane);
    textLayout->setContentsMargins(0, 0, 0, 0);
    textLayout->setSpacing(0);
    editor_ = new QTextEdit(textPane);
    editor_->setAcceptRichText(true);
    editor_->setLineWrapMode(QTextEdit::NoWrap);
    editor_->setContextMenuPolicy(Qt::CustomContextMenu);
    editor_->installEventFilter(this);
    bar_ = new richtext::ui::FormatBar(editor_, settings_, {}, textPane);
    ruler_ = new richtext::ui::IndentRuler(editor_, textPane);
    // The bar scrolls sideways in a narrow window rather than widen it.
    auto* barScroll = new QScrollArea(textPane);
    barScroll->setFrameShape(QFrame::NoFrame);
    barScroll->setWidgetResizable(true);
    barScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    barScroll->setWidget(bar_);
    barScroll->setFixedHeight(bar_->sizeHint().height() +
                              barScroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    textLayout->addWidget(barScroll);
    textLayout->addWidget(ruler_);
    textLayout->addWidget(editor_, 1);
    previewSplit_->addWidget(picture_);
    previewSplit_->addWidget(textPane);
    previewSplit_->setCollapsible(0, false);
    groupLayout->addWidget(previewSplit_);
    rightLayout->addWidget(group_, 1);
    auto* closeRow = new QHBoxLayout;
    auto* close = new QPushButton(QStringLiteral("閉じる"), right);
    close->setAutoDefault(false);
    closeRow->addStretch(1);
    closeRow->addWidget(close);
    rightLayout->addLayout(closeRow);

    split_ = new QSplitter(Qt::Horizontal, this);
    split_->setHandleWidth(2);
    split_->setOpaqueResize(false);
    split_->addWidget(left);
    split_->addWidget(right);
    split_->setStretchFactor(1, 1);
    split_->setCollapsible(0, false);
    status_ = new QLabel(this);
    status_->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(split_, 1);
    layout->addWidget(status_);

    buildMenus();
    using core::guard;
    connect(tree_, &QTreeWidget::currentItemChanged, this,
            guard([this](QTreeWidgetItem* current, QTreeWidgetItem* previous) {
                currentChanged(current, previous);
            }));
    connect(tree_, &QTreeWidget::itemChanged, this,
            guard([this](QTreeWidgetItem* item) { itemEdited(item); }));
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, guard([this](QTreeWidgetItem* item) {
                if (stateOf(item) != NodeState::Category)
                    openSelected();
            }));
    connect(reorder_, &QPushButton::clicked, this, guard(this, &MemoListWindow::openReorder));
    connect(delete_, &QPushButton::clicked, this, guard(this, &MemoListWindow::deleteSelected));
    connect(add_, &QPushButton::clicked, this, guard(this, &MemoListWindow::addMemo));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(split_, &QSplitter::splitterMoved, this, [this] { splitterReleased(); });
    connect(previewSplit_, &QSplitter::splitterMoved, this, [this] { splitterReleased(); });
    connect(editor_, &QTextEdit::cursorPositionChanged, this, [this] {
        bar_->refresh();
        ruler_->refresh();
    });
    connect(bar_, &richtext::ui::FormatBar::formatApplied, this,
            [this] { editor_->document()->setModified(true); });
    connect(ruler_, &richtext::ui::IndentRuler::indentsApplied, this,
            [this] { editor_->document()->setModified(true); });

    // The program ends (main window closed, SIGTERM, logout): edits are kept.
    connect(&core::SessionEnd::instance(), &core::SessionEnd::ending, this,
            [this] { core::runGuarded([this] { writeBack(); }); });

    placeWindow();
    reload();
}

MemoListWindow::~MemoListWindow() {
    core::runGuarded([this] { writeBack(); });
}

std::filesystem::path MemoListWindow::folder() const {
    return memoFolderOf(settings_);
}

void MemoListWindow::placeWindow() {
    int left = settings_.readInt("Memo_Tree", "left", 0);
    int top = settings_.readInt("Memo_Tree", "top", 0);
    const int width = std::max(200, settings_.readInt("Memo_Tree", "Width", 536));
    const int height = std::max(150, settings_.readInt("Memo_Tree", "Height", 368));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        left = std::max(0, std::min(left, area.right() + 1 - width));
        top = std::max(0, std::min(top, area.bottom() + 1 - height));
    }
    // The stored position is the frame's, as the window manager places it.
    resize(width, height);
    move(left, top);
}

void MemoListWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (panesPlaced_)
        return;
    // Once laid out at its size: sizes set earlier would be rescaled.
    panesPlaced_ = true;
    layout()->activate();
    const int treeWidth = std::max(20, settings_.readInt("Memo_Tree", "TreeWidth", 267));
    split_->setSizes({treeWidth, std::max(20, split_->width() - treeWidth)});
    const int richHeight = std::max(20, settings_.readInt("Memo_Tree", "RichHeight", 139));
    previewSplit_->setSizes({std::max(0, previewSplit_->height() - richHeight), richHeight});
}

void MemoListWindow::writePlacement() {
    const QRect g(pos(), size());
    const QList<int> tree = split_->sizes();
    const QList<int> preview = previewSplit_->sizes();
    const int treeWidth = tree.isEmpty() ? 267 : tree.first();
    // The text's height, also while the picture is hidden.
    const int richHeight = preview.size() < 2 ? 139 : preview.last();
    settings_.edit([&](platform::SettingsEdit& edit) {
        edit.writeText("Memo_Tree", "top", std::to_string(g.top()));
        edit.writeText("Memo_Tree", "left", std::to_string(g.left()));
        edit.writeText("Memo_Tree", "Width", std::to_string(g.width()));
        edit.writeText("Memo_Tree", "Height", std::to_string(g.height()));
        edit.writeText("Memo_Tree", "RichHeight", std::to_string(richHeight));
        edit.writeText("Memo_Tree", "TreeWidth", std::to_string(treeWidth));
    });
}

void MemoListWindow::splitterReleased() {
    // Released at the far edge: half the room instead of a vanished pane.
    const QList<int> sizes = split_->sizes();
    if (sizes.size() == 2 && sizes[1] <= kSplitterGrip) {
        const int room = std::max(sizes[0] + sizes[1], split_->width());
        split_->setSizes({room / 2, room - room / 2});
    }
    const QList<int> preview = previewSplit_->sizes();
    if (preview.size() == 2 && preview[1] <= kSplitterGrip) {
        const int room = std::max(preview[0] + preview[1], previewSplit_->height());
        previewSplit_->setSizes({room - room / 2, room / 2});
    }
}

MemoListWindow::NodeState MemoListWindow::stateOf(const QTreeWidgetItem* item) {
    if (item == nullptr || item->data(0, kKeyRole).toString().isEmpty())
        return NodeState::Category;
    return isOpenMemo(item->data(0, kKeyRole).toString().toStdString()) ? NodeState::OpenMemo
                                                                        : NodeState::ClosedMemo;
}

std::string MemoListWindow::selectedKey() const {
    const QTreeWidgetItem* item = tree_->currentItem();
    return item ? item->data(0, kKeyRole).toString().toStdString() : std::string();
}

int MemoListWindow::selectedCategory() const {
    const QTreeWidgetItem* item = tree_->currentItem();
    return item ? item->data(0, kCategoryRole).toInt() : 0;
}

QTreeWidgetItem* MemoListWindow::categoryItem(int category) const {
    return category >= 0 && category < tree_->topLevelItemCount() ? tree_->topLevelItem(category)
                                                                  : nullptr;
}

bool MemoListWindow::selectMemo(const std::string& key) {
    for (int c = 0; c < tree_->topLevelItemCount(); ++c) {
        QTreeWidgetItem* node = tree_->topLevelItem(c);
        for (int i = 0; i < node->childCount(); ++i) {
            if (node->child(i)->data(0, kKeyRole).toString().compare(q(key), Qt::CaseInsensitive) ==
                0) {
                tree_->setCurrentItem(node->child(i));
                return true;
            }
        }
    }
    return false;
}

void MemoListWindow::selectCategory(int category) {
    if (QTreeWidgetItem* node = categoryItem(category))
        tree_->setCurrentItem(node);
}

void MemoListWindow::reload(const std::string& key, int category, bool notice) {
    writeBack();
    std::unique_ptr<core::BusyNotice> busy;
    if (notice && isVisible()) {
        busy = std::make_unique<core::BusyNotice>(QStringLiteral("メモの一覧を取得しています。"));
        busy->showNow();
    }
    status_->setText(reloadStatus());
    index_ = readMemoIndex(settings_);
    const MemoIndex& index = index_;
    {
        building_ = true;
        const QSignalBlocker blocker(tree_);
        shown_ = {};
        clearPreview();
        tree_->clear();
        // Built apart and inserted at once: one model change for the whole tree.
        QList<QTreeWidgetItem*> nodes;
        for (int c = 0; c < kCategoryCount; ++c) {
            const CategoryListing& listing = index[static_cast<std::size_t>(c)];
            auto* node = new QTreeWidgetItem(QStringList{q(listing.treeName)});
            node->setData(0, kCategoryRole, c);
            node->setIcon(0, nodeIcon(NodeState::Category));
            node->setFlags(node->flags() | Qt::ItemIsEditable);
            QList<QTreeWidgetItem*> children;
            children.reserve(static_cast<qsizetype>(listing.memos.size()));
            for (const MemoEntry& entry : listing.memos) {
                auto* child = new QTreeWidgetItem(QStringList{q(entry.title)});
                child->setData(0, kKeyRole, q(entry.key));
                child->setData(0, kCategoryRole, c);
                const bool open = isOpenMemo(entry.key);
                child->setIcon(0, nodeIcon(open ? NodeState::OpenMemo : NodeState::ClosedMemo));
                if (!open)
                    child->setFlags(child->flags() | Qt::ItemIsEditable);
                children.append(child);
            }
            node->addChildren(children);
            nodes.append(node);
        }
        tree_->addTopLevelItems(nodes);
        tree_->expandAll();
    }
    // Selected while still building: the selection is shown once, below.
    if (key.empty() || !selectMemo(key)) {
        if (category >= 0)
            selectCategory(category);
        else if (tree_->topLevelItemCount() > 0)
            tree_->setCurrentItem(tree_->topLevelItem(0));
    }
    building_ = false;
    tree_->setFocus();
    showSelection();
}

void MemoListWindow::refresh() {
    if (!rebuildingMenu_)
        reload(selectedKey(), selectedCategory(), false);
}

void MemoListWindow::rebuildMemoMenu() {
    // The host refreshes this list too: it reloads itself right after.
    rebuildingMenu_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{rebuildingMenu_};
    if (memoHost().rebuildMemoMenu)
        memoHost().rebuildMemoMenu();
}

void MemoListWindow::currentChanged(QTreeWidgetItem* /*current*/, QTreeWidgetItem* /*previous*/) {
    if (building_)
        return;
    writeBack();
    showSelection();
}

void MemoListWindow::clearPreview() {
    pictureFile_.clear();
    picture_->setPicture({});
    picture_->hide();
    const QSignalBlocker blocker(editor_);
    editor_->clear();
    editor_->setPalette(palette());
    editor_->document()->setModified(false);
}

void MemoListWindow::showSelection() {
    shown_ = {};
    clearPreview();
    const QTreeWidgetItem* item = tree_->currentItem();
    if (item == nullptr) {
        editor_->setReadOnly(true);
        bar_->setEnabled(false);
        updateButtons();
        return;
    }
    const int category = item->data(0, kCategoryRole).toInt();
    const std::string key = item->data(0, kKeyRole).toString().toStdString();
    if (key.empty())
        showCategory(category);
    else
        showMemo(key, category);
    updateButtons();
}

void MemoListWindow::showCategory(int category) {
    shown_ = {{}, category, false};
    bar_->setEnabled(false);
    group_->setTitle(QStringLiteral("項目内のメモ一覧"));
    group_->setPalette(palette());
    editor_->setReadOnly(true);
    QPalette pal = editor_->palette();
    pal.setColor(QPalette::Base,
                 mainwindow::colorFromValue(settings_.readInt("Memo", "BackColor", 0xFFFFFF), pal));
    pal.setColor(QPalette::Text, palette().color(QPalette::WindowText));
    editor_->setPalette(pal);
    QStringList titles;
    for (const MemoEntry& entry : index_[static_cast<std::size_t>(category)].memos)
        titles << q(entry.title);
    const QSignalBlocker blocker(editor_);
    editor_->document()->setDefaultFont(font());
    editor_->setPlainText(titles.join(QLatin1Char('\n')));
    editor_->document()->setModified(false);
    status_->setText(reloadStatus());
}

void MemoListWindow::showMemo(const std::string& key, int category) {
    const std::filesystem::path body = MemoStore(settings_, folder()).bodyPath(key);
    std::string bytes;
    const bool read = platform::readWholeFile(body, bytes);
    std::error_code ec;
    // A body that is there but cannot be read is never replaced from here.
    const bool unreadable = !read && std::filesystem::exists(body, ec);
    const bool open = isOpenMemo(key);
    shown_ = {key, category, !open && !unreadable};
    {
        const QSignalBlocker blocker(editor_);
        QFont memoFont(q(settings_.readText("Memo", "FontName", "ＭＳ Ｐゴシック")));
        memoFont.setPointSize(std::max(1, settings_.readInt("Memo", "FontSize", 9)));
        editor_->document()->setDefaultFont(memoFont);
        if (read) {
            QPalette pal = editor_->palette();
            const int back = settings_.readInt(key, "BackColor",
                                               settings_.readInt("Memo", "BackColor", 0xFFFFFF));
            const int fore =
                settings_.readInt(key, "FontColor", settings_.readInt("Memo", "FontColor", 0));
            pal.setColor(QPalette::Base, mainwindow::colorFromValue(back, pal));
            pal.setColor(QPalette::Text, mainwindow::colorFromValue(fore, pal));
            editor_->setPalette(pal);
            richtext::loadRichText(bytes, *editor_->document());
            applyInset(*editor_->document());
        }
        editor_->document()->setModified(false);
        editor_->moveCursor(QTextCursor::Start);
    }
    readOnlyAction_->setChecked(settings_.readBool(key, "ReadOnly", false));
    QPalette groupPalette = palette();
    if (open) {
        group_->setTitle(QStringLiteral("メモ表示中（編集不可）"));
        groupPalette.setColor(QPalette::WindowText, Qt::red);
        status_->setText(openStatus());
    } else {
        group_->setTitle(QStringLiteral("編集が可能です。"));
        status_->setText(closedStatus());
    }
    if (unreadable)
        status_->setText(QStringLiteral("\"%1\" を読みこめません。").arg(q(body.string())));
    group_->setPalette(groupPalette);
    editor_->setReadOnly(!shown_.editable);
    bar_->setEnabled(shown_.editable);
    if (shown_.editable) {
        bar_->refresh();
        ruler_->refresh();
    }
    showPicture(key);
}

void MemoListWindow::showPicture(const std::string& key) {
    QString path = q(settings_.readText(key, "BmpFile", ""));
    if (!path.isEmpty() && !QFileInfo::exists(path)) {
        // A path from Windows: the memo folder's file of that name.
        const QString name = path.section(QLatin1Char('\\'), -1).section(QLatin1Char('/'), -1);
        const QString local = q((folder() / name.toStdString()).string());
        path = QFileInfo::exists(local) ? local : QString();
    }
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    QImage image = QFileInfo(path).suffix().toUpper() == QLatin1String("JPG")
                       ? schedule::JpegProgressWindow::decodeWithProgress(path, this, isVisible())
                       : QImage(path);
    if (image.isNull())
        return;
    pictureFile_ = path.toStdString();
    picture_->setPicture(std::move(image));
    picture_->show();
}

void MemoListWindow::updateButtons() {
    const NodeState state = stateOf(tree_->currentItem());
    const bool any = tree_->currentItem() != nullptr;
    add_->setEnabled(any && state == NodeState::Category);
    delete_->setEnabled(state == NodeState::ClosedMemo);
}

void MemoListWindow::writeBack() {
    if (deleting_ || shown_.key.empty() || !shown_.editable)
        return;
    if (!editor_->document()->isModified())
        return;
    // Opened meanwhile (the memo menu): its window owns the text now.
    if (isOpenMemo(shown_.key)) {
        shown_.editable = false;
        return;
    }
    const std::filesystem::path body = MemoStore(settings_, folder()).bodyPath(shown_.key);
    std::error_code ec;
    std::filesystem::create_directory(folder(), ec);
    platform::writeFileAtomically(body, richtext::saveRichText(*editor_->document()));
    editor_->document()->setModified(false);
    settings_.writeBool(shown_.key, "ReadOnly", readOnlyAction_->isChecked());
}

void MemoListWindow::addMemo() {
    core::PlaySoundCue(settings_, "sav");
    const int category = selectedCategory();
    writeBack();
    rebuildingMenu_ = true;
    MemoWindow* window = nullptr;
    try {
        window = createMemo(settings_, category);
    } catch (...) {
        rebuildingMenu_ = false;
        throw;
    }
    rebuildingMenu_ = false;
    reload(window ? window->key() : std::string(), category);
}

void MemoListWindow::deleteSelected() {
    const std::string key = selectedKey();
    const int category = selectedCategory();
    if (key.empty() || isOpenMemo(key))
        return;
    if (!core::RequireDataFolder(settings_))
        return;
    deleting_ = true;
    struct Resume {
        bool& flag;
        ~Resume() { flag = false; }
    } resume{deleting_};
    if (settings_.readInt("Form", "Delete", 0) == 0) {
        core::MessageRequest request;
        request.icon = QMessageBox::Question;
        request.text = QStringLiteral("削除しますか？");
        request.buttons = QMessageBox::Yes | QMessageBox::No;
        if (core::showMessage(this, request) != QMessageBox::Yes)
            return;
    }
    // Nothing of the preview is written to the memo being deleted.
    shown_ = {};
    editor_->document()->setModified(false);
    MemoStore(settings_, folder()).remove(key, category);
    core::PlaySoundCue(settings_, "del");
    rebuildMemoMenu();
    reload({}, category);
}

void MemoListWindow::openSelected() {
    const std::string key = selectedKey();
    if (key.empty())
        return;
    writeBack();
    const QTreeWidgetItem* item = tree_->currentItem();
    const bool shift = QApplication::keyboardModifiers() & Qt::ShiftModifier;
    openMemo(settings_, key, item->text(0).toStdString(), selectedCategory(), shift);
    // Now open: the tree's icon and the preview follow.
    reload(key, selectedCategory(), false);
}

void MemoListWindow::openReorder() {
    writeBack();
    const int category = selectedCategory();
    const std::string key = selectedKey();
    MemoReorderWindow dialog(settings_, category, this);
    dialog.exec();
    rebuildMemoMenu();
    reload(key, category);
}

void MemoListWindow::renameSelected(const QString& caption) {
    if (QTreeWidgetItem* item = tree_->currentItem()) {
        const QSignalBlocker blocker(tree_);
        item->setText(0, caption);
    }
    itemEdited(tree_->currentItem());
}

void MemoListWindow::itemEdited(QTreeWidgetItem* item) {
    if (building_ || item == nullptr)
        return;
    const int category = item->data(0, kCategoryRole).toInt();
    const std::string key = item->data(0, kKeyRole).toString().toStdString();
    QString caption = item->text(0);
    caption.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (!platform::fitsCp932(caption.toStdString())) {
        // The settings file would keep "?" in their place: nothing is written.
        core::MessageRequest request;
        request.icon = QMessageBox::Warning;
        request.text = QStringLiteral(
            "この名前には保存できない文字が含まれています。\r"
            "名前は変更されませんでした。");
        core::showMessage(this, request);
    } else if (key.empty()) {
        // An empty name would only bring the default back: kept as it was.
        if (!caption.isEmpty())
            settings_.writeText("Memo_Bun", std::to_string(category), caption.toStdString());
    } else if (!isOpenMemo(key)) {
        MemoStore(settings_, folder()).setTitle(key, category, caption.toStdString());
    }
    rebuildMemoMenu();
    // Deferred: the editor of the item is still closing.
    QMetaObject::invokeMethod(
        this, [this, key, category] { reload(key, category); }, Qt::QueuedConnection);
}

void MemoListWindow::setReadOnlyChecked(bool on) {
    if (shown_.key.empty() || !shown_.editable)
        return;
    writeBack();
    settings_.writeBool(shown_.key, "ReadOnly", on);
    showSelection();
}

void MemoListWindow::closeEvent(QCloseEvent* event) {
    core::runGuarded([this] {
        writeBack();
        writePlacement();
        core::PlaySoundCue(settings_, "clo");
    });
    event->accept();
    // Closed is no longer open, even before the deferred deletion.
    if (listWindow() == this)
        listWindow() = nullptr;
}

void MemoListWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (!isActiveWindow()) {
        core::runGuarded([this] { writeBack(); });
        return;
    }
    bar_->reloadHistory();
    // A memo opened or closed elsewhere meanwhile changes what may be edited.
    if (!shown_.key.empty() && shown_.editable == isOpenMemo(shown_.key))
        core::runGuarded([this] { refresh(); });
}

bool MemoListWindow::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == editor_ && event->type() == QEvent::FocusOut) ||
        (watched == tree_ && event->type() == QEvent::FocusIn))
        core::runGuarded([this] { writeBack(); });
    // The keyboard's way to the buttons: Delete deletes, Enter opens.
    // (a caption being edited has the keys in its own field).
    if (watched == tree_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete && delete_->isEnabled()) {
            core::runGuarded([this] { deleteSelected(); });
            return true;
        }
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !selectedKey().empty()) {
            core::runGuarded([this] { openSelected(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

MemoListWindow* openMemoList(platform::Settings& settings) {
    if (MemoListWindow* open = listWindow()) {
        open->show();
        open->raise();
        open->activateWindow();
        return open;
    }
    if (!core::RequireDataFolder(settings))
        return nullptr;
    auto* window = new MemoListWindow(settings);
    listWindow() = window;
    core::PlaySoundCue(settings, "ope");
    window->show();
    return window;
}

MemoListWindow* memoList() {
    return listWindow();
}

void refreshMemoList() {
    if (MemoListWindow* window = listWindow())
        window->refresh();
}

}  // namespace hinagiku::memo
