#include "schedule/ui/sound_chooser.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/sound_cues.h"
#include "core/ui/action_guard.h"
#include "platform/sound_output.h"
#include "schedule/ui/file_browser.h"

namespace hinagiku::schedule {

SoundChooser::SoundChooser(QWidget* parent, std::vector<Drive> drives)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      browser_(new FileBrowser(this, std::move(drives))),
      filterBox_(new QComboBox(this)),
      pathLabel_(new QLabel(this)),
      testButton_(new QPushButton(QStringLiteral("試聴"), this)),
      closeButton_(new QPushButton(QStringLiteral("設定して閉じる"), this)),
      menu_(new QMenu(this)) {
    setWindowTitle(QStringLiteral("サウンドの選択"));
    setModal(true);

    filterBox_->addItems(
        {QStringLiteral("*.WAV;*.MID"), QStringLiteral("*.WAV"), QStringLiteral("*.MID")});
    pathLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    pathLabel_->setMinimumWidth(360);
    testButton_->setToolTip(QStringLiteral("テスト再生"));
    testButton_->setEnabled(false);
    closeButton_->setDefault(true);

    auto* lists = new QGridLayout;
    lists->addWidget(browser_->driveBox(), 0, 0);
    lists->addWidget(filterBox_, 0, 1);
    lists->addWidget(browser_->folderTree(), 1, 0);
    lists->addWidget(browser_->fileList(), 1, 1);
    lists->setColumnStretch(0, 1);
    lists->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(testButton_);
    buttons->addWidget(closeButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pathLabel_);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);
    resize(460, 320);

    menu_->addAction(QStringLiteral("音色テスト"), this,
                     core::guard(this, &SoundChooser::playSelected));
    menu_->addSeparator();
    menu_->addAction(QStringLiteral("閉じる(&C)"), this,
                     core::guard(this, &SoundChooser::closeChooser));

    connect(filterBox_, &QComboBox::currentTextChanged, this,
            core::guard([this](const QString& text) {
                browser_->setNameFilters(text.split(QLatin1Char(';'), Qt::SkipEmptyParts));
            }));
    connect(browser_, &FileBrowser::selectionChanged, this,
            core::guard(this, &SoundChooser::selectionChanged));
    connect(browser_, &FileBrowser::fileActivated, this,
            core::guard(this, &SoundChooser::playSelected));
    connect(testButton_, &QPushButton::clicked, this,
            core::guard(this, &SoundChooser::playSelected));
    connect(closeButton_, &QPushButton::clicked, this,
            core::guard(this, &SoundChooser::closeChooser));

    browser_->setNameFilters(filterBox_->currentText().split(QLatin1Char(';')));
    browser_->setSelectedFile(QString());
}

void SoundChooser::setFileName(const QString& path) {
    browser_->setSelectedFile(path);
}

QString SoundChooser::fileName() const {
    return pathLabel_->text();
}

void SoundChooser::selectionChanged() {
    const QString path = browser_->selectedFile();
    const bool exists = !path.isEmpty() && QFileInfo(path).isFile();
    pathLabel_->setText(exists ? path : QString());
    testButton_->setEnabled(exists);
}

void SoundChooser::playSelected() {
    const QString path = browser_->selectedFile();
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    core::PlaySoundFile(path.toStdString());
}

void SoundChooser::closeChooser() {
    platform::soundOutput().stop();
    accept();
}

void SoundChooser::reject() {
    platform::soundOutput().stop();
    QDialog::reject();
}

void SoundChooser::contextMenuEvent(QContextMenuEvent* event) {
    menu_->popup(event->globalPos());
}

void SoundChooser::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen =
            this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

}  // namespace hinagiku::schedule
