#include "platform/jpeg_codec.h"

#include <QCoreApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "platform/jpeg_busy_flag.h"
#include "support/temp_home.h"

namespace hinagiku::platform {
namespace {

using Status = JpegDecodeResult::Status;

QImage gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, 128));
        }
    }
    return image;
}

QImage noise(int width, int height) {
    std::mt19937 random(7);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(random() % 256, random() % 256, random() % 256));
        }
    }
    return image;
}

std::string encoded(const QImage& image, int quality = 100) {
    const JpegEncodeResult result = encodeJpeg(image, quality);
    EXPECT_TRUE(result.ok()) << result.message;
    return result.bytes;
}

int largestDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int worst = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return worst;
}

// A JPEG written directly with libjpeg, for the kinds our encoder does not
// make (progressive, CMYK).
std::string writeWithLibjpeg(int width, int height, J_COLOR_SPACE space, int components,
                             bool progressive, const std::vector<unsigned char>& pixel) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width * components));
    for (int x = 0; x < width; ++x) {
        for (int c = 0; c < components; ++c)
            row[x * components + c] = pixel[c];
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&info, &r, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<char*>(out), size);
    std::free(out);
    return bytes;
}

TEST(JpegCodec, RoundTripsAPictureWithRisingProgress) {
    const QImage original = gradient(64, 48);
    std::vector<int> encodeSteps;
    const JpegEncodeResult encodedResult = encodeJpeg(original, 100, [&](int percent) {
        encodeSteps.push_back(percent);
        return true;
    });
    ASSERT_TRUE(encodedResult.ok()) << encodedResult.message;
    EXPECT_EQ(encodedResult.bytes.substr(0, 2), "\xFF\xD8");

    std::vector<int> decodeSteps;
    const JpegDecodeResult decoded = decodeJpeg(encodedResult.bytes, {}, [&](int percent) {
        decodeSteps.push_back(percent);
        return true;
    });
    ASSERT_TRUE(decoded.ok()) << decoded.message;
    EXPECT_TRUE(decoded.message.empty());
    EXPECT_EQ(decoded.image.size(), QSize(64, 48));
    EXPECT_EQ(decoded.headerSize, QSize(64, 48));
    EXPECT_LE(largestDifference(decoded.image, original), 8);

    for (const auto* steps : {&encodeSteps, &decodeSteps}) {
        ASSERT_GE(steps->size(), 3u);
        EXPECT_TRUE(std::is_sorted(steps->begin(), steps->end()));
        EXPECT_EQ(std::adjacent_find(steps->begin(), steps->end()), steps->end());
        EXPECT_EQ(steps->back(), 100);
    }
}

TEST(JpegCodec, KeepsGreyAndPutsTransparencyOnWhite) {
    QImage grey(16, 16, QImage::Format_Grayscale8);
    grey.fill(90);
    const JpegDecodeResult g = decodeJpeg(encoded(grey));
    ASSERT_TRUE(g.ok());
    EXPECT_EQ(g.image.format(), QImage::Format_Grayscale8);
    EXPECT_NEAR(qGray(g.image.pixel(8, 8)), 90, 2);

    QImage clear(16, 16, QImage::Format_ARGB32);
    clear.fill(qRgba(0, 0, 0, 0));
    const JpegDecodeResult c = decodeJpeg(encoded(clear));
    ASSERT_TRUE(c.ok());
    EXPECT_GE(qRed(c.image.pixel(8, 8)), 250);
}

TEST(JpegCodec, DecodesScaledWhenAskedOrWhenASmallerSizeSuffices) {
    const std::string big = encoded(gradient(1200, 1000), 80);
    struct Case {
        int denominator;
        QSize cover;
        QSize expected;
    };
    const Case cases[] = {
        {1, {}, {1200, 1000}},       {2, {}, {600, 500}},
        {8, {}, {150, 125}},         {3, {}, {1200, 1000}},  // not a libjpeg scale: full size
        {1, {133, 137}, {300, 250}},  // 1/8 would be too small for the height
        {1, {100, 100}, {150, 125}}, {8, {1300, 10}, {1200, 1000}},  // larger than the file: full
                                                                     // size
    };
    for (const auto& c : cases) {
        JpegDecodeOptions options;
        options.scaleDenominator = c.denominator;
        options.coverSize = c.cover;
        const JpegDecodeResult result = decodeJpeg(big, options);
        ASSERT_TRUE(result.ok()) << result.message;
        EXPECT_EQ(result.image.size(), c.expected) << c.denominator;
        EXPECT_EQ(result.headerSize, QSize(1200, 1000));
    }
}

