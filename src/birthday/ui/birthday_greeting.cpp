#include "birthday/ui/birthday_greeting.h"

#include <QFont>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "birthday/register_list.h"
#include "birthday/ui/birthday_pictures.h"
#include "core/data_folders.h"
#include "core/ui/action_guard.h"
#include "core/ui/application.h"

namespace hinagiku::birthday {

BirthdayGreeting::BirthdayGreeting(const platform::Settings& settings, DateTime today,
                                   std::function<void()> openRegister, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("BirthdayGreeting"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Happy Birthday!!"));
    auto* layout = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setStyleHint(QFont::Monospace);
    text_->setFont(font);
    layout->addWidget(text_, 1);
    auto* buttons = new QHBoxLayout;
    picture_ = new QPushButton(this);
    picture_->setObjectName(QStringLiteral("picture"));
    picture_->setIcon(QIcon(birthdayPicture("hutago")));
    picture_->setIconSize(QSize(48, 48));
    picture_->setToolTip(QStringLiteral("誕生日管理"));
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("close"));
    buttons->addWidget(picture_);
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(360, 240);

    const std::string folder = core::DataFolder(settings);
    QStringList lines;
    if (folder != ".") {
        const Greeting greeting = greetingFor(folder, today);
        entries_ = greeting.entries;
        for (const auto& line : greeting.lines)
            lines << QString::fromStdString(line);
        for (const auto& error : greeting.errors)
            core::reportError(QString::fromStdString(error));
    }
    text_->setPlainText(lines.join(QLatin1Char('\n')));

    connect(picture_, &QPushButton::clicked, this, core::guard([open = std::move(openRegister)] {
                if (open)
                    open();
            }));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

void BirthdayGreeting::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

BirthdayGreeting* showBirthdayGreeting(const platform::Settings& settings, DateTime today,
                                       std::function<void()> openRegister) {
    auto* window = new BirthdayGreeting(settings, today, std::move(openRegister));
    window->show();
    window->raise();
    return window;
}

}  // namespace hinagiku::birthday
