#include "platform/jpeg_codec.h"

#include <QColor>
#include <QList>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace hinagiku::platform {
namespace {

// libjpeg reports fatal errors by calling error_exit, which must not
// return. We leave with longjmp back into the one function that called
// setjmp (runDecode / runEncode). Those functions and the callbacks below
// hold no C++ objects with destructors in their frames, so the jump skips
// nothing; every C++ object lives in the caller's frame or in the job.
struct CodecHooks {
    jpeg_error_mgr errors;  // first: libjpeg hands us a pointer to it
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool cancelled;
    bool stoppedByWarning;
    bool warned;
    char firstWarning[JMSG_LENGTH_MAX];
    int lastPercent;
    const JpegProgress* onProgress;
    const JpegWarning* onWarning;
};

CodecHooks* hooksOf(j_common_ptr info) {
    return reinterpret_cast<CodecHooks*>(info->err);
}

// The calls into C++ callbacks happen in these helpers, which return before
// any jump; an exception from a callback counts as "stop".
bool askProgress(const JpegProgress& progress, int percent) noexcept {
    try {
        return progress(percent);
    } catch (...) {
        return false;
    }
}

bool askWarning(const JpegWarning& warning, const char* message) noexcept {
    try {
        return warning(std::string(message));
    } catch (...) {
        return true;
    }
}

[[noreturn]] void onErrorExit(j_common_ptr info) {
    CodecHooks* hooks = hooksOf(info);
    (*info->err->format_message)(info, hooks->message);
    std::longjmp(hooks->jump, 1);
}

void onEmitMessage(j_common_ptr info, int level) {
    if (level >= 0)
        return;  // trace messages
    CodecHooks* hooks = hooksOf(info);
    info->err->num_warnings++;
    if (hooks->warned)
        return;
    hooks->warned = true;
    (*info->err->format_message)(info, hooks->firstWarning);
    if (hooks->onWarning != nullptr && *hooks->onWarning &&
        askWarning(*hooks->onWarning, hooks->firstWarning)) {
        hooks->stoppedByWarning = true;
        std::longjmp(hooks->jump, 1);
    }
}

void onProgress(j_common_ptr info) {
    CodecHooks* hooks = hooksOf(info);
    const jpeg_progress_mgr* p = info->progress;
    const long limit = p->pass_limit > 0 ? p->pass_limit : 1;
    const int passes = p->total_passes > 0 ? p->total_passes : 1;
    const long long done =
        static_cast<long long>(p->completed_passes) * 100 + p->pass_counter * 100LL / limit;
    int percent = static_cast<int>(done / passes);
    if (percent > 99)
        percent = 99;  // 100 only when the work is done
    if (percent <= hooks->lastPercent)
        return;
    hooks->lastPercent = percent;
    if (hooks->onProgress != nullptr && *hooks->onProgress &&
        !askProgress(*hooks->onProgress, percent)) {
        hooks->cancelled = true;
        std::strcpy(hooks->message, "cancelled");
        std::longjmp(hooks->jump, 1);
    }
}

void installHooks(CodecHooks& hooks, j_common_ptr info, const JpegProgress* progress,
                  const JpegWarning* warning) {
    std::memset(&hooks, 0, sizeof hooks);
    info->err = jpeg_std_error(&hooks.errors);
    hooks.errors.error_exit = onErrorExit;
    hooks.errors.emit_message = onEmitMessage;
    hooks.progress.progress_monitor = onProgress;
    hooks.lastPercent = -1;
    hooks.onProgress = progress;
    hooks.onWarning = warning;
}

int chosenDenominator(const JpegDecodeOptions& options, unsigned width, unsigned height) {
    if (options.coverSize.isValid() && options.coverSize.width() > 0 &&
        options.coverSize.height() > 0) {
        for (const int d : {8, 4, 2}) {
            const unsigned w = (width + d - 1) / d;
            const unsigned h = (height + d - 1) / d;
            if (w >= static_cast<unsigned>(options.coverSize.width()) &&
                h >= static_cast<unsigned>(options.coverSize.height())) {
                return d;
            }
        }
        return 1;
    }
    const int d = options.scaleDenominator;
    return (d == 2 || d == 4 || d == 8) ? d : 1;
}

struct DecodeJob {
    jpeg_decompress_struct info;
    CodecHooks hooks;
    const unsigned char* data;
    unsigned long size;
    const JpegDecodeOptions* options;
    bool tooLarge;
    bool noMemory;
    unsigned headerWidth;
    unsigned headerHeight;
    QImage image;  // outlives every jump
    std::vector<unsigned char> cmykRow;
};

// Allocates the output picture once the output size and colours are known.
bool prepareImage(DecodeJob& job) {
    const jpeg_decompress_struct& info = job.info;
    QImage::Format format = QImage::Format_RGB888;
    if (info.quantize_colors) {
        format = QImage::Format_Indexed8;
    } else if (info.out_color_space == JCS_GRAYSCALE) {
        format = QImage::Format_Grayscale8;
    }
    job.image =
        QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), format);
    if (job.image.isNull())
        return false;
    // Rows the decoder never reaches (a file cut short before libjpeg's own
    // filling) stay a plain grey rather than uninitialised memory.
    job.image.fill(format == QImage::Format_Indexed8 ? 0 : 0x80);
    if (info.out_color_space == JCS_CMYK) {
        job.cmykRow.assign(static_cast<std::size_t>(info.output_width) * 4, 0);
    }
    return true;
}

