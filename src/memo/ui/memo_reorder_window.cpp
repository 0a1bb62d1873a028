#include "memo/ui/memo_reorder_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

#include "core/sound_cues.h"
#include "core/ui/action_guard.h"
#include "core/ui/message_box.h"
#include "memo/memo_index.h"
#include "memo/ui/memo_windows.h"

namespace hinagiku::memo {
namespace {

constexpr int kWidth = 517;

QPushButton* makeButton(QWidget* parent, const QString& text, const QString& hint) {
    auto* button = new QPushButton(text, parent);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

// The window's width is fixed: a press this close to its left or right edge
// moves the window instead of resizing it.
constexpr int kMoveEdge = 6;

bool onMoveEdge(const QWidget& window, QPointF position) {
    return position.x() < kMoveEdge || position.x() >= window.width() - kMoveEdge;
}

}  // namespace

MemoReorderWindow::MemoReorderWindow(platform::Settings& settings, int category, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      settings_(settings),
      reorder_(settings, [](std::string_view key) { return findMemoWindow(key) != nullptr; }) {
    setWindowTitle(QStringLiteral("Memoの並び替え"));
    setModal(true);
    setMouseTracking(true);

    auto* before = new QGroupBox(QStringLiteral("並び替え前"), this);
    auto* beforeLayout = new QVBoxLayout(before);
    sourceBox_ = new QComboBox(before);
    sourceBox_->setToolTip(QStringLiteral("移動元のメモ項目を選択"));
    sourceList_ = new QListWidget(before);
    sourceList_->setToolTip(
        QStringLiteral("同一ﾒﾓ項目内でなければ､ 現在表示中のﾒﾓは移動できません｡"));
    beforeLayout->addWidget(sourceBox_);
    beforeLayout->addWidget(sourceList_, 1);

    auto* middle = new QVBoxLayout;
    moveAll_ = makeButton(this, QStringLiteral("≫"), QStringLiteral("残り全てのMemoを移動"));
    moveSelected_ = makeButton(this, QStringLiteral("＞"), QStringLiteral("選択したMemoを移動"));
    restart_ = makeButton(this, QStringLiteral("↺"), QStringLiteral("やり直し"));
    middle->addStretch(1);
    for (QPushButton* button : {moveAll_, moveSelected_, restart_}) {
        button->setFixedWidth(36);
        middle->addWidget(button);
    }
    middle->addStretch(1);

    auto* after = new QGroupBox(QStringLiteral("並び替え後"), this);
    auto* afterLayout = new QVBoxLayout(after);
    targetBox_ = new QComboBox(after);
    targetBox_->setToolTip(QStringLiteral("移動先のメモ項目を選択"));
    targetList_ = new QListWidget(after);
    targetList_->setToolTip(QStringLiteral("Saveボタンで保存します｡"));
    save_ =
        makeButton(after, QStringLiteral("保存"), QStringLiteral("並び替えの設定を保存します｡"));
    afterLayout->addWidget(targetBox_);
    afterLayout->addWidget(targetList_, 1);
    afterLayout->addWidget(save_);

    auto* lists = new QHBoxLayout;
    lists->addWidget(before, 1);
    lists->addLayout(middle);
    lists->addWidget(after, 1);
    auto* close = makeButton(this, QStringLiteral("閉じる"), {});
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(bottom);

    // One read of the settings for both boxes.
    const MemoIndex index = readMemoIndex(settings_);
    for (const CategoryListing& listing : index) {
        sourceBox_->addItem(QString::fromStdString(listing.name));
        targetBox_->addItem(QString::fromStdString(listing.name));
    }

    using core::guard;
    connect(sourceBox_, &QComboBox::currentIndexChanged, this, guard([this](int index) {
                reorder_.setSource(index);
                showLists();
            }));
    connect(targetBox_, &QComboBox::currentIndexChanged, this, guard([this](int index) {
                reorder_.setTarget(index);
                showLists();
            }));
    connect(sourceList_, &QListWidget::currentRowChanged, this,
            [this](int row) { moveSelected_->setEnabled(reorder_.canMove(row)); });
    connect(sourceList_, &QListWidget::itemDoubleClicked, this,
            guard(this, &MemoReorderWindow::moveSelected));
    connect(moveSelected_, &QPushButton::clicked, this,
            guard(this, &MemoReorderWindow::moveSelected));
    connect(moveAll_, &QPushButton::clicked, this, guard(this, &MemoReorderWindow::moveAll));
    connect(restart_, &QPushButton::clicked, this, guard(this, &MemoReorderWindow::restart));
    connect(save_, &QPushButton::clicked, this, guard(this, &MemoReorderWindow::save));
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    // Placement: fixed width, the stored height, kept on the screen.
    int left = settings_.readInt("Memo_chg", "left", 0);
    int top = settings_.readInt("Memo_chg", "top", 0);
    const int height = std::max(150, settings_.readInt("Memo_chg", "Height", 282));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        left = std::max(0, std::min(left, area.right() + 1 - kWidth));
        top = std::max(0, std::min(top, area.bottom() + 1 - height));
    }
    setMinimumWidth(kWidth);
    setMaximumWidth(kWidth);
    move(left, top);
    resize(kWidth, height);

    core::PlaySoundCue(settings_, "ope");
    const int source = std::clamp(category, 0, kCategoryCount - 1);
    {
        const QSignalBlocker a(sourceBox_);
        const QSignalBlocker b(targetBox_);
        sourceBox_->setCurrentIndex(source);
        targetBox_->setCurrentIndex(source);
    }
    reorder_.setSource(source);
    showLists();
}

void MemoReorderWindow::showLists() {
    {
        const QSignalBlocker blocker(targetBox_);
        targetBox_->setCurrentIndex(reorder_.target());
    }
    const QSignalBlocker a(sourceList_);
    sourceList_->clear();
    for (const MemoEntry& entry : reorder_.sourceList())
        sourceList_->addItem(QString::fromStdString(entry.title));
    targetList_->clear();
    for (const MemoEntry& entry : reorder_.targetList())
        targetList_->addItem(QString::fromStdString(entry.title));
    moveAll_->setEnabled(reorder_.sameCategory() && !reorder_.sourceList().empty());
    moveSelected_->setEnabled(false);
    save_->setEnabled(reorder_.canSave());
}

void MemoReorderWindow::warnOpen() {
    core::MessageRequest request;
    request.icon = QMessageBox::Warning;
    request.text = QStringLiteral(
        "現在、このメモが開かれています。\rメモを閉じてから実行してください。\r"
        "（表示中のメモが移動できるのは同一項目内のみです。）");
    core::showMessage(this, request);
}

void MemoReorderWindow::moveSelected() {
    const int row = sourceList_->currentRow();
    if (row < 0)
        return;
    if (reorder_.moveSelected(row) == MemoReorder::Result::RefusedOpen) {
        warnOpen();
        return;
    }
    const QSignalBlocker blocker(sourceList_);
    delete sourceList_->takeItem(row);
    targetList_->addItem(QString::fromStdString(reorder_.targetList().back().title));
    moveSelected_->setEnabled(reorder_.canMove(sourceList_->currentRow()));
    moveAll_->setEnabled(reorder_.sameCategory() && !reorder_.sourceList().empty());
}

void MemoReorderWindow::moveAll() {
    if (!reorder_.sameCategory())
        return;
    reorder_.moveAll();
    showLists();
}

void MemoReorderWindow::restart() {
    const QSignalBlocker blocker(sourceBox_);
    reorder_.setSource(sourceBox_->currentIndex());
    showLists();
}

void MemoReorderWindow::save() {
    core::PlaySoundCue(settings_, "sav");
    MemoStore store(settings_, memoFolderOf(settings_));
    if (reorder_.save(store) == MemoReorder::Result::RefusedOpen) {
        warnOpen();
        return;
    }
    showLists();
}

void MemoReorderWindow::writePlacement() {
    if (placementWritten_)
        return;
    placementWritten_ = true;
    const QRect g(pos(), size());
    settings_.edit([&](platform::SettingsEdit& edit) {
        edit.writeText("Memo_chg", "top", std::to_string(g.top()));
        edit.writeText("Memo_chg", "left", std::to_string(g.left()));
        edit.writeText("Memo_chg", "height", std::to_string(g.height()));
    });
    core::PlaySoundCue(settings_, "clo");
}

void MemoReorderWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && onMoveEdge(*this, event->position()) &&
        windowHandle() != nullptr && windowHandle()->startSystemMove()) {
        event->accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

void MemoReorderWindow::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::NoButton)
        setCursor(onMoveEdge(*this, event->position()) ? Qt::SizeAllCursor : Qt::ArrowCursor);
    QDialog::mouseMoveEvent(event);
}

void MemoReorderWindow::closeEvent(QCloseEvent* event) {
    core::runGuarded([this] { writePlacement(); });
    QDialog::closeEvent(event);
}

void MemoReorderWindow::done(int result) {
    core::runGuarded([this] { writePlacement(); });
    QDialog::done(result);
}

}  // namespace hinagiku::memo
