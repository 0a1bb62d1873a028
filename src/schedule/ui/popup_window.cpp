#include "schedule/ui/popup_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>

#include <unistd.h>

#include "calendar/format_date.h"
#include "core/sound_cues.h"
#include "core/ui/action_guard.h"
#include "core/ui/application.h"
#include "platform/atomic_file.h"
#include "platform/file_search.h"
#include "schedule/ui/popup_hooks.h"
#include "schedule/ui/popup_picture.h"
#include "schedule/ui/popup_style.h"

namespace hinagiku::schedule {
namespace {

const QStringList kSnoozeItems{"1", "2", "3", "4", "5", "10", "15", "20", "25", "30"};

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// An entry text as lines of the text box: its own line ends stay, the ones
// it ends with do not add empty lines below it.
QString entryLines(const std::string& plainText) {
    QString text = fromUtf8(plainText);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

}  // namespace

PopupWindow::PopupWindow(platform::Settings& settings, int tickMilliseconds, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      settings_(settings) {
    setObjectName(QStringLiteral("PopupWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QStringLiteral("Popup Window"));
    setFixedSize(kClientWidth, kClientHeight);

    datePanel_ = new QLabel(this);
    datePanel_->setObjectName(QStringLiteral("datePanel"));
    datePanel_->setAlignment(Qt::AlignCenter);
    datePanel_->setAutoFillBackground(true);
    datePanel_->setFixedHeight(22);
    datePanel_->installEventFilter(this);

    textBox_ = new QPlainTextEdit(this);
    textBox_->setObjectName(QStringLiteral("textBox"));
    textBox_->setReadOnly(true);
    textBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
    textBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textBox_->setFont(popupFixedFont());

    pictureBox_ = new QLabel(this);
    pictureBox_->setObjectName(QStringLiteral("picture"));
    pictureBox_->setFixedSize(kPopupPictureSize);
    pictureBox_->setAlignment(Qt::AlignCenter);
    pictureBox_->setToolTip(QStringLiteral("ﾀﾞﾌﾞﾙｸﾘｯｸで閉じます｡"));
    pictureBox_->setPixmap(QPixmap::fromImage(defaultPopupPicture()));
    pictureBox_->installEventFilter(this);

    deleteButton_ = new QPushButton(QStringLiteral("削除"), this);
    deleteButton_->setObjectName(QStringLiteral("deleteButton"));
    deleteButton_->setToolTip(QStringLiteral("削除して終了"));
    deleteButton_->setEnabled(false);
    deleteButton_->setFocusPolicy(Qt::NoFocus);
    connect(deleteButton_, &QPushButton::clicked, this,
            core::guard(this, &PopupWindow::deleteEntry));

    snoozeMinutes_ = new QComboBox(this);
    snoozeMinutes_->setObjectName(QStringLiteral("snoozeMinutes"));
    snoozeMinutes_->setEditable(true);
    snoozeMinutes_->addItems(kSnoozeItems);
    snoozeMinutes_->setInsertPolicy(QComboBox::NoInsert);
    snoozeMinutes_->setFixedWidth(56);

    snoozeLabel_ = new QLabel(QStringLiteral("分"), this);
    snoozeLabel_->setObjectName(QStringLiteral("snoozeLabel"));

    snoozeButton_ = new QPushButton(QStringLiteral("延長"), this);
    snoozeButton_->setObjectName(QStringLiteral("snoozeButton"));
    snoozeButton_->setToolTip(QStringLiteral("延長します。"));
    snoozeButton_->setFocusPolicy(Qt::NoFocus);
    connect(snoozeButton_, &QPushButton::clicked, this, core::guard(this, &PopupWindow::snooze));
    enableSnooze(false);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(deleteButton_);
    buttons->addStretch(1);
    buttons->addWidget(snoozeMinutes_);
    buttons->addWidget(snoozeLabel_);
    buttons->addWidget(snoozeButton_);

    auto* left = new QVBoxLayout;
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(3);
    left->addWidget(datePanel_);
    left->addWidget(textBox_, 1);
    left->addLayout(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(5);
    layout->addLayout(left, 1);
    layout->addWidget(pictureBox_, 0, Qt::AlignCenter);

    timer_.setInterval(tickMilliseconds);
    connect(&timer_, &QTimer::timeout, this, core::guard(this, &PopupWindow::Timer1Timer));
}

PopupWindow::~PopupWindow() = default;

void PopupWindow::addEntry(const std::string& path, const std::string& plainText, bool dated) {
    entryPath_ = path;
    texts_.append(entryLines(plainText));
    textBox_->setPlainText(texts_.join(QLatin1Char('\n')));
    if (dated) {
        // Only a dated entry may be removed from here; a recurring entry
        // loaded after it in the same minute is left alone.
        deletePath_ = path;
        deleteButton_->setEnabled(true);
    }
}

void PopupWindow::setDateLabel(DateTime labelTime) {
    datePanel_->setText(fromUtf8(FormatDate("yy/mm/dd (ddd) hh:nn", labelTime)));
    QPalette palette = datePanel_->palette();
    palette.setColor(QPalette::Window, popupDayColour(DayOfWeek(labelTime)));
    palette.setColor(QPalette::WindowText, Qt::white);
    datePanel_->setPalette(palette);
    textBox_->moveCursor(QTextCursor::Start);
}

void PopupWindow::setPicture(const QImage& image, bool stretch) {
    picture_ = image;
    stretch_ = stretch;
    pictureBox_->setPixmap(QPixmap::fromImage(popupPictureView(image, stretch)));
}

void PopupWindow::present(int closeTime) {
    textBox_->setReadOnly(true);
    closeCountdown_ = closeTime < -1 ? -1 : closeTime;
    presented_ = true;
    if (closeCountdown_ != 0) {
        if (!placed_) {
            placed_ = true;
            if (const QScreen* screen = QGuiApplication::primaryScreen()) {
                QRect frame = frameGeometry();
                frame.moveCenter(screen->availableGeometry().center());
                move(frame.topLeft());
            }
        }
        // Showing runs the schedule-list hook, which may open a window of
        // its own; this window may be gone when it returns.
        QPointer<PopupWindow> self(this);
        show();
        if (!self)
            return;
        repaint();
    }
    timer_.start();
}

QString PopupWindow::dateText() const {
    return datePanel_->text();
}

QString PopupWindow::text() const {
    return textBox_->toPlainText();
}

void PopupWindow::enableSnooze(bool enabled) {
    snoozeMinutes_->setEnabled(enabled);
    snoozeLabel_->setEnabled(enabled);
    snoozeButton_->setEnabled(enabled);
}

void PopupWindow::Timer1Timer() {
    if (closeCountdown_ == -1) {
        if (snoozeCountdown_ == -1) {
            // The window has been up for a moment: now it may be snoozed.
            timer_.stop();
            enableSnooze(true);
            return;
        }
        if (snoozeCountdown_ == 0) {
            timer_.stop();
            const std::string sound = settings_.readText("Calendar", "file", "");
            if (platform::isRegularFile(sound))
                core::PlaySoundFile(sound);
            QPointer<PopupWindow> self(this);
            show();
            if (!self)
                return;
        }
        --snoozeCountdown_;
        return;
    }
    if (closeCountdown_ == 0) {
        timer_.stop();
        close();
        return;
    }
    --closeCountdown_;
    setWindowTitle(QStringLiteral("Popup Window - ") + QString::number(closeCountdown_) +
                   QStringLiteral("秒後に自動的に閉じます。"));
}

void PopupWindow::snooze() {
    if (!snoozeButton_->isEnabled())
        return;
    bool ok = false;
    const long long typed = snoozeMinutes_->currentText().trimmed().toLongLong(&ok);
    // A negative or absurd number would hide the reminder for good.
    const long long minutes = ok && typed >= 0 && typed <= INT_MAX ? typed : 0;
    const QString text = QString::number(minutes);
    snoozeMinutes_->setEditText(text);
    settings_.writeText("Form", "Snooze", text.toStdString());
    snoozeCountdown_ = minutes * 60;
    core::PlaySoundCue(settings_, "sav");
    hide();
    timer_.start();
}

bool PopupWindow::confirmDelete() {
    QApplication::beep();
    const QString question = QStringLiteral("【") + dateText() + QStringLiteral("】\n") + text() +
                             QStringLiteral("\n削除しますか？");
    QMessageBox box(QMessageBox::Question, windowTitle(), question,
                    QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    box.move(pos());
    return box.exec() == QMessageBox::Yes;
}

void PopupWindow::deleteEntry() {
    if (deletePath_.empty() || !deleteButton_->isEnabled())
        return;
    // The countdown waits while the question is open: the window must not
    // close (and be freed) under it.
    const bool counting = timer_.isActive();
    timer_.stop();
    QPointer<PopupWindow> self(this);
    if (settings_.readInt("Form", "Delete", 0) == 0) {
        hide();
        const bool yes = confirmDelete();
        if (!self)
            return;
        if (!yes) {
            show();
            if (counting)
                timer_.start();
            return;
        }
    }
    // The file goes first: when it cannot be deleted, its options stay with it.
    if (::unlink(deletePath_.c_str()) != 0 && errno != ENOENT) {
        const std::string message =
            "\"" + deletePath_ + "\": cannot delete the entry: " + std::strerror(errno);
        show();
        if (counting)
            timer_.start();
        core::reportError(QString::fromStdString(message));
        return;
    }
    settings_.eraseSection(deletePath_);
    core::PlaySoundCue(settings_, "del");
    close();
}

void PopupWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    if (settings_.readBool("Form", "Exec_List", false)) {
        if (const auto& list = popupHooks().showScheduleList)
            list();
    }
    snoozeMinutes_->setEditText(fromUtf8(settings_.readText("Form", "Snooze", "10")));
    reassertTopmost();
}

void PopupWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    reassertTopmost();
}

void PopupWindow::reassertTopmost() {
    // Deferred, and at most a few times a second: raising exposes the
    // window, and the paint that follows must not raise it again and again.
    if (raisePending_)
        return;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - lastRaise_ < 300)
        return;
    raisePending_ = true;
    QTimer::singleShot(0, this, [this] {
        raisePending_ = false;
        lastRaise_ = QDateTime::currentMSecsSinceEpoch();
        if (isVisible())
            raise();
    });
}

void PopupWindow::closeEvent(QCloseEvent* event) {
    timer_.stop();
    core::runGuarded([this] {
        core::PlaySoundCue(settings_, "clo");
        if (settings_.readBool("Form", "Kill_List", false)) {
            if (const auto& close = popupHooks().closeScheduleList)
                close();
        }
    });
    event->accept();
}

void PopupWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* remove = menu.addAction(QStringLiteral("このｽｹｼﾞｭｰﾙを削除"));
    remove->setEnabled(deleteButton_->isEnabled());
    menu.addSeparator();
    QAction* closeItem = menu.addAction(QStringLiteral("閉じる(&C)"));
    // The countdown waits while the menu is open, as it does for the delete
    // question: the window must not be freed under its own menu.
    const bool counting = timer_.isActive();
    timer_.stop();
    QPointer<PopupWindow> self(this);
    QAction* chosen = menu.exec(event->globalPos());
    if (!self)
        return;
    if (counting)
        timer_.start();
    if (chosen == remove) {
        core::runGuarded([this] { deleteEntry(); });
    } else if (chosen == closeItem) {
        close();
    }
}

bool PopupWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == datePanel_) {
            snooze();
            return true;
        }
        if (watched == pictureBox_) {
            close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace hinagiku::schedule