void setPalette(DecodeJob& job) {
    const jpeg_decompress_struct& info = job.info;
    QList<QRgb> table;
    for (int i = 0; i < info.actual_number_of_colors; ++i) {
        if (info.out_color_components == 1) {
            const int v = info.colormap[0][i];
            table.push_back(qRgb(v, v, v));
        } else {
            table.push_back(qRgb(info.colormap[0][i], info.colormap[1][i], info.colormap[2][i]));
        }
    }
    job.image.setColorTable(table);
}

unsigned char* rowOf(DecodeJob& job, unsigned row) {
    return job.cmykRow.empty() ? job.image.scanLine(static_cast<int>(row)) : job.cmykRow.data();
}

// CMYK as Adobe writes it (inverted) and as others do.
void convertCmykRow(DecodeJob& job, unsigned row) {
    unsigned char* out = job.image.scanLine(static_cast<int>(row));
    const bool inverted = job.info.saw_Adobe_marker;
    for (unsigned x = 0; x < job.info.output_width; ++x) {
        int c = job.cmykRow[x * 4], m = job.cmykRow[x * 4 + 1], y = job.cmykRow[x * 4 + 2],
            k = job.cmykRow[x * 4 + 3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[x * 3] = static_cast<unsigned char>(c * k / 255);
        out[x * 3 + 1] = static_cast<unsigned char>(m * k / 255);
        out[x * 3 + 2] = static_cast<unsigned char>(y * k / 255);
    }
}

// 0: decoded; 1: stopped (the reason is in the job).
int runDecode(DecodeJob* job) {
    j_decompress_ptr info = &job->info;
    if (setjmp(job->hooks.jump)) {
        jpeg_destroy_decompress(info);
        return 1;
    }
    jpeg_create_decompress(info);
    info->progress = &job->hooks.progress;
    // Bounds libjpeg's own big buffers (progressive files keep every
    // coefficient); beyond it libjpeg fails cleanly instead of swapping.
    info->mem->max_memory_to_use = 1024L * 1024L * 1024L;
    jpeg_mem_src(info, job->data, job->size);
    jpeg_read_header(info, TRUE);
    job->headerWidth = info->image_width;
    job->headerHeight = info->image_height;
    if (static_cast<std::uint64_t>(info->image_width) * info->image_height >
        job->options->maxPixels) {
        job->tooLarge = true;
        jpeg_destroy_decompress(info);
        return 1;
    }

    const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    if (cmyk) {
        info->out_color_space = JCS_CMYK;
    } else if (info->jpeg_color_space != JCS_GRAYSCALE) {
        info->out_color_space = JCS_RGB;
    }
    info->scale_num = 1;
    info->scale_denom = static_cast<unsigned>(
        chosenDenominator(*job->options, info->image_width, info->image_height));
    info->dct_method = job->options->fastIntegerDct ? JDCT_IFAST : JDCT_ISLOW;
    if (job->options->reduceTo256Colours && !cmyk) {
        info->quantize_colors = TRUE;
        info->desired_number_of_colors = 256;
        info->two_pass_quantize = TRUE;
        info->dither_mode = JDITHER_FS;
    }
    jpeg_calc_output_dimensions(info);
    if (!prepareImage(*job)) {
        job->noMemory = true;
        jpeg_destroy_decompress(info);
        return 1;
    }
    jpeg_start_decompress(info);
    if (info->quantize_colors)
        setPalette(*job);
    while (info->output_scanline < info->output_height) {
        const unsigned row = info->output_scanline;
        JSAMPROW target = rowOf(*job, row);
        if (jpeg_read_scanlines(info, &target, 1) != 1)
            break;
        if (cmyk)
            convertCmykRow(*job, row);
    }
    jpeg_finish_decompress(info);
    jpeg_destroy_decompress(info);
    return 0;
}

// A growing malloc'd buffer as libjpeg's destination. Our own rather than
// jpeg_mem_dest, whose buffer pointer is only valid after a finished
// compression: after a cancel or an error it may point at freed memory.
struct MemoryDestination {
    jpeg_destination_mgr manager;  // first: libjpeg hands us a pointer to it
    unsigned char* buffer;
    std::size_t capacity;
    std::size_t size;  // bytes written, set when finished
};

MemoryDestination* destinationOf(j_compress_ptr info) {
    return reinterpret_cast<MemoryDestination*>(info->dest);
}

void onInitDestination(j_compress_ptr info) {
    MemoryDestination* d = destinationOf(info);
    d->capacity = 64 * 1024;
    d->buffer = static_cast<unsigned char*>(std::malloc(d->capacity));
    if (d->buffer == nullptr)
        ERREXIT1(info, JERR_OUT_OF_MEMORY, 0);
    d->manager.next_output_byte = d->buffer;
    d->manager.free_in_buffer = d->capacity;
}

boolean onEmptyOutputBuffer(j_compress_ptr info) {
    MemoryDestination* d = destinationOf(info);
    const std::size_t used = d->capacity;  // the whole buffer is full
    auto* grown = static_cast<unsigned char*>(std::realloc(d->buffer, d->capacity * 2));
    if (grown == nullptr)
        ERREXIT1(info, JERR_OUT_OF_MEMORY, 0);
    d->buffer = grown;
    d->capacity *= 2;
    d->manager.next_output_byte = d->buffer + used;
    d->manager.free_in_buffer = d->capacity - used;
    return TRUE;
}

void onTermDestination(j_compress_ptr info) {
    MemoryDestination* d = destinationOf(info);
    d->size = d->capacity - d->manager.free_in_buffer;
}

struct EncodeJob {
    jpeg_compress_struct info;
    CodecHooks hooks;
    MemoryDestination destination;
    const QImage* source;  // Format_RGB888 or Format_Grayscale8
    int quality;
};

int runEncode(EncodeJob* job) {
    j_compress_ptr info = &job->info;
    if (setjmp(job->hooks.jump)) {
        jpeg_destroy_compress(info);
        return 1;
    }
    jpeg_create_compress(info);
    info->progress = &job->hooks.progress;
    job->destination.manager.init_destination = onInitDestination;
    job->destination.manager.empty_output_buffer = onEmptyOutputBuffer;
    job->destination.manager.term_destination = onTermDestination;
    info->dest = &job->destination.manager;
    const bool grey = job->source->format() == QImage::Format_Grayscale8;
    info->image_width = static_cast<JDIMENSION>(job->source->width());
    info->image_height = static_cast<JDIMENSION>(job->source->height());
    info->input_components = grey ? 1 : 3;
    info->in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, job->quality, TRUE);
    jpeg_start_compress(info, TRUE);
    while (info->next_scanline < info->image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(job->source->constScanLine(static_cast<int>(info->next_scanline)));
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
    jpeg_destroy_compress(info);
    return 0;
}

// The picture in a form libjpeg takes, transparent parts on white.
QImage encodable(const QImage& image) {
    if (image.format() == QImage::Format_Grayscale8)
        return image;
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB888);
    QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QImage result(argb.size(), QImage::Format_RGB888);
    if (result.isNull())
        return result;
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        unsigned char* out = result.scanLine(y);
        for (int x = 0; x < argb.width(); ++x) {
            const int a = qAlpha(in[x]);
            out[x * 3] = static_cast<unsigned char>((qRed(in[x]) * a + 255 * (255 - a)) / 255);
            out[x * 3 + 1] =
                static_cast<unsigned char>((qGreen(in[x]) * a + 255 * (255 - a)) / 255);
            out[x * 3 + 2] = static_cast<unsigned char>((qBlue(in[x]) * a + 255 * (255 - a)) / 255);
        }
    }
    return result;
}

}  // namespace

