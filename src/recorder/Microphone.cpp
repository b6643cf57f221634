#include "recorder/Microphone.h"

#include "recorder/TakeProcessing.h"

#include <SDL.h>

namespace quizzolo::recorder {

Microphone::Microphone(const QString &audioDriver)
{
    const QString none = QStringLiteral("Nessun microfono: non si può registrare, ma si può importare un file.");
    if (audioDriver.isEmpty()) {
        problem_ = QStringLiteral("Audio non disponibile: non si può registrare.");
        return;
    }
    if (audioDriver == QLatin1String("dummy") || SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        problem_ = none;
        return;
    }
    audioStarted_ = true;
    // Opened only while recording: an open capture device shows the microphone in use
    // on the desktop and keeps other programs from it.
    present_ = open();
    stop();
    if (!present_)
        problem_ = none;
}

bool Microphone::open()
{
    SDL_AudioSpec wanted{};
    wanted.freq = clipRate();
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

} // namespace quizzolo::recorder
