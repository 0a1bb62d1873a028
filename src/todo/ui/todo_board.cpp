#include "todo/ui/todo_board.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>
#include <set>
#include <utility>

#include "core/sound_cues.h"
#include "core/ui/action_guard.h"
#include "core/ui/application.h"
#include "core/ui/session_end.h"
#include "platform/atomic_file.h"
#include "platform/cp932.h"
#include "richtext/text_document.h"
#include "richtext/ui/find_dialog.h"
#include "richtext/ui/format_bar.h"
#include "richtext/ui/replace_dialog.h"
#include "richtext/ui/text_finder.h"
#include "todo/note_print.h"
#include "todo/ui/node_icons.h"
#include "todo/ui/outline_tree.h"

namespace hinagiku::todo::ui {
namespace {

constexpr std::string_view kSection = "TodoBoard";
constexpr int kSplitterSnap = 6;

QString title(const Node& node) {
    return QString::fromStdString(platform::fromCp932(node.title));
}

}  // namespace

std::function<void(const QString&)>& TodoBoard::messageSink() {
    static std::function<void(const QString&)> sink = [](const QString& message) {
        core::reportError(message);
    };
    return sink;
}

std::function<bool(QWidget*)>& TodoBoard::confirmDelete() {
    static std::function<bool(QWidget*)> ask = [](QWidget* parent) {
        QApplication::beep();
        QMessageBox box(QMessageBox::Question, QStringLiteral("確認"),
                        QStringLiteral("削除しますか？"), QMessageBox::Yes | QMessageBox::No,
                        parent);
        box.move(parent->geometry().topLeft());
        return box.exec() == QMessageBox::Yes;
    };
    return ask;
}

TodoBoard* TodoBoard::open(platform::Settings& settings, const platform::Clock& clock,
                           const std::filesystem::path& folder) {
    auto store = std::make_unique<TodoStore>(folder, settings);
    auto result = store->load();
    if (const auto* damage = std::get_if<Damage>(&result)) {
        messageSink()(QString::fromStdString(damageMessage(*damage)));
        return nullptr;
    }
    auto* board = new TodoBoard(settings, clock, std::move(store),
                                std::move(std::get<PairRead>(result).outline));
    board->setAttribute(Qt::WA_DeleteOnClose);
    board->show();
    return board;
}

TodoBoard::TodoBoard(platform::Settings& settings, const platform::Clock& clock,
                     std::unique_ptr<TodoStore> store, Outline outline, QWidget* parent)
    : QWidget(parent, Qt::Window),
      settings_(settings),
      clock_(clock),
      store_(std::move(store)),
      outline_(std::move(outline)),
      finder_(nullptr) {
    setWindowTitle(QStringLiteral("Todo Board"));
    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);
    auto* buttons = new QHBoxLayout;
    add_ = new QPushButton(QStringLiteral("追加"));
    add_->setToolTip(QStringLiteral("新規登録"));
    delete_ = new QPushButton(QStringLiteral("削除"));
    delete_->setToolTip(QStringLiteral("ごみ箱を全て空にします。"));
    buttons->addWidget(add_, 1);
    buttons->addWidget(delete_, 1);
    leftLayout->addLayout(buttons);
    tree_ = new OutlineTree;
    leftLayout->addWidget(tree_);

    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    editor_ = new QTextEdit;
    editor_->setAcceptRichText(true);
    bar_ = new richtext::ui::FormatBar(editor_, settings_, {.alignment = false});
    rightLayout->addWidget(bar_);
    rightLayout->addWidget(editor_);
    finder_ = std::make_unique<richtext::ui::TextFinder>(editor_);