TEST(JpegCodec, ReducesTo256ColoursWithFastDct) {
    JpegDecodeOptions options;
    options.reduceTo256Colours = true;
    options.fastIntegerDct = true;
    const JpegDecodeResult result = decodeJpeg(encoded(noise(64, 64)), options);
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.image.format(), QImage::Format_Indexed8);
    EXPECT_GT(result.image.colorCount(), 16);
    EXPECT_LE(result.image.colorCount(), 256);
    EXPECT_EQ(result.image.size(), QSize(64, 64));
}

TEST(JpegCodec, DecodesProgressiveAndAdobeCmykFiles) {
    std::vector<int> steps;
    const JpegDecodeResult progressive =
        decodeJpeg(writeWithLibjpeg(80, 60, JCS_RGB, 3, true, {200, 40, 10}), {}, [&](int p) {
            steps.push_back(p);
            return true;
        });
    ASSERT_TRUE(progressive.ok()) << progressive.message;
    EXPECT_EQ(progressive.image.size(), QSize(80, 60));
    const QRgb p = progressive.image.pixel(40, 30);
    EXPECT_NEAR(qRed(p), 200, 4);
    EXPECT_NEAR(qGreen(p), 40, 4);
    EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));
    EXPECT_EQ(steps.back(), 100);

    // Adobe stores CMYK inverted: (255, 0, 0, 255) is no cyan, full magenta
    // and yellow, no black: red.
    const JpegDecodeResult cmyk =
        decodeJpeg(writeWithLibjpeg(32, 32, JCS_CMYK, 4, false, {255, 0, 0, 255}));
    ASSERT_TRUE(cmyk.ok()) << cmyk.message;
    EXPECT_EQ(cmyk.image.format(), QImage::Format_RGB888);
    const QRgb red = cmyk.image.pixel(16, 16);
    EXPECT_GE(qRed(red), 245);
    EXPECT_LE(qGreen(red), 10);
    EXPECT_LE(qBlue(red), 10);
}

