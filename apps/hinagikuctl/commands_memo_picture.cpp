#include "commands_memo_picture.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

#include <system_error>

#include "platform/atomic_file.h"
#include "platform/jpeg_codec.h"

namespace hinagiku::ctl {
namespace {

QImage readPicture(const std::string& file) {
    QImageReader reader(QString::fromStdString(file));
    QImage image = reader.read();
    if (image.isNull()) {
        // A JPEG Qt has no plugin for: our own decoder.
        platform::JpegDecodeResult jpeg = platform::decodeJpegFile(file);
        if (jpeg.ok())
            image = std::move(jpeg.image);
    }
    return image;
}

}  // namespace

int memoPicture(CommandContext& context, platform::Settings& settings,
                const std::filesystem::path& memoFolder, const std::string& key,
                const std::string& file) {
    const QImage image = readPicture(file);
    if (image.isNull()) {
        context.err << "hinagikuctl: " << file << " is no picture that can be read\n";
        return kExitIoError;
    }
    const bool bitmap = settings.readInt("Form", "PastePic", 0) != 0;
    const std::filesystem::path target = memoFolder / (key + (bitmap ? ".BMP" : ".JPG"));
    std::string bytes;
    if (bitmap) {
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        if (image.save(&buffer, "BMP"))
            bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
    } else {
        platform::JpegEncodeResult jpeg = platform::encodeJpeg(image, 100);
        if (jpeg.ok())
            bytes = std::move(jpeg.bytes);
    }
    if (bytes.empty()) {
        context.err << "hinagikuctl: cannot encode " << file << "\n";
        return kExitIoError;
    }
    std::error_code ec;
    std::filesystem::create_directory(memoFolder, ec);
    platform::writeFileAtomically(target, bytes);
    settings.edit([&](platform::SettingsEdit& edit) {
        edit.writeText(key, "Kind", "1");
        edit.writeText(key, "BmpFile", target.string());
    });
    context.out << target.string() << '\n';
    return kExitOk;
}

}  // namespace hinagiku::ctl