    splitter_ = new QSplitter(Qt::Horizontal);
    splitter_->setOpaqueResize(false);
    splitter_->setHandleWidth(2);
    splitter_->addWidget(left);
    splitter_->addWidget(right);
    splitter_->setChildrenCollapsible(false);
    status_ = new QLabel(QStringLiteral("やるべき事、やった事を管理できます。"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(splitter_, 1);
    layout->addWidget(status_);

    // Placement, kept on the screen.
    int x = settings_.readInt(kSection, "left", 0), y = settings_.readInt(kSection, "top", 0);
    const int w = std::max(200, settings_.readInt(kSection, "Width", 652));
    const int h = std::max(150, settings_.readInt(kSection, "Height", 402));
    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        x = std::max(0, std::min(x, area.right() - w));
        y = std::max(0, std::min(y, area.bottom() - h));
    }
    // Positions are the frame's, as x() and y() give them at close; sizes
    // are the client area's. Mixing them moves the window by its title bar
    // on every opening.
    resize(w, h);
    move(std::max(0, x), std::max(0, y));
    const int treeWidth = std::max(20, settings_.readInt(kSection, "TreeWidth", 233));
    splitter_->setSizes({treeWidth, std::max(20, w - treeWidth)});

    tree_->canDrag = [this](std::uint64_t id) {
        const auto pos = outline_.positionOf(id);
        return pos && outline_.at(*pos).kind() == NodeKind::Item;
    };
    connect(tree_, &OutlineTree::dropEnded, this,
            core::guard([this] { core::PlaySoundCue(settings_, "c1"); }));
    connect(tree_, &OutlineTree::dropped, this, core::guard(this, &TodoBoard::moveNode));
    connect(tree_, &QTreeWidget::currentItemChanged, this,
            core::guard([this](QTreeWidgetItem* current) { onCurrentChanged(current); }));
    connect(tree_, &QTreeWidget::itemChanged, this,
            core::guard([this](QTreeWidgetItem* item) { onItemEdited(item); }));
    connect(tree_, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { refreshIcon(item); });
    connect(tree_, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* item) { refreshIcon(item); });
    connect(add_, &QPushButton::clicked, this, core::guard([this] { addItem(); }));
    connect(delete_, &QPushButton::clicked, this, core::guard([this] { emptyTrash(); }));
    connect(splitter_, &QSplitter::splitterMoved, this, [this](int pos) {
        if (pos >= width() - kSplitterSnap)
            splitter_->setSizes({width() / 2, width() - width() / 2});
    });
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree_, &QWidget::customContextMenuRequested, this,
            core::guard(this, &TodoBoard::showOutlineMenu));
    editor_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(editor_, &QWidget::customContextMenuRequested, this,
            core::guard(this, &TodoBoard::showTextMenu));
    connect(&core::SessionEnd::instance(), &core::SessionEnd::ending, this, core::guard([this] {
        closePath();
        hide();
    }));
    for (QObject* watched : std::initializer_list<QObject*>{
             bar_, editor_->viewport(), tree_->viewport(), add_, delete_, status_})
        watched->installEventFilter(this);
    editor_->installEventFilter(this);

    core::PlaySoundCue(settings_, "ope");
    rebuildTree();
    bar_->refresh();
    std::size_t index =
        static_cast<std::size_t>(std::max(0, settings_.readInt(kSection, "Index", 0)));
    if (index >= outline_.size())
        index = 0;
    selectPosition(index);
}

TodoBoard::~TodoBoard() {
    // The outline's children outlive this object's members: a title editor
    // committing while the widgets go must not reach the board.
    tree_->disconnect(this);
}

bool TodoBoard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        if (watched == bar_)
            status_->setText(QStringLiteral("文字を修飾します。"));
        else if (watched == editor_->viewport())
            status_->setText(QStringLiteral("ToDoの内容を記述します。"));
        else if (watched == tree_->viewport())
            status_->setText(QStringLiteral("ドラッグ & ドロップで項目を移動できます。"));
        else if (watched == add_)
            status_->setText(QStringLiteral("新しいToDo項目を追加します。"));
        else if (watched == delete_)
            status_->setText(QStringLiteral("ごみ箱のToDo項目を全て削除します。"));
        else if (watched == status_)
            status_->setText(QStringLiteral("やるべき事、やった事を管理できます。"));
    } else if (event->type() == QEvent::FocusOut && watched == editor_) {
        saveNote();  // the text area loses the focus
    }
    return QWidget::eventFilter(watched, event);
}

