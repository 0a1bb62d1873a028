#include "platform/sound_player.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <system_error>
#include <utility>

namespace hinagiku::platform {

namespace {

// SDL_mixer has one device per process; a second player stays silent.
std::atomic<bool> deviceTaken{false};

// Cues play on this mixer channel; files use the separate music stream.
constexpr int kCueChannel = 0;
// Key tones have a channel of their own, so that a cue never cuts them.
constexpr int kToneChannel = 1;

}  // namespace

struct SoundPlayer::Shared {
    explicit Shared(Options o) : options(std::move(o)) {}

    bool hasWork() const {
        return stopRequested || cue.has_value() || file.has_value() || !tones.empty() ||
               toneStopRequested;
    }

    const Options options;

    mutable std::mutex mutex;
    std::condition_variable wake;          // the worker waits here for requests
    mutable std::condition_variable idle;  // waitIdle and the destructor wait here

    // Requests not yet taken by the worker; guarded by mutex.
    std::optional<QByteArray> cue;
    std::optional<std::filesystem::path> file;
    bool stopRequested = false;
    std::deque<QByteArray> tones;  // never collapsed
    bool toneStopRequested = false;
    bool quit = false;

    // Worker progress; guarded by mutex.
    bool busy = false;
    bool finished = false;
    DeviceState state = DeviceState::NotOpened;
    int attempts = 0;
    std::chrono::steady_clock::time_point lastAttempt;

    // Touched by the worker thread only.
    Mix_Chunk* chunk = nullptr;
    Mix_Chunk* toneChunk = nullptr;
    Mix_Music* music = nullptr;
};

namespace {

using Shared = SoundPlayer::Shared;

bool openDevice(const Shared& s) {
    if (deviceTaken.exchange(true))
        return false;
    // Only audio is wanted from SDL: leave the program's signals alone.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Hinagiku");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        deviceTaken = false;
        return false;
    }
    std::error_code ec;
    if (!s.options.soundFont.empty() && std::filesystem::is_regular_file(s.options.soundFont, ec))
        Mix_SetSoundFonts(s.options.soundFont.c_str());
    Mix_Init(MIX_INIT_MID);  // without a MIDI decoder only .MID files stay silent
    if (Mix_OpenAudioDevice(44100, MIX_DEFAULT_FORMAT, 2, 1024, nullptr,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE) !=
        0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        deviceTaken = false;
        return false;
    }
    Mix_AllocateChannels(2);
    return true;
}

void closeDevice(Shared& s) {
    bool open = false;
    {
        std::lock_guard lock(s.mutex);
        open = s.state == SoundPlayer::DeviceState::Open;
        s.state = SoundPlayer::DeviceState::NotOpened;
    }
    if (!open)
        return;
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    if (s.chunk != nullptr)
        Mix_FreeChunk(std::exchange(s.chunk, nullptr));
    if (s.toneChunk != nullptr)
        Mix_FreeChunk(std::exchange(s.toneChunk, nullptr));
    if (s.music != nullptr)
        Mix_FreeMusic(std::exchange(s.music, nullptr));
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    deviceTaken = false;
}

// Opens the device on the first sound; after a failure, again only once the
// retry time has passed, so that a machine without sound pays once.
bool ensureOpen(Shared& s) {
    {
        std::lock_guard lock(s.mutex);
        if (s.state == SoundPlayer::DeviceState::Open)
            return true;
        const auto now = std::chrono::steady_clock::now();
        if (s.state == SoundPlayer::DeviceState::Failed &&
            now - s.lastAttempt < s.options.retryAfter)
            return false;
        ++s.attempts;
        s.lastAttempt = now;
    }
    const bool ok = openDevice(s);
    std::lock_guard lock(s.mutex);
    s.state = ok ? SoundPlayer::DeviceState::Open : SoundPlayer::DeviceState::Failed;
    return ok;
}

void stopAll(Shared& s) {
    Mix_HaltChannel(kCueChannel);
    Mix_HaltMusic();
    if (s.chunk != nullptr)
        Mix_FreeChunk(std::exchange(s.chunk, nullptr));
    if (s.music != nullptr)
        Mix_FreeMusic(std::exchange(s.music, nullptr));
}

void startCue(Shared& s, const QByteArray& wave) {
    // The new cue replaces the old one even when it turns out unplayable.
    Mix_HaltChannel(kCueChannel);
    if (s.chunk != nullptr)
        Mix_FreeChunk(std::exchange(s.chunk, nullptr));
    if (wave.isEmpty())
        return;
    SDL_RWops* rw = SDL_RWFromConstMem(wave.constData(), static_cast<int>(wave.size()));
    if (rw == nullptr)
        return;
    s.chunk = Mix_LoadWAV_RW(rw, 1);
    if (s.chunk != nullptr && Mix_PlayChannel(kCueChannel, s.chunk, 0) < 0)
        Mix_FreeChunk(std::exchange(s.chunk, nullptr));
}

void stopTone(Shared& s) {
    Mix_HaltChannel(kToneChannel);
    if (s.toneChunk != nullptr)
        Mix_FreeChunk(std::exchange(s.toneChunk, nullptr));
}

void startTone(Shared& s, const QByteArray& wave) {
    stopTone(s);
    SDL_RWops* rw = SDL_RWFromConstMem(wave.constData(), static_cast<int>(wave.size()));
    if (rw == nullptr)
        return;
    s.toneChunk = Mix_LoadWAV_RW(rw, 1);
    if (s.toneChunk != nullptr && Mix_PlayChannel(kToneChannel, s.toneChunk, 0) < 0)
        Mix_FreeChunk(std::exchange(s.toneChunk, nullptr));
}

void startFile(Shared& s, const std::filesystem::path& path) {
    Mix_HaltMusic();
    if (s.music != nullptr)
        Mix_FreeMusic(std::exchange(s.music, nullptr));
    // Only regular files: opening a FIFO or a device would block the worker.
    // An empty file is no sound, though the MIDI decoder would start on it.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size == 0)
        return;
    s.music = Mix_LoadMUS(path.c_str());
    if (s.music != nullptr && Mix_PlayMusic(s.music, 0) != 0)
        Mix_FreeMusic(std::exchange(s.music, nullptr));
}

void runWorker(std::shared_ptr<Shared> shared) {
    Shared& s = *shared;
    std::unique_lock lock(s.mutex);
    for (;;) {
        s.wake.wait(lock, [&] { return s.quit || s.hasWork(); });
        if (s.quit)
            break;
        const bool stop = std::exchange(s.stopRequested, false);
        std::optional<QByteArray> cue = std::exchange(s.cue, std::nullopt);
        std::optional<std::filesystem::path> file = std::exchange(s.file, std::nullopt);
        const bool toneStop = std::exchange(s.toneStopRequested, false);
        std::deque<QByteArray> tones = std::exchange(s.tones, {});
        s.busy = true;
        lock.unlock();
        if (ensureOpen(s)) {
            if (stop)
                stopAll(s);
            if (cue)
                startCue(s, *cue);
            if (file)
                startFile(s, *file);
            if (toneStop)
                stopTone(s);
            for (const auto& tone : tones)
                startTone(s, tone);
        }
        lock.lock();
        s.busy = false;
        s.idle.notify_all();
    }
    lock.unlock();
    closeDevice(s);
    lock.lock();
    s.finished = true;
    s.idle.notify_all();
}

}  // namespace

