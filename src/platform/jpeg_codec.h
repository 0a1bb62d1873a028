#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace hinagiku::platform {

// Progress of one decode or encode, 0 to 100, never going back; answering
// false cancels the work.
using JpegProgress = std::function<bool(int percent)>;
// A recoverable fault in the data (corrupt segment, file cut short): the
// codec can go on with what it has. Answering true stops the work. Asked at
// most once per picture; later faults of the same picture go on quietly.
using JpegWarning = std::function<bool(const std::string& message)>;

struct JpegDecodeOptions {
    // libjpeg's scaled decoding: 1, 2, 4 or 8 (other values count as 1).
    int scaleDenominator = 1;
    // When valid, the largest reduction that still covers this size is used
    // instead of scaleDenominator (a preview need not decode every pixel).
    QSize coverSize;
    bool fastIntegerDct = false;
    // A palette picture of at most 256 colours (two-pass quantisation with
    // dithering) instead of full colour. CMYK pictures stay full colour.
    bool reduceTo256Colours = false;
    // Pictures whose header promises more pixels are refused before any
    // memory is taken for them.
    std::uint64_t maxPixels = 100'000'000;
};

struct JpegDecodeResult {
    enum class Status { Ok, Failed, Cancelled };
    Status status = Status::Failed;
    // With Ok: the picture (Format_RGB888, Format_Grayscale8 or, reduced,
    // Format_Indexed8); after a warning, what could be decoded.
    QImage image;
    // With Failed: why. With Ok or Cancelled: the first warning, if any.
    std::string message;
    // Size given by the file's header (before scaling), when it was read.
    QSize headerSize;

    bool ok() const { return status == Status::Ok; }
};

struct JpegEncodeResult {
    enum class Status { Ok, Failed, Cancelled };
    Status status = Status::Failed;
    std::string bytes;  // the JPEG file
    std::string message;

    bool ok() const { return status == Status::Ok; }
};

// Decodes a JPEG file held in memory. Never throws for bad data: anything
// that is not a JPEG, a picture too large and a hopeless file come back as
// Failed with libjpeg's message (or ours).
JpegDecodeResult decodeJpeg(std::string_view bytes, const JpegDecodeOptions& options = {},
                            const JpegProgress& progress = {}, const JpegWarning& warning = {});
JpegDecodeResult decodeJpegFile(const std::filesystem::path& path,
                                const JpegDecodeOptions& options = {},
                                const JpegProgress& progress = {}, const JpegWarning& warning = {});

// Encodes a picture as a baseline JPEG (quality 1 to 100; picture memos use
// 100). Transparent parts are put on white; grey pictures stay grey.
JpegEncodeResult encodeJpeg(const QImage& image, int quality = 100,
                            const JpegProgress& progress = {});

}  // namespace hinagiku::platform
