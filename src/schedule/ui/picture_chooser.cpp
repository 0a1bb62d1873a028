#include "schedule/ui/picture_chooser.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/sound_cues.h"
#include "core/ui/action_guard.h"
#include "platform/jpeg_busy_flag.h"
#include "platform/jpeg_codec.h"
#include "schedule/ui/file_browser.h"

namespace hinagiku::schedule {

PictureChooser::PictureChooser(const platform::Settings& settings, QWidget* parent,
                               std::vector<Drive> drives)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      settings_(settings),
      browser_(new FileBrowser(this, std::move(drives))),
      pathLabel_(new QLabel(this)),
      previewCheck_(new QCheckBox(QStringLiteral("プレビュー"), this)),
      preview_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      okButton_(new QPushButton(QStringLiteral("設定"), this)),
      menu_(new QMenu(this)),
      question_(errorBoxQuestion(this)) {
    setWindowTitle(QStringLiteral("Picture File"));
    setModal(true);

    pathLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    pathLabel_->setMinimumWidth(360);
    preview_->setFixedSize(kPreviewWidth, kPreviewHeight);
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setScaledContents(true);
    preview_->setFrameShape(QFrame::StyledPanel);
    preview_->hide();
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setFixedWidth(kPreviewWidth);
    progress_->setMaximumHeight(10);
    okButton_->setDefault(true);

    auto* side = new QVBoxLayout;
    side->addWidget(previewCheck_);
    side->addWidget(preview_);
    side->addWidget(progress_);
    side->addStretch();
    side->addWidget(okButton_);
    auto* lists = new QGridLayout;
    lists->addWidget(browser_->folderTree(), 0, 0);
    lists->addWidget(browser_->driveBox(), 1, 0);
    lists->addWidget(browser_->fileList(), 0, 1, 2, 1);
    lists->setRowStretch(0, 1);
    auto* body = new QHBoxLayout;
    body->addLayout(lists, 1);
    body->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pathLabel_);
    layout->addLayout(body, 1);
    resize(520, 300);

    menu_->addAction(QStringLiteral("閉じる(&C)"), this, &QDialog::accept);

    connect(browser_, &FileBrowser::selectionChanged, this,
            core::guard(this, &PictureChooser::updatePreview));
    connect(previewCheck_, &QCheckBox::toggled, this,
            core::guard(this, &PictureChooser::updatePreview));
    connect(okButton_, &QPushButton::clicked, this, core::guard(this, &QDialog::accept));

    browser_->setNameFilters({QStringLiteral("*.bmp"), QStringLiteral("*.jpg")});
    browser_->setSelectedFile(QString());
}

void PictureChooser::setFileName(const QString& path) {
    browser_->setSelectedFile(path);
}

QString PictureChooser::fileName() const {
    return pathLabel_->text();
}

void PictureChooser::updatePreview() {
    const QString path = browser_->selectedFile();
    pathLabel_->setText(path);
    if (!previewCheck_->isChecked()) {
        preview_->hide();
        return;
    }
    preview_->show();
    // What cannot be loaded shows nothing rather than the previous picture.
    preview_->clear();
    progress_->setValue(0);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return;
    const QString extension = QFileInfo(path).suffix().toUpper();
    QImage image;
    if (extension == QLatin1String("BMP")) {
        image.load(path, "BMP");
    } else if (extension == QLatin1String("JPG")) {
        image = decodePreview(path);
    }
    if (!image.isNull())
        preview_->setPixmap(QPixmap::fromImage(image));
}

QImage PictureChooser::decodePreview(const QString& path) {
    platform::JpegBusyGuard busy = platform::JpegBusyGuard::acquire();
    if (!busy)
        return {};
    platform::JpegDecodeOptions options;
    options.reduceTo256Colours = true;
    options.fastIntegerDct = true;
    options.coverSize = QSize(kPreviewWidth, kPreviewHeight);

    const auto question = [this](const std::string& message) {
        QApplication::restoreOverrideCursor();
        const bool stop = question_(QString::fromStdString(message) + QStringLiteral("\n") +
                                    QStringLiteral("エラーです。") + QStringLiteral("\n") +
                                    QStringLiteral("処理を中断しますか？"));
        QApplication::setOverrideCursor(Qt::BusyCursor);
        return stop;
    };
    const auto progress = [this](int percent) {
        progress_->setValue(percent);
        progress_->repaint();
        return true;
    };
    QApplication::setOverrideCursor(Qt::BusyCursor);
    platform::JpegDecodeResult result =
        platform::decodeJpegFile(path.toStdString(), options, progress, question);
    QApplication::restoreOverrideCursor();
    if (result.status == platform::JpegDecodeResult::Status::Failed) {
        // Nothing left to go on with: the answer only ends the question.
        question_(QString::fromStdString(result.message) + QStringLiteral("\n") +
                  QStringLiteral("エラーです。") + QStringLiteral("\n") +
                  QStringLiteral("処理を中断しますか？"));
        return {};
    }
    return result.ok() ? std::move(result.image) : QImage();
}

void PictureChooser::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    core::PlaySoundCue(settings_, "ope");
    keepOnScreen();
}

void PictureChooser::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        core::PlaySoundCue(settings_, "clo");
}

void PictureChooser::keepOnScreen() {
    const QScreen* screen = this->screen();
    if (screen == nullptr)
        return;
    const QRect area = screen->geometry();
    QRect frame = frameGeometry();
    if (frame.right() > area.right())
        frame.moveRight(area.right());
    if (frame.bottom() > area.bottom())
        frame.moveBottom(area.bottom());
    if (frame.left() < 0)
        frame.moveLeft(0);
    if (frame.top() < 0)
        frame.moveTop(0);
    if (frame.topLeft() != frameGeometry().topLeft())
        move(frame.topLeft());
}

void PictureChooser::contextMenuEvent(QContextMenuEvent* event) {
    menu_->popup(event->globalPos());
}

}  // namespace hinagiku::schedule
