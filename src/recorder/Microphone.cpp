#include "recorder/Microphone.h"

#include "recorder/takes/TakeProcessing.h"

#include <SDL.h>

namespace quizzolo::recorder {

Microphone::Microphone(const QString &audioDriver)
{
    // Without any audio device at start SDL runs its silent driver for good: only a new
    // start of the program can find one.
    const QString restart = QStringLiteral("Nessun dispositivo audio: collega il microfono e riapri il programma; "
                                           "intanto si può importare un file.");
    if (audioDriver.isEmpty() || audioDriver == QLatin1String("dummy") || SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        problem_ = restart;
        return;
    }
    audioStarted_ = true;
    canLookAgain_ = true;
    // Opened only while recording: an open capture device shows the microphone in use
    // on the desktop and keeps other programs from it.
    present_ = open();
    stop();
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
    present_ = device_ != 0;
    problem_ = present_ ? QString()
                        : QStringLiteral("Nessun microfono: collegalo e premi Registra per riprovare; intanto si "
                                         "può importare un file.");
    return present_;
}

Microphone::~Microphone()
{
    if (device_ != 0)
        SDL_CloseAudioDevice(device_);
    if (audioStarted_)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool Microphone::start()
{
    stop();
    if (!canLookAgain_ || !open())
        return false;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

bool Microphone::capturing() const
{
    // SDL stops a device it lost (unplugged, or its server went away).
    return device_ != 0 && SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_PLAYING;
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