void TodoBoard::rebuildTree() {
    rebuilding_ = true;
    // Folders the user collapsed stay collapsed.
    std::set<std::uint64_t> collapsed;
    for (QTreeWidgetItemIterator it(tree_); *it; ++it) {
        if ((*it)->childCount() > 0 && !(*it)->isExpanded())
            collapsed.insert(OutlineTree::nodeId(*it));
    }
    tree_->clear();
    std::vector<QTreeWidgetItem*> stack;
    for (const Node& node : outline_.nodes()) {
        const auto level = static_cast<std::size_t>(node.level);
        stack.resize(std::min(stack.size(), level));
        auto* item = stack.empty() ? new QTreeWidgetItem(tree_) : new QTreeWidgetItem(stack.back());
        item->setText(0, title(node));
        item->setData(0, Qt::UserRole, static_cast<qulonglong>(node.id));
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (node.kind() != NodeKind::Trash)
            flags |= Qt::ItemIsEditable;
        item->setFlags(flags);
        stack.push_back(item);
    }
    tree_->expandAll();
    for (QTreeWidgetItemIterator it(tree_); *it; ++it) {
        if (collapsed.contains(OutlineTree::nodeId(*it)))
            (*it)->setExpanded(false);
        refreshIcon(*it);
    }
    rebuilding_ = false;
    updateDeleteButton();
}

void TodoBoard::refreshIcon(QTreeWidgetItem* item) {
    const auto pos = outline_.positionOf(OutlineTree::nodeId(item));
    if (!pos)
        return;
    NodeIcon icon = NodeIcon::Item;
    switch (outline_.at(*pos).kind()) {
        case NodeKind::Folder:
            icon = item->childCount() > 0 && item->isExpanded() ? NodeIcon::FolderOpen
                                                                : NodeIcon::FolderClosed;
            break;
        case NodeKind::Trash:
            icon = item->childCount() > 0 ? NodeIcon::TrashFull : NodeIcon::TrashEmpty;
            break;
        case NodeKind::Item:
            break;
    }
    const bool wasRebuilding = std::exchange(rebuilding_, true);  // no title edit
    item->setIcon(0, nodeIcon(icon));
    rebuilding_ = wasRebuilding;
}

void TodoBoard::updateDeleteButton() {
    const auto trash = outline_.trash();
    delete_->setEnabled(trash && outline_.subtreeEnd(*trash) > *trash + 1);
}

std::optional<std::size_t> TodoBoard::selectedPosition() const {
    return outline_.positionOf(selected_);
}

void TodoBoard::selectPosition(std::size_t pos) {
    if (pos >= outline_.size())
        return;
    const std::uint64_t id = outline_.at(pos).id;
    QTreeWidgetItemIterator it(tree_);
    for (; *it; ++it) {
        if (OutlineTree::nodeId(*it) == id) {
            if (tree_->currentItem() == *it)
                showNode(id);
            else
                tree_->setCurrentItem(*it);
            return;
        }
    }
}

void TodoBoard::onCurrentChanged(QTreeWidgetItem* current) {
    if (rebuilding_ || !current)
        return;
    saveNote();
    showNode(OutlineTree::nodeId(current));
}

void TodoBoard::showNode(std::uint64_t id) {
    selected_ = id;
    noteWritable_ = false;
    // A fresh document, filled before the editor lays it out: filling the
    // shown one lays out every line of a long note at once, while a new
    // document gets laid out lazily from the top.
    auto* document = new QTextDocument(editor_);
    document->setDefaultFont(font());
    bool readOnly = true;
    if (const auto pos = outline_.positionOf(id)) {
        const Node& node = outline_.at(*pos);
        if (node.kind() != NodeKind::Item) {
            document->setPlainText(QString::fromStdString(childTitles(outline_, *pos)));
        } else {
            const FolderListing listing(store_->folder());
            const auto entry = listing.find(node.marker);
            std::optional<std::string> bytes;
            if (entry)
                bytes = store_->readNote(node.marker, listing);
            if (entry && !bytes) {
                messageSink()(
                    QStringLiteral(
                        "ノートを読み込めません（通常のファイルでないか32MBを超えています）: ") +
                    QString::fromStdString((store_->folder() / entry->name).string()));
            } else {
                try {
                    if (bytes)
                        richtext::loadRichText(*bytes, *document);
                } catch (const std::exception&) {
                    document->clear();  // a note that fails to show shows empty
                }
                readOnly = false;
                noteWritable_ = true;
            }
        }
    }
    document->clearUndoRedoStacks();
    document->setModified(false);
    // The editor deletes a document only when it made it itself.
    QTextDocument* previous = editor_->document();
    const bool ours = previous->parent() == editor_;
    editor_->setDocument(document);
    editor_->setReadOnly(readOnly);
    if (ours)
        delete previous;
    bar_->refresh();
}

