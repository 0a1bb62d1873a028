#include "mainwindow/ui/pop_viewer.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include "core/sound_cues.h"
#include "core/ui/action_guard.h"
#include "mainwindow/ui/tool_button.h"
#include "mainwindow/window_modes.h"

namespace hinagiku::mainwindow {
namespace {

constexpr int kWidth = 260;
constexpr int kHeight = 160;
constexpr int kButtonRow = 26;

struct ButtonLook {
    const char* hint;
    const char* caption;
    QColor color;
};

const ButtonLook kButtons[PopViewer::kButtonCount] = {
    {"ポップアップ", "ポ", QColor(0xC0, 0x40, 0x00)},
    {"スケジュール", "ス", QColor(0x00, 0x60, 0xC0)},
    {"誕生日", "誕", QColor(0xC0, 0x00, 0x60)},
    {"日記タイトル一覧", "日", QColor(0x00, 0x80, 0x40)},
    {"スケジュール管理", "管", QColor(0x40, 0x40, 0xA0)},
    {"予定一覧", "予", QColor(0x00, 0x80, 0x80)},
    {"ToDoボード", "T", QColor(0x80, 0x60, 0x00)},
    {"電話帳", "電", QColor(0x60, 0x60, 0x60)},
};

}  // namespace

PopViewer::PopViewer(const platform::Settings& settings, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), settings_(settings) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("PopView"));
    resize(kWidth, kHeight);
    for (int i = 0; i < kButtonCount; ++i) {
        auto* button = makeToolButton(this, QString::fromUtf8(kButtons[i].hint),
                                      QString::fromUtf8(kButtons[i].caption), kButtons[i].color);
        button->setGeometry(2 + i * 25, 1, 24, 24);
        button->setEnabled(false);
        connect(button, &TPanelButton::clicked, this, core::guard([this, i] {
                    if (actions_[i])
                        actions_[i]();
                }));
        buttons_[i] = button;
    }
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setStyleHint(QFont::Monospace);
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"),
                      QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("monospace")});
    text_->setFont(font);
    text_->setGeometry(0, kButtonRow, kWidth, kHeight - kButtonRow);
    text_->installEventFilter(this);
}

void PopViewer::setContent(const QString& caption, const std::vector<std::string>& lines,
                           const QColor& textColor, const QColor& background) {
    setWindowTitle(caption);
    QStringList text;
    for (const auto& line : lines)
        text << QString::fromStdString(line);
    text_->setPlainText(text.join(QLatin1Char('\n')));
    QPalette pal = text_->palette();
    pal.setColor(QPalette::Base, background);
    pal.setColor(QPalette::Text, textColor);
    text_->setPalette(pal);
    text_->moveCursor(QTextCursor::Start);
}

void PopViewer::setButtonAction(Button which, std::function<void()> action) {
    const int i = static_cast<int>(which);
    buttons_[i]->setEnabled(static_cast<bool>(action));
    actions_[i] = std::move(action);
}

void PopViewer::placeNear(QPoint cursor) {
    QScreen* screen = QGuiApplication::screenAt(cursor);
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->geometry() : QRect(0, 0, kWidth, kHeight);
    int left = cursor.x() + 20;
    int top = cursor.y() + 20;
    const QSize frame = frameGeometry().size().expandedTo(size());
    pullOnScreen(left, top, frame.width(), frame.height(),
                 {area.left(), area.top(), area.width(), area.height()});
    move(left, top);
}

void PopViewer::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    core::PlaySoundCue(settings_, "pop");
    raise();
}

void PopViewer::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (isActiveWindow()) {
        wasActive_ = true;
    } else if (wasActive_) {
        close();
    }
}

void PopViewer::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        text_->setFocus();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool PopViewer::eventFilter(QObject* watched, QEvent* event) {
    // Esc closes the viewer from the text too (a read-only text ignores it).
    if (watched == text_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void PopViewer::closeEvent(QCloseEvent* event) {
    if (!closedSent_) {
        closedSent_ = true;
        emit closed();
    }
    QWidget::closeEvent(event);
}

}  // namespace hinagiku::mainwindow
