#include "common/sound/SdlClipPlayer.h"

#include "common/ClipCatalogue.h"
#include "common/TerminalText.h"
#include "common/sound/ClipDecoder.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <SDL.h>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <set>
#include <unistd.h>
#include <vector>

namespace quizzolo {

namespace {

// ALSA prints a screenful when there is no sound card; one line of our own says it.
class QuietStderr {
  public:
    QuietStderr()
    {
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        if (saved_ >= 0 && null >= 0)
            dup2(null, STDERR_FILENO);
        if (null >= 0)
            close(null);
    }
    ~QuietStderr()
    {
        std::fflush(stderr);
        if (saved_ >= 0) {
            dup2(saved_, STDERR_FILENO);
            close(saved_);
        }
    }
    QuietStderr(const QuietStderr &) = delete;
    QuietStderr &operator=(const QuietStderr &) = delete;

  private:
    int saved_ = -1;
};

SDL_AudioDeviceID openDevice(SDL_AudioSpec &obtained)
{
    SDL_AudioSpec wanted{};
    wanted.freq = clipRate();
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = 256;      // ~12 ms: a short way from play() to the ear
    wanted.callback = nullptr; // queued audio
    return SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
}

} // namespace

struct SdlClipPlayer::Impl {
    SDL_AudioDeviceID device = 0;
    SDL_AudioSpec spec{};
    QString driver;
    struct Cached {
        QDateTime modified; // a clip recorded anew while the program runs is read again
        qint64 size = 0;
        bool playable = false;
        Samples samples;
    };
    std::map<QString, Cached> cache;
    std::set<QString> reported; // already named on stderr
    Samples beep;

    bool open()
    {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        bool initialised = false;
        {
            QuietStderr quiet;
            initialised = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
            if (initialised)
                device = openDevice(spec);
        }
        if (device == 0) {
            // No usable sound card: go on silently, with the same pacing.
            if (initialised) {
                SDL_AudioQuit(); // swap the driver, the subsystem stays up
                if (SDL_AudioInit("dummy") == 0)
                    device = openDevice(spec);
            } else {
                SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
                if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0)
                    device = openDevice(spec);
            }
            if (device != 0)
                std::fprintf(stderr, "quizzolo: nessuna scheda audio utilizzabile, si continua senza suono\n");
        }
        if (device == 0) {
            std::fprintf(stderr, "quizzolo: audio non disponibile (%s)\n", SDL_GetError());
            return false;
        }
        driver = QString::fromUtf8(SDL_GetCurrentAudioDriver());
        return true;
    }

    // The longest the trainer plays a clip of this file name: its role's limit, or the
    // longest of any role for a name outside the catalogue.
    static double maxSecondsOf(const QString &path)
    {
        if (const ClipEntry *entry = findClip(QFileInfo(path).completeBaseName()))
            return limitsOf(entry->role).maxSeconds;
        return longestClipSeconds();
    }

    // The clip converted, or nullptr when it cannot be played. Either verdict is kept until
    // the file changes, so a refused clip is not read again at every play.
    const Samples *clip(const QString &path, const char *instead)
    {
        const QFileInfo info(path);
        const QDateTime modified = info.lastModified();
        auto it = cache.find(path);
        if (it == cache.end() || it->second.modified != modified || it->second.size != info.size()) {
            Cached fresh{modified, info.size(), true, {}};
            QString why;
            fresh.playable = ClipDecoder(spec).decodeFile(path, maxSecondsOf(path), fresh.samples, &why);
            fresh.samples.shrink_to_fit(); // the cache keeps the converted clip only
            // Once per file and run: a teacher replacing clips learns which one failed and why.
            if (!fresh.playable && reported.insert(path).second)
                std::fprintf(stderr, "quizzolo: impossibile leggere il file audio %s (%s): %s\n",
                             terminalText(path).constData(), terminalText(why).constData(), instead);
            it = cache.insert_or_assign(path, std::move(fresh)).first;
        }
        return it->second.playable ? &it->second.samples : nullptr;
    }

    const Samples *defaultBeep()
    {
        if (beep.empty()) {
            QFile f(QStringLiteral(":/sounds/default_beep.wav"));
            if (!f.open(QIODevice::ReadOnly))
                return nullptr;
            if (!ClipDecoder(spec).decodeBytes(f.readAll(), 1.0, beep))
                return nullptr;
        }
        return &beep;
    }

    const Samples *firstOrBeep(const QStringList &candidates)
    {
        for (qsizetype i = 0; i < candidates.size(); ++i) {
            const bool last = i + 1 == candidates.size();
            if (const Samples *samples = clip(candidates[i], last ? "si sente un bip" : "si sente la voce seguente"))
                return samples;
        }
        return defaultBeep();
    }

    double secondsOf(Uint32 bytes) const
    {
        const int frameBytes = SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
        return static_cast<double>(bytes) / frameBytes / spec.freq;
    }

    void waitForEnd()
    {
        // Sleep most of the remaining time, then poll briefly: cheap and still punctual.
        for (;;) {
            const Uint32 queued = SDL_GetQueuedAudioSize(device);
            if (queued == 0)
                break;
            const double left = secondsOf(queued);
            SDL_Delay(left > 0.02 ? static_cast<Uint32>((left - 0.01) * 1000) : 1);
        }
        // The last chunk is still in the device's buffer.
        SDL_Delay(static_cast<Uint32>(1000.0 * spec.samples / spec.freq + 1));
    }
};

SdlClipPlayer::SdlClipPlayer() : d(std::make_unique<Impl>())
{
    d->open();
}

SdlClipPlayer::~SdlClipPlayer()
{
    if (d->device != 0)
        SDL_CloseAudioDevice(d->device);
    if (SDL_WasInit(SDL_INIT_AUDIO))
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlClipPlayer::play(const QString &path, PlayMode mode)
{
    playFirst({path}, mode);
}

void SdlClipPlayer::playFirst(const QStringList &candidates, PlayMode mode)
{
    if (d->device == 0)
        return;
    const Samples *samples = d->firstOrBeep(candidates);
    SDL_ClearQueuedAudio(d->device); // a new clip cuts off the one still playing
    if (!samples || samples->empty())
        return;
    SDL_QueueAudio(d->device, samples->data(), static_cast<Uint32>(samples->size()));
    SDL_PauseAudioDevice(d->device, 0);
    if (mode == PlayMode::Sync)
        d->waitForEnd();
}

void SdlClipPlayer::playJoined(const QStringList &paths)
{
    if (d->device == 0)
        return;
    SDL_ClearQueuedAudio(d->device);
    // The trainer starts the next clip one device buffer after the last one ended.
    const Samples gap(static_cast<std::size_t>(d->spec.size), d->spec.silence);
    for (const QString &path : paths) {
        const Samples *samples = d->firstOrBeep({path});
        if (samples && !samples->empty()) {
            SDL_QueueAudio(d->device, samples->data(), static_cast<Uint32>(samples->size()));
            SDL_QueueAudio(d->device, gap.data(), static_cast<Uint32>(gap.size()));
        }
    }
    SDL_PauseAudioDevice(d->device, 0);
}

void SdlClipPlayer::silence()
{
    if (d->device == 0)
        return;
    SDL_ClearQueuedAudio(d->device);
    SDL_PauseAudioDevice(d->device, 1);
}

QString SdlClipPlayer::driverName() const
{
    return d->driver;
}

} // namespace quizzolo