bool TodoBoard::saveNote() {
    if (!noteWritable_ || !editor_->document()->isModified())
        return true;
    const auto pos = outline_.positionOf(selected_);
    if (!pos)
        return true;  // the item went with the emptied trash
    try {
        store_->writeNote(outline_.at(*pos).marker, richtext::saveRichText(*editor_->document()));
        editor_->document()->setModified(false);
        return true;
    } catch (const std::exception& error) {
        messageSink()(QString::fromUtf8(error.what()));
        return false;
    }
}

bool TodoBoard::saveOutline() {
    try {
        store_->save(outline_);
        return true;
    } catch (const std::exception& error) {
        messageSink()(QString::fromUtf8(error.what()));
        return false;
    }
}

void TodoBoard::addItem() {
    saveNote();
    core::PlaySoundCue(settings_, "sav");
    Outline changed = outline_;
    std::size_t pos = 0;
    try {
        pos = store_->addItem(changed, clock_.now());
    } catch (const std::exception& error) {
        messageSink()(QString::fromUtf8(error.what()));
        return;
    }
    outline_ = std::move(changed);
    rebuildTree();
    tree_->setFocus();
    selectPosition(pos);
    if (QTreeWidgetItem* item = tree_->currentItem())
        tree_->editItem(item);
    QApplication::beep();
}

void TodoBoard::emptyTrash() {
    const auto trash = outline_.trash();
    if (!trash || outline_.subtreeEnd(*trash) == *trash + 1)
        return;
    if (settings_.readInt("Form", "Delete", 0) == 0 && !confirmDelete()(this))
        return;
    saveNote();
    const std::uint64_t trashId = outline_.at(*trash).id;
    EmptyResult result;
    try {
        result = store_->emptyTrash(outline_);
    } catch (const std::exception& error) {
        messageSink()(QString::fromUtf8(error.what()));
        return;
    }
    for (const auto& note : result.notes) {
        if (note.deleted)
            core::PlaySoundCue(settings_, "del");
    }
    noteWritable_ = false;  // a note shown from the trash is gone now
    rebuildTree();
    if (const auto pos = outline_.positionOf(trashId))
        selectPosition(*pos);
    editor_->clear();
}

void TodoBoard::moveNode(std::uint64_t from, std::uint64_t to) {
    const auto fromPos = outline_.positionOf(from), toPos = outline_.positionOf(to);
    if (!fromPos || !toPos)
        return;
    saveNote();
    Outline changed = outline_;
    if (changed.move(*fromPos, *toPos) != MoveResult::Moved)
        return;
    try {
        store_->save(changed);
    } catch (const std::exception& error) {
        messageSink()(QString::fromUtf8(error.what()));
        return;
    }
    outline_ = std::move(changed);
    const std::uint64_t keep = selected_;
    rebuildTree();
    // The selected note follows its item.
    if (const auto pos = outline_.positionOf(keep)) {
        rebuilding_ = true;
        QTreeWidgetItemIterator it(tree_);
        for (; *it; ++it) {
            if (OutlineTree::nodeId(*it) == keep)
                tree_->setCurrentItem(*it);
        }
        rebuilding_ = false;
    }
}

void TodoBoard::onItemEdited(QTreeWidgetItem* item) {
    if (rebuilding_)
        return;
    const auto pos = outline_.positionOf(OutlineTree::nodeId(item));
    if (!pos)
        return;
    const auto encoded = encodeTitle(item->text(0).toStdString());
    if (!encoded || outline_.at(*pos).kind() == NodeKind::Trash) {
        if (!encoded)
            messageSink()(QStringLiteral("タイトルにShift-JISで表せない文字があります。"));
        rebuilding_ = true;
        item->setText(0, title(outline_.at(*pos)));
        rebuilding_ = false;
        return;
    }
    if (*encoded != outline_.at(*pos).title) {
        Outline changed = outline_;
        changed.setTitle(*pos, *encoded);
        try {
            store_->save(changed);
            outline_ = std::move(changed);
        } catch (const std::exception& error) {
            messageSink()(QString::fromUtf8(error.what()));
        }
    }
    rebuilding_ = true;
    item->setText(0, title(outline_.at(*pos)));
    rebuilding_ = false;
    editor_->setFocus();
}

void TodoBoard::printTo(QPagedPaintDevice& device) {
    const auto pos = selectedPosition();
    if (!pos)
        return;
    printWithHeading(*editor_->document(), printHeading(outline_, *pos), device);
}

void TodoBoard::print() {
    QPrinter printer;
    printer.setDocName(QStringLiteral("Todo Board"));
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    printTo(printer);
}

