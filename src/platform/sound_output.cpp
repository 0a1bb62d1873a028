#include "platform/sound_output.h"

#include <QTimer>

#include <cstdint>

#include "platform/sound_player.h"

namespace hinagiku::platform {

SoundOutput::SoundOutput() = default;
SoundOutput::~SoundOutput() = default;

void SoundOutput::playTone(const QByteArray& wave, std::function<void()> playedOut) {
    noticeAfterWave(wave, std::move(playedOut));
}

void SoundOutput::stopTone() {
    cancelToneNotice();
}

void SoundOutput::noticeAfterWave(const QByteArray& wave, std::function<void()> playedOut) {
    if (!toneTimer_) {
        toneTimer_ = std::make_unique<QTimer>();
        toneTimer_->setSingleShot(true);
        toneTimer_->setTimerType(Qt::PreciseTimer);
    }
    toneTimer_->stop();
    QObject::disconnect(toneTimer_.get(), &QTimer::timeout, nullptr, nullptr);
    if (playedOut)
        QObject::connect(toneTimer_.get(), &QTimer::timeout, toneTimer_.get(),
                         std::move(playedOut));
    toneTimer_->start(waveDurationMs(wave));
}

void SoundOutput::cancelToneNotice() {
    if (toneTimer_) {
        toneTimer_->stop();
        QObject::disconnect(toneTimer_.get(), &QTimer::timeout, nullptr, nullptr);
    }
}

namespace {

std::uint32_t le32(const QByteArray& b, qsizetype at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

}  // namespace

int waveDurationMs(const QByteArray& wave) {
    if (wave.size() < 12 || !wave.startsWith("RIFF") || wave.mid(8, 4) != "WAVE")
        return 0;
    std::uint32_t byteRate = 0;
    qsizetype at = 12;
    while (at + 8 <= wave.size()) {
        const QByteArray id = wave.mid(at, 4);
        const std::uint32_t size = le32(wave, at + 4);
        if (id == "fmt " && at + 16 <= wave.size() - 8)
            byteRate = le32(wave, at + 8 + 8);
        if (id == "data") {
            if (byteRate == 0)
                return 0;
            const std::uint64_t bytes =
                std::min<std::uint64_t>(size, static_cast<std::uint64_t>(wave.size() - at - 8));
            return static_cast<int>((bytes * 1000 + byteRate - 1) / byteRate);
        }
        at += 8 + static_cast<qsizetype>(size) + (size & 1);
    }
    return 0;
}

namespace {

SoundOutput* installed = nullptr;

}  // namespace

SoundOutput& soundOutput() {
    if (installed != nullptr)
        return *installed;
    // Constructed on first use and cheap: the device opens with the first sound.
    static SoundPlayer systemPlayer;
    return systemPlayer;
}

void setSoundOutput(SoundOutput* output) {
    installed = output;
}

}  // namespace hinagiku::platform
