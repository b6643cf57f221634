// Tries a take as the recorder would treat it, for measuring the recorder in room noise
// (see noise_table.sh). RAW is S16 mono at the clips' rate, the microphone's sound:
//   quizzolo-take-trial list                         the clips: name, role, words
//   quizzolo-take-trial take CLIP RAW auto           pressed and let go: ends by itself or at the time limit
//   quizzolo-take-trial take CLIP RAW hold SECONDS   held down, let go after SECONDS
//   quizzolo-take-trial take CLIP RAW hand SECONDS   pressed and let go, stopped with Esc after SECONDS
//   quizzolo-take-trial levels RAW                   each 10 ms: level in dBFS, 1 when voiced
// With QUIZZOLO_DISK=1 the sound comes through SDL's disk microphone, in real time or as
// SDL_DISKAUDIODELAY paces it; otherwise in the same 512-sample blocks, at once.
// A take prints one line: how it ended, seconds captured, kept or refused, seconds kept,
// where the kept part lies in the input, the voice over the noise, the message.
#include "recorder/Microphone.h"
#include "recorder/takes/LevelTrack.h"
#include "recorder/takes/SpeechEnd.h"
#include "recorder/takes/TakeProcessing.h"

#include <QCoreApplication>
#include <QFile>
#include <SDL.h>
#include <cstdio>
#include <cstring>
#include <functional>

using namespace quizzolo;
using namespace quizzolo::recorder;

namespace {

std::vector<float> readRaw(const QString &path)
{
    QFile f(path);
    const QByteArray bytes = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    std::vector<float> out(static_cast<std::size_t>(bytes.size()) / 2);
    for (std::size_t i = 0; i < out.size(); ++i) {
        std::int16_t v;
        std::memcpy(&v, bytes.constData() + 2 * i, 2);
        out[i] = static_cast<float>(v) / 32768.0f;
    }
    return out;
}

int take(const ClipEntry &clip, const QString &raw, const QString &mode, double releaseAt)
{
    std::function<void(std::vector<float> &)> fetch;
    std::unique_ptr<Microphone> microphone;
    const std::vector<float> input = readRaw(raw);
    std::size_t read = 0;
    if (qEnvironmentVariableIntValue("QUIZZOLO_DISK") == 1) {
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILEIN", QFile::encodeName(raw));
        qputenv("SDL_DISKAUDIOFILE", "/dev/null");
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        microphone = std::make_unique<Microphone>(QStringLiteral("disk"));
        if (!microphone->start()) {
            std::fprintf(stderr, "%s\n", qPrintable(microphone->problem()));
            return 1;
        }
        fetch = [&](std::vector<float> &to) {
            SDL_Delay(10);
            microphone->fetch(to);
        };
    } else {
        fetch = [&](std::vector<float> &to) {
            const std::size_t n = std::min<std::size_t>(512, input.size() - read);
            to.insert(to.end(), input.begin() + static_cast<std::ptrdiff_t>(read),
                      input.begin() + static_cast<std::ptrdiff_t>(read + n));
            read += n;
        };
    }
    std::vector<float> captured;
    SpeechEnd end(clip.role == ClipRole::Anthem);
    const double limit = takeLimitSeconds(clip.role);
    const bool held = mode == QLatin1String("hold"), byHand = mode == QLatin1String("hand");
    const char *ending = "limit";
    for (;;) {
        const std::size_t before = captured.size();
        fetch(captured);
        end.feed(captured.data() + before, captured.size() - before);
        const double seconds = static_cast<double>(captured.size()) / clipRate();
        if ((held || byHand) && seconds >= releaseAt) {
            captured.resize(static_cast<std::size_t>(releaseAt * clipRate()));
            ending = held ? "release" : "hand";
            break;
        }
        if (!held && end.over()) {
            ending = "quiet";
            break;
        }
        if (seconds > limit || (!microphone && read == input.size()))
            break;
    }
    if (microphone)
        microphone->stop();
    const Audio audio{captured, clipRate(), 1};
    const bool cutOff = std::string(ending) == "limit" && end.heardSpeech();
    const ProcessedTake t =
        processTake(audio, clip.role, cutOff ? TakeSource::RecordedUntilTimeLimit : TakeSource::Recorded);
    std::printf("%s\t%.2f\t%s\t%.2f\t%.3f\t%.3f\t%.1f\t%s\n", ending, audio.seconds(), t.ok() ? "kept" : "refused",
                t.seconds, t.from, t.to, t.speechOverNoiseDb,
                qPrintable(t.ok() ? t.warningText().trimmed() : t.refusal));
    return 0;
}

int levels(const QString &raw)
{
    const std::vector<float> input = readRaw(raw);
    LevelTrack track;
    track.feed(input.data(), input.size());
    for (std::size_t w = 0; w < track.size(); ++w)
        std::printf("%.2f\t%.1f\t%d\n", static_cast<double>(w) * LevelTrack::windowSeconds, track.levelDb(w),
                    track.voiced(w) ? 1 : 0);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 2 && args[1] == QLatin1String("list")) {
        const char *roles[] = {"number", "prompt", "praise", "anthem"};
        for (const ClipEntry &c : clipCatalogue())
            std::printf("%s\t%s\t%s\n", qPrintable(c.name), roles[int(c.role)], qPrintable(c.words));
        return 0;
    }
    if (args.size() == 3 && args[1] == QLatin1String("levels"))
        return levels(args[2]);
    const ClipEntry *clip = args.size() >= 5 ? findClip(args[2]) : nullptr;
    if (!clip || args[1] != QLatin1String("take") || (args[4] != QLatin1String("auto") && args.size() != 6)) {
        std::fprintf(stderr, "uso: quizzolo-take-trial list | levels RAW | take CLIP RAW auto|hold S|hand S\n");
        return 64;
    }
    return take(*clip, args[3], args[4], args.size() == 6 ? args[5].toDouble() : 0.0);
}