int TodoBoard::replaceAll(const QString& what, const QString& replacement) {
    return finder_->replaceAll(what, replacement);
}

void TodoBoard::findText() {
    if (!findDialog_) {
        findDialog_ = new richtext::ui::FindDialog(*finder_, this);
        // The board searches the whole note from its beginning every time and
        // closes the dialog after each search, unlike the dialog's own
        // find-next.
        disconnect(findDialog_->findButton(), &QPushButton::clicked, findDialog_, nullptr);
        connect(findDialog_->findButton(), &QPushButton::clicked, this,
                core::guard([this] { findFromDialog(); }));
    }
    findDialog_->open();
}

bool TodoBoard::findFromDialog() {
    const QString what = findDialog_->textField()->text();
    findDialog_->close();
    raise();
    activateWindow();
    editor_->setFocus();
    const bool found = finder_->findFromStart(what);
    if (!found)
        QApplication::beep();
    return found;
}

void TodoBoard::replaceText() {
    auto* dialog = new richtext::ui::ReplaceDialog(*finder_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

std::unique_ptr<QMenu> TodoBoard::outlineMenu() {
    auto menu = std::make_unique<QMenu>(this);
    menu->addAction(QStringLiteral("新規登録"), this, core::guard([this] { addItem(); }));
    QAction* empty = menu->addAction(QStringLiteral("ごみ箱を空に"), this,
                                     core::guard([this] { emptyTrash(); }));
    empty->setEnabled(delete_->isEnabled());
    QAction* atStart = menu->addAction(QStringLiteral("起動時に表示"));
    atStart->setCheckable(true);
    const bool shown = settings_.readBool("Form", "Todo_pop", false);
    atStart->setChecked(shown);
    connect(atStart, &QAction::triggered, this,
            core::guard([this, shown] { settings_.writeBool("Form", "Todo_pop", !shown); }));
    menu->addAction(QStringLiteral("閉じる"), this, core::guard([this] { close(); }));
    return menu;
}

std::unique_ptr<QMenu> TodoBoard::textMenu() {
    auto menu = std::make_unique<QMenu>(this);
    const bool editable = !editor_->isReadOnly();
    menu->addAction(QStringLiteral("やり直し(&U)"), editor_, &QTextEdit::undo)
        ->setEnabled(editable);
    menu->addAction(QStringLiteral("切り抜き(&T)"), editor_, &QTextEdit::cut)->setEnabled(editable);
    menu->addAction(QStringLiteral("コピー(&C)"), editor_, &QTextEdit::copy);
    menu->addAction(QStringLiteral("貼り付け(&P)"), editor_, &QTextEdit::paste)
        ->setEnabled(editable);
    menu->addAction(QStringLiteral("すべてを選択(&S)"), editor_, &QTextEdit::selectAll);
    QMenu* tools = menu->addMenu(QStringLiteral("ツール"));
    tools->addAction(QStringLiteral("検索"), this, core::guard([this] { findText(); }));
    tools->addAction(QStringLiteral("置換"), this, core::guard([this] { replaceText(); }));
    tools->addAction(QStringLiteral("印刷"), this, core::guard([this] { print(); }));
    menu->addAction(QStringLiteral("閉じる"), this, core::guard([this] { close(); }));
    return menu;
}

void TodoBoard::showOutlineMenu(const QPoint& point) {
    outlineMenu()->exec(tree_->viewport()->mapToGlobal(point));
}

void TodoBoard::showTextMenu(const QPoint& point) {
    textMenu()->exec(editor_->viewport()->mapToGlobal(point));
}

bool TodoBoard::closePath() {
    if (closed_)
        return true;
    tree_->commitEdit();  // a title being typed is kept
    if (!saveNote())
        return false;
    closed_ = true;
    core::PlaySoundCue(settings_, "clo");
    const auto pos = selectedPosition();
    settings_.writeInt(kSection, "Index", pos ? static_cast<int>(*pos) : 0);
    settings_.writeInt(kSection, "top", y());
    settings_.writeInt(kSection, "left", x());
    settings_.writeInt(kSection, "Width", width());
    settings_.writeInt(kSection, "Height", height());
    settings_.writeInt(kSection, "TreeWidth", splitter_->sizes().value(0, 233));
    saveOutline();
    return true;
}

void TodoBoard::closeEvent(QCloseEvent* event) {
    if (!closePath()) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace hinagiku::todo::ui