JpegDecodeResult decodeJpeg(std::string_view bytes, const JpegDecodeOptions& options,
                            const JpegProgress& progress, const JpegWarning& warning) {
    JpegDecodeResult result;
    if (bytes.empty()) {
        result.message = "Empty input file";
        return result;
    }
    auto job = std::make_unique<DecodeJob>();
    installHooks(job->hooks, reinterpret_cast<j_common_ptr>(&job->info), &progress, &warning);
    job->data = reinterpret_cast<const unsigned char*>(bytes.data());
    job->size = static_cast<unsigned long>(bytes.size());
    job->options = &options;
    job->tooLarge = false;
    job->noMemory = false;
    job->headerWidth = 0;
    job->headerHeight = 0;

    const int outcome = runDecode(job.get());
    if (job->headerWidth > 0) {
        result.headerSize =
            QSize(static_cast<int>(job->headerWidth), static_cast<int>(job->headerHeight));
    }
    if (job->hooks.warned)
        result.message = job->hooks.firstWarning;
    if (outcome == 0) {
        result.status = JpegDecodeResult::Status::Ok;
        result.image = std::move(job->image);
        if (progress)
            askProgress(progress, 100);
        return result;
    }
    if (job->hooks.cancelled || job->hooks.stoppedByWarning) {
        result.status = JpegDecodeResult::Status::Cancelled;
        return result;
    }
    result.status = JpegDecodeResult::Status::Failed;
    if (job->tooLarge) {
        result.message = "画像が大きすぎます (" + std::to_string(job->headerWidth) + "×" +
                         std::to_string(job->headerHeight) + " ピクセル、上限 " +
                         std::to_string(options.maxPixels / 1'000'000) + " メガピクセル)";
    } else if (job->noMemory) {
        result.message = "画像のためのメモリが足りません";
    } else {
        result.message = job->hooks.message;
    }
    return result;
}

