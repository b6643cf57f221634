#include "recorder/Microphone.h"

#include "recorder/TakeProcessing.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>

namespace quizzolo::recorder {

namespace {

constexpr std::size_t windowSamples = clipRate / 50; // 20 ms
const double speechRms = std::pow(10.0, -35.0 / 20.0);
const double quietFloor = std::pow(10.0, quietFloorDb / 20.0);
const double quietBelowLoudest = std::pow(10.0, quietBelowLoudestDb / 20.0);
constexpr std::size_t quietWindowsToEnd = 50; // one second

} // namespace

Microphone::Microphone()
{
    // The player has started SDL audio with the driver that works; this only counts on it.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        problem_ = QStringLiteral("Audio non disponibile: non si può registrare.");
        return;
    }
    audioStarted_ = true;
    if (const char *driver = SDL_GetCurrentAudioDriver(); !driver || SDL_strcmp(driver, "dummy") == 0) {
        problem_ = QStringLiteral("Nessun microfono: non si può registrare, ma si può importare un file.");
        return;
    }
    // Opened only while recording: an open capture device shows the microphone in use
    // on the desktop and keeps other programs from it.
    present_ = open();
    stop();
    if (!present_)
        problem_ = QStringLiteral("Nessun microfono: non si può registrare, ma si può importare un file.");
}

bool Microphone::open()
{
    SDL_AudioSpec wanted{};
    wanted.freq = clipRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = 512;
    SDL_AudioSpec obtained{};
    device_ = SDL_OpenAudioDevice(nullptr, 1, &wanted, &obtained, 0);
    return device_ != 0;
}

Microphone::~Microphone()
{
    if (device_ != 0)
        SDL_CloseAudioDevice(device_);
    if (audioStarted_)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void Microphone::start()
{
    if (present_ && (device_ != 0 || open()))
        SDL_PauseAudioDevice(device_, 0);
}

void Microphone::stop()
{
    if (device_ != 0)
        SDL_CloseAudioDevice(device_);
    device_ = 0;
}

void Microphone::fetch(std::vector<float> &to)
{
    if (device_ == 0)
        return;
    Sint16 block[1024];
    for (;;) {
        const Uint32 bytes = SDL_DequeueAudio(device_, block, sizeof block);
        if (bytes == 0)
            break;
        for (Uint32 i = 0; i < bytes / sizeof(Sint16); ++i)
            to.push_back(static_cast<float>(block[i]) / 32768.0f);
    }
}

void SpeechEnd::feed(const float *samples, std::size_t count)
{
    pending_.insert(pending_.end(), samples, samples + count);
    std::size_t used = 0;
    for (; used + windowSamples <= pending_.size(); used += windowSamples) {
        double sum = 0;
        for (std::size_t i = used; i < used + windowSamples; ++i)
            sum += static_cast<double>(pending_[i]) * pending_[i];
        window(std::sqrt(sum / windowSamples));
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(used));
}

void SpeechEnd::window(double rms)
{
    if (over_)
        return;
    loudest_ = std::max(loudest_, rms);
    if (rms > speechRms)
        speech_ = true;
    // Quiet is relative to the speech, so a little room noise still ends the take.
    const bool quiet = rms < std::max(quietFloor, loudest_ * quietBelowLoudest);
    quietWindows_ = quiet ? quietWindows_ + 1 : 0;
    over_ = speech_ && quietWindows_ >= quietWindowsToEnd;
}

int meterPercent(const float *samples, std::size_t count)
{
    float peak = 0;
    for (std::size_t i = 0; i < count; ++i)
        peak = std::max(peak, std::fabs(samples[i]));
    const double db = decibels(peak);
    return static_cast<int>(std::clamp((db + 60.0) / 60.0 * 100.0, 0.0, 100.0));
}

} // namespace quizzolo::recorder