TEST(JpegCodec, RefusesBadInputCleanly) {
    const std::string good = encoded(gradient(64, 48));
    std::string huge = good;
    const auto sof = huge.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    huge[sof + 5] = '\x4E';  // height 20000
    huge[sof + 6] = '\x20';
    huge[sof + 7] = '\x4E';  // width 20000
    huge[sof + 8] = '\x20';

    struct Case {
        const char* name;
        std::string bytes;
        const char* messagePart;
    };
    const Case cases[] = {
        {"empty", "", "Empty"},
        {"text", "This is not a picture at all.", "Not a JPEG"},
        {"png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "Not a JPEG"},
        {"start only", "\xFF\xD8", ""},
        {"start and noise", std::string("\xFF\xD8\xFF\x01\x02\x03\x04\x05garbage", 16), ""},
        {"header cut", good.substr(0, 40), ""},
        {"20000 x 20000", huge, "20000×20000"},
    };
    for (const auto& c : cases) {
        const JpegDecodeResult result = decodeJpeg(c.bytes);
        EXPECT_EQ(result.status, Status::Failed) << c.name;
        EXPECT_TRUE(result.image.isNull()) << c.name;
        EXPECT_FALSE(result.message.empty()) << c.name;
        EXPECT_NE(result.message.find(c.messagePart), std::string::npos)
            << c.name << ": " << result.message;
    }
    EXPECT_EQ(decodeJpeg(huge).headerSize, QSize(20000, 20000));

    JpegDecodeOptions strict;
    strict.maxPixels = 1000;
    EXPECT_EQ(decodeJpeg(good, strict).status, Status::Failed);
}

TEST(JpegCodec, DecodesWhatATruncatedFileHoldsUnlessTheWarningStopsIt) {
    const QImage original = noise(256, 256);
    const std::string whole = encoded(original, 90);
    const std::string half = whole.substr(0, whole.size() / 2);

    const JpegDecodeResult kept = decodeJpeg(half);
    ASSERT_TRUE(kept.ok()) << kept.message;
    EXPECT_NE(kept.message.find("Premature end"), std::string::npos) << kept.message;
    EXPECT_EQ(kept.image.size(), QSize(256, 256));
    // The rows before the cut are those of the whole file.
    const QImage full = decodeJpeg(whole).image;
    EXPECT_EQ(largestDifference(kept.image.copy(0, 0, 256, 16), full.copy(0, 0, 256, 16)), 0);

    int asked = 0;
    const JpegDecodeResult stopped = decodeJpeg(half, {}, {}, [&](const std::string& message) {
        ++asked;
        EXPECT_NE(message.find("Premature end"), std::string::npos);
        return true;
    });
    EXPECT_EQ(stopped.status, Status::Cancelled);
    EXPECT_EQ(asked, 1);

    // Going on after the question: asked once, however many faults follow.
    std::string damaged = whole;
    for (std::size_t i = whole.size() / 3; i < whole.size() - 2; i += 97)
        damaged[i] = '\xFF';
    asked = 0;
    const JpegDecodeResult goingOn = decodeJpeg(damaged, {}, {}, [&](const std::string&) {
        ++asked;
        return false;
    });
    EXPECT_LE(asked, 1);
    if (goingOn.ok()) {
        EXPECT_EQ(goingOn.image.size(), QSize(256, 256));
    }
}

TEST(JpegCodec, CancelsFromTheProgressReport) {
    const QImage picture = gradient(300, 300);
    const std::string bytes = encoded(picture);
    struct Case {
        const char* name;
        JpegProgress progress;
    };
    const Case cases[] = {
        {"answer", [](int percent) { return percent < 30; }},
        {"exception",
         [](int percent) -> bool {
             if (percent > 10)
                 throw std::runtime_error("stop");
             return true;
         }},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decodeJpeg(bytes, {}, c.progress).status, Status::Cancelled) << c.name;
        const JpegEncodeResult e = encodeJpeg(picture, 100, c.progress);
        EXPECT_EQ(e.status, JpegEncodeResult::Status::Cancelled) << c.name;
        EXPECT_TRUE(e.bytes.empty());
    }
}

TEST(JpegCodec, ReadsFilesAndNamesTheOneItCannotRead) {
    testing::TempHome home;
    home.writeFile("a.jpg", encoded(gradient(20, 10)));
    const JpegDecodeResult ok = decodeJpegFile(home.path() / "a.jpg");
    ASSERT_TRUE(ok.ok()) << ok.message;
    EXPECT_EQ(ok.image.size(), QSize(20, 10));

    const JpegDecodeResult missing = decodeJpegFile(home.path() / "missing.jpg");
    EXPECT_EQ(missing.status, Status::Failed);
    EXPECT_NE(missing.message.find("missing.jpg"), std::string::npos);

    EXPECT_FALSE(encodeJpeg(QImage()).ok());
}

TEST(JpegBusyGuard, KeepsASecondDecodeOutForABoundedTime) {
    EXPECT_FALSE(JpegBusyGuard::isBusy());
    JpegBusyGuard first = JpegBusyGuard::acquire();
    ASSERT_TRUE(first.owns());
    EXPECT_TRUE(JpegBusyGuard::isBusy());

    const auto start = std::chrono::steady_clock::now();
    JpegBusyGuard second = JpegBusyGuard::acquire(std::chrono::milliseconds(100));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(second.owns());
    EXPECT_GE(waited, std::chrono::milliseconds(100));
    EXPECT_LT(waited, std::chrono::seconds(3));

    JpegBusyGuard moved = std::move(first);
    EXPECT_FALSE(first.owns());
    EXPECT_TRUE(JpegBusyGuard::isBusy());
    moved.release();
    EXPECT_FALSE(JpegBusyGuard::isBusy());
    {
        JpegBusyGuard third = JpegBusyGuard::acquire(std::chrono::milliseconds(0));
        EXPECT_TRUE(third.owns());
    }
    EXPECT_FALSE(JpegBusyGuard::isBusy());
}

}  // namespace
}  // namespace hinagiku::platform
