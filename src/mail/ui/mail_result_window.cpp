#include "mail/ui/mail_result_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

#include <filesystem>

#include "core/sound_cues.h"

namespace hinagiku::mail {
namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 56;

bool isFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace

MailResultWindow::MailResultWindow(platform::Settings& settings, Actions actions, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool),
      settings_(settings),
      actions_(std::move(actions)) {
    setObjectName(QStringLiteral("MailResultWindow"));
    setWindowTitle(QStringLiteral("pop3"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(kWidth, kHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(255, 255, 225));
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);

    icon_ = new QLabel(this);
    icon_->setGeometry(6, (kHeight - 32) / 2, 32, 32);
    icon_->setObjectName(QStringLiteral("MailerIcon"));
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        auto* label = new QLabel(this);
        label->setGeometry(44, 4 + static_cast<int>(i) * 16, kWidth - 48, 16);
        label->setObjectName(QStringLiteral("MailLine%1").arg(i + 1));
        lines_[i] = label;
    }

    menu_ = new QMenu(this);
    connect(menu_->addAction(QStringLiteral("メールチェック")), &QAction::triggered, this, [this] {
        if (actions_.checkMail)
            actions_.checkMail();
    });
    connect(menu_->addAction(QStringLiteral("メーラー起動")), &QAction::triggered, this,
            &MailResultWindow::startMailerAndClose);
    menu_->addSeparator();
    connect(menu_->addAction(QStringLiteral("メールの設定")), &QAction::triggered, this, [this] {
        if (actions_.openSettings)
            actions_.openSettings();
        close();
    });
    connect(menu_->addAction(QStringLiteral("閉じる(&C)")), &QAction::triggered, this,
            &QWidget::close);
    placeOnScreen();
}

void MailResultWindow::setTexts(const std::array<std::string, 3>& texts) {
    for (std::size_t i = 0; i < lines_.size(); ++i)
        lines_[i]->setText(QString::fromStdString(texts[i]));
    update();
}

void MailResultWindow::placeOnScreen() {
    QRect frame(settings_.readInt("pop", "left", 0), settings_.readInt("pop", "top", 0), width(),
                height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        if (frame.right() > area.right())
            frame.moveRight(area.right());
        if (frame.bottom() > area.bottom())
            frame.moveBottom(area.bottom());
    }
    if (frame.left() < 0)
        frame.moveLeft(0);
    if (frame.top() < 0)
        frame.moveTop(0);
    move(frame.topLeft());
}

void MailResultWindow::showMailerIcon() {
    const std::string value = settings_.readText("pop", "pop1_program", "");
    const std::string program = value.substr(0, value.find('?'));
    QFileIconProvider provider;
    const QString path =
        isFile(program) ? QString::fromStdString(program) : QCoreApplication::applicationFilePath();
    QIcon icon = provider.icon(QFileInfo(path));
    if (icon.isNull())
        icon = QApplication::windowIcon();
    icon_->setPixmap(icon.pixmap(32, 32));
}

void MailResultWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    const std::string sound = settings_.readText("pop", "sound", "");
    if (isFile(sound))
        core::PlaySoundFile(sound);
    else
        core::PlaySoundCue(settings_, "rml");
    showMailerIcon();
}

void MailResultWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // Stay above other windows without taking the focus.
    raise();
}

void MailResultWindow::closeEvent(QCloseEvent* event) {
    settings_.writeInt("pop", "top", y());
    settings_.writeInt("pop", "left", x());
    core::PlaySoundCue(settings_, "clo");
    event->accept();
}

void MailResultWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        dragging_ = true;
        dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
    }
    QWidget::mousePressEvent(event);
}

void MailResultWindow::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - dragOffset_);
    QWidget::mouseMoveEvent(event);
}

void MailResultWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    dragging_ = false;
    if (event->button() != Qt::LeftButton)
        return;
    if (icon_->geometry().contains(event->position().toPoint()))
        startMailerAndClose();
    else
        close();
}

void MailResultWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            startMailerAndClose();
            return;
        case Qt::Key_Escape:
            close();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void MailResultWindow::contextMenuEvent(QContextMenuEvent* event) {
    menu_->popup(event->globalPos());
}

void MailResultWindow::startMailerAndClose() {
    if (actions_.startMailer)
        actions_.startMailer();
    close();
}

}  // namespace hinagiku::mail
