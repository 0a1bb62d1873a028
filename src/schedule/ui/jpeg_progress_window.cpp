#include "schedule/ui/jpeg_progress_window.h"

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainterPath>
#include <QPalette>
#include <QPointer>
#include <QProgressBar>
#include <QRegion>
#include <QScreen>
#include <QVBoxLayout>

#include <string>
#include <string_view>

#include "core/startup.h"
#include "platform/atomic_file.h"
#include "platform/jpeg_busy_flag.h"
#include "platform/jpeg_codec.h"

namespace hinagiku::schedule {
namespace {

constexpr int kWidth = 229;
constexpr int kHeight = 70;
constexpr int kCornerDiameter = 30;

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

JpegProgressWindow::JpegProgressWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      question_(errorBoxQuestion(this)),
      product_(new QLabel(toQString(core::kApplicationTitle), this)),
      version_(new QLabel(toQString(core::kVersionLabel), this)),
      progress_(new QProgressBar(this)),
      status_(new QLabel(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Jpeg"));
    setFixedSize(kWidth, kHeight);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
    setPalette(colours);
    setAutoFillBackground(true);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, kWidth, kHeight), kCornerDiameter / 2.0,
                           kCornerDiameter / 2.0);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));

    QFont bold = product_->font();
    bold.setBold(true);
    product_->setFont(bold);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setMaximumHeight(10);
    QPalette red = status_->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    status_->setPalette(red);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 4, 14, 4);
    layout->setSpacing(1);
    auto* title = new QHBoxLayout;
    title->addWidget(product_);
    title->addStretch();
    title->addWidget(version_);
    layout->addLayout(title);
    layout->addWidget(progress_);
    layout->addWidget(status_);
}

JpegProgressWindow::~JpegProgressWindow() {
    if (cursorSet_)
        QApplication::restoreOverrideCursor();
}

QString JpegProgressWindow::statusText() const {
    return status_->text();
}
int JpegProgressWindow::progressValue() const {
    return progress_->value();
}
QString JpegProgressWindow::versionText() const {
    return version_->text();
}

void JpegProgressWindow::begin() {
    errorText_.clear();
    progress_->setValue(0);
    if (!cursorSet_) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        cursorSet_ = true;
    }
    status_->setText(mode_ == Mode::Encode ? QStringLiteral("Jpegファイルの書き出し中です。")
                                           : QStringLiteral("Jpegファイルの読み込み中です。"));
    if (!unseen_) {
        if (const QScreen* screen =
                this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
            QRect frame = geometry();
            frame.moveCenter(screen->geometry().center());
            move(frame.topLeft());
        }
        show();
        repaint();
    }
}

void JpegProgressWindow::end() {
    mode_ = Mode::Decode;
    if (cursorSet_) {
        QApplication::restoreOverrideCursor();
        cursorSet_ = false;
    }
}

bool JpegProgressWindow::report(int percent) {
    progress_->setValue(percent);
    if (isVisible())
        repaint();
    return true;
}

bool JpegProgressWindow::ask(const QString& message) {
    if (cursorSet_) {
        QApplication::restoreOverrideCursor();
        cursorSet_ = false;
    }
    errorText_ = message;
    const QString text = message + QStringLiteral("\n\r") + QStringLiteral("\r") +
                         QStringLiteral("エラーです。") + QStringLiteral("\r") +
                         QStringLiteral("処理を中断しますか？");
    const bool stop = question_ ? question_(text) : true;
    if (!stop && !cursorSet_) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        cursorSet_ = true;
    }
    return stop;
}

bool JpegProgressWindow::decodeBytes(const QByteArray& bytes) {
    picture_ = QImage();
    const auto progress = [this](int percent) { return report(percent); };
    const auto warning = [this](const std::string& message) {
        return ask(QString::fromStdString(message));
    };
    platform::JpegDecodeResult result = platform::decodeJpeg(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), {}, progress,
        warning);
    if (result.status == platform::JpegDecodeResult::Status::Failed) {
        ask(QString::fromStdString(result.message));  // nothing to go on with either way
    } else if (result.ok()) {
        picture_ = std::move(result.image);
        errorText_.clear();
    }
    return !picture_.isNull();
}

bool JpegProgressWindow::decode(QIODevice& stream) {
    mode_ = Mode::Decode;
    begin();
    const QByteArray bytes = stream.readAll();
    const bool ok = decodeBytes(bytes);
    end();
    return ok;
}

bool JpegProgressWindow::decodeFile(const QString& path) {
    mode_ = Mode::Decode;
    begin();
    QFile file(path);
    bool ok = false;
    if (file.open(QIODevice::ReadOnly)) {
        ok = decodeBytes(file.readAll());
    } else {
        picture_ = QImage();
        ask(QStringLiteral("\"%1\": %2").arg(path, file.errorString()));
    }
    end();
    return ok;
}

bool JpegProgressWindow::encodeBytes(const QImage& image, QByteArray& out) {
    const auto progress = [this](int percent) { return report(percent); };
    const platform::JpegEncodeResult result = platform::encodeJpeg(image, kQuality, progress);
    if (!result.ok()) {
        if (result.status == platform::JpegEncodeResult::Status::Failed) {
            ask(QString::fromStdString(result.message));
        }
        return false;
    }
    out = QByteArray(result.bytes.data(), static_cast<qsizetype>(result.bytes.size()));
    return true;
}

bool JpegProgressWindow::encode(const QImage& image, QIODevice& stream) {
    mode_ = Mode::Encode;
    begin();
    QByteArray bytes;
    bool ok = encodeBytes(image, bytes);
    if (ok && stream.write(bytes) != bytes.size()) {
        ask(stream.errorString());
        ok = false;
    }
    end();
    return ok;
}

bool JpegProgressWindow::encodeFile(const QImage& image, const QString& path) {
    mode_ = Mode::Encode;
    begin();
    QByteArray bytes;
    bool ok = encodeBytes(image, bytes);
    if (ok) {
        try {
            platform::writeFileAtomically(
                path.toStdString(),
                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        } catch (const platform::IoError& error) {
            ask(QString::fromUtf8(error.what()));
            ok = false;
        }
    }
    end();
    return ok;
}

QImage JpegProgressWindow::decodeWithProgress(const QString& path, QWidget* parent, bool visible,
                                              const ErrorQuestion& question) {
    platform::JpegBusyGuard busy = platform::JpegBusyGuard::acquire();
    if (!busy)
        return {};
    QPointer<JpegProgressWindow> window = new JpegProgressWindow(parent);
    if (question)
        window->setErrorQuestion(question);
    window->setMode(Mode::Decode);
    window->setUnseen(!visible);
    QImage picture;
    if (window->decodeFile(path))
        picture = window->picture();
    if (window)
        window->close();
    return picture;
}

bool JpegProgressWindow::encodeWithProgress(const QImage& image, const QString& path,
                                            QWidget* parent, const ErrorQuestion& question) {
    QPointer<JpegProgressWindow> window = new JpegProgressWindow(parent);
    if (question)
        window->setErrorQuestion(question);
    window->setMode(Mode::Encode);
    const bool ok = window->encodeFile(image, path);
    if (window)
        window->close();
    return ok;
}

}  // namespace hinagiku::schedule