JpegDecodeResult decodeJpegFile(const std::filesystem::path& path, const JpegDecodeOptions& options,
                                const JpegProgress& progress, const JpegWarning& warning) {
    JpegDecodeResult result;
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) {
        result.message = "\"" + path.string() + "\": " + error.message();
        return result;
    }
    // Far above any picture below the pixel limit; keeps a stray huge file
    // from being read into memory.
    if (size > 1024ull * 1024ull * 1024ull) {
        result.message = "\"" + path.string() + "\": ファイルが大きすぎます";
        return result;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    std::ifstream in(path, std::ios::binary);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!in && !in.eof()) {
        result.message = "\"" + path.string() + "\": 読み込めません";
        return result;
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return decodeJpeg(bytes, options, progress, warning);
}

JpegEncodeResult encodeJpeg(const QImage& image, int quality, const JpegProgress& progress) {
    JpegEncodeResult result;
    if (image.isNull()) {
        result.message = "書き出す画像がありません";
        return result;
    }
    const QImage source = encodable(image);
    if (source.isNull()) {
        result.message = "画像のためのメモリが足りません";
        return result;
    }
    auto job = std::make_unique<EncodeJob>();
    installHooks(job->hooks, reinterpret_cast<j_common_ptr>(&job->info), &progress, nullptr);
    job->source = &source;
    job->quality = quality < 1 ? 1 : (quality > 100 ? 100 : quality);

    const int outcome = runEncode(job.get());
    if (outcome == 0 && job->destination.buffer != nullptr) {
        result.bytes.assign(reinterpret_cast<const char*>(job->destination.buffer),
                            job->destination.size);
        result.status = JpegEncodeResult::Status::Ok;
    } else if (job->hooks.cancelled) {
        result.status = JpegEncodeResult::Status::Cancelled;
    } else {
        result.message = job->hooks.message;
    }
    // The buffer is ours to free, whichever way the work ended.
    std::free(job->destination.buffer);
    if (result.ok() && progress)
        askProgress(progress, 100);
    return result;
}

}  // namespace hinagiku::platform
