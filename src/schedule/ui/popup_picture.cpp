#include "schedule/ui/popup_picture.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <filesystem>

#include "platform/jpeg_busy_flag.h"
#include "platform/jpeg_codec.h"

namespace hinagiku::schedule {
namespace {

std::string upperExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return ext;
}

QImage drawDaisy(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0xd8, 0xee, 0xd0));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(size.width() / 2.0, size.height() / 2.0);
    const double radius = std::min(size.width(), size.height()) * 0.42;
    p.setPen(QPen(QColor(0x4a, 0x8a, 0x3a), 3));
    p.drawLine(centre + QPointF(0, radius * 0.3), QPointF(centre.x(), size.height()));
    p.setPen(QPen(QColor(0xc8, 0xc8, 0xd8), 1));
    p.setBrush(Qt::white);
    constexpr int kPetals = 16;
    for (int i = 0; i < kPetals; ++i) {
        p.save();
        p.translate(centre);
        p.rotate(360.0 * i / kPetals);
        p.drawEllipse(QRectF(-radius * 0.11, -radius, radius * 0.22, radius * 0.7));
        p.restore();
    }
    p.setPen(QPen(QColor(0xc0, 0x90, 0x10), 1));
    p.setBrush(QColor(0xf5, 0xc8, 0x20));
    p.drawEllipse(centre, radius * 0.3, radius * 0.3);
    return image;
}

}  // namespace

PopupPicture loadPopupPicture(const std::string& path, bool fullSize, QSize box) {
    PopupPicture result;
    const std::string ext = upperExtension(path);
    if (ext == ".BMP") {
        if (!result.image.load(QString::fromStdString(path), "BMP")) {
            result.error = "\"" + path + "\": ビットマップとして読み込めません。";
        }
        return result;
    }
    if (ext != ".JPG")
        return result;

    platform::JpegBusyGuard guard = platform::JpegBusyGuard::acquire();
    if (!guard) {
        result.error = "\"" + path + "\": 他の JPEG の読み込みが終わらないので表示できません。";
        return result;
    }
    platform::JpegDecodeOptions options;
    if (!fullSize)
        options.coverSize = box;
    // A file cut short or with a damaged segment still shows what it has.
    const auto goOn = [](const std::string&) { return false; };
    platform::JpegDecodeResult decoded = platform::decodeJpegFile(path, options, {}, goOn);
    if (decoded.ok()) {
        result.image = std::move(decoded.image);
    } else {
        result.error = "\"" + path + "\": " + decoded.message;
    }
    return result;
}

const QImage& defaultPopupPicture() {
    static const QImage image = drawDaisy(kPopupPictureSize);
    return image;
}

QImage popupPictureView(const QImage& image, bool stretch, QSize box) {
    if (image.isNull())
        return image;
    if (stretch) {
        if (image.size() == box)
            return image;
        return image.scaled(box, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (image.width() <= box.width() && image.height() <= box.height())
        return image;
    // Only the middle of a large picture is seen; the label centres the rest.
    const int w = std::min(image.width(), box.width());
    const int h = std::min(image.height(), box.height());
    return image.copy((image.width() - w) / 2, (image.height() - h) / 2, w, h);
}

}  // namespace hinagiku::schedule