SoundPlayer::SoundPlayer() : SoundPlayer(Options{}) {}

SoundPlayer::SoundPlayer(Options options) : shared_(std::make_shared<Shared>(std::move(options))) {}

SoundPlayer::~SoundPlayer() {
    if (!worker_.joinable())
        return;
    std::unique_lock lock(shared_->mutex);
    shared_->quit = true;
    shared_->wake.notify_all();
    const bool done =
        shared_->idle.wait_for(lock, std::chrono::seconds(2), [&] { return shared_->finished; });
    lock.unlock();
    // A worker stuck in the sound server keeps its own reference to the
    // shared state and is left behind rather than holding up the exit.
    if (done)
        worker_.join();
    else
        worker_.detach();
}

void SoundPlayer::ensureWorker() {
    if (!worker_.joinable())
        worker_ = std::thread(runWorker, shared_);
}

void SoundPlayer::playCue(const QByteArray& wave) {
    std::lock_guard lock(shared_->mutex);
    ensureWorker();
    shared_->cue = wave;
    shared_->wake.notify_one();
}

void SoundPlayer::playFile(const std::filesystem::path& path) {
    std::lock_guard lock(shared_->mutex);
    ensureWorker();
    shared_->file = path;
    shared_->wake.notify_one();
}

void SoundPlayer::stop() {
    std::lock_guard lock(shared_->mutex);
    // Nothing ever played: there is nothing to silence and no reason to open the device.
    if (!worker_.joinable())
        return;
    shared_->cue.reset();
    shared_->file.reset();
    shared_->stopRequested = true;
    shared_->wake.notify_one();
}

void SoundPlayer::playTone(const QByteArray& wave, std::function<void()> playedOut) {
    {
        std::lock_guard lock(shared_->mutex);
        ensureWorker();
        shared_->tones.push_back(wave);
        shared_->wake.notify_one();
    }
    noticeAfterWave(wave, std::move(playedOut));
}

void SoundPlayer::stopTone() {
    cancelToneNotice();
    std::lock_guard lock(shared_->mutex);
    if (!worker_.joinable())
        return;
    shared_->tones.clear();
    shared_->toneStopRequested = true;
    shared_->wake.notify_one();
}

SoundPlayer::DeviceState SoundPlayer::deviceState() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->state;
}

int SoundPlayer::openAttempts() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->attempts;
}

bool SoundPlayer::waitIdle(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(shared_->mutex);
    return shared_->idle.wait_for(lock, timeout,
                                  [&] { return !shared_->busy && !shared_->hasWork(); });
}

bool SoundPlayer::cuePlaying() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->state == DeviceState::Open && Mix_Playing(kCueChannel) != 0;
}

bool SoundPlayer::filePlaying() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->state == DeviceState::Open && Mix_PlayingMusic() != 0;
}

}  // namespace hinagiku::platform
