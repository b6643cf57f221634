// Tries a take as the recorder would treat it, for measuring the recorder against noise
// and clicks (see noise_table.sh):
//   quizzolo-take-trial record CLIP RAWFILE   through SDL's disk microphone (S16 mono at the
//                                             clips' rate), ended as the window ends it
//   quizzolo-take-trial import CLIP FILE      as a file imported from the window
// Prints one line: how the take ended, seconds captured, then kept or refused, seconds
// kept, where the kept part lies in the input, the voice over the noise, the message.
#include "recorder/AudioFile.h"
#include "recorder/Microphone.h"
#include "recorder/SpeechEnd.h"
#include "recorder/TakeProcessing.h"

#include <QCoreApplication>
#include <QFile>
#include <SDL.h>
#include <cstdio>

using namespace quizzolo;
using namespace quizzolo::recorder;

namespace {

void print(const char *ending, double captured, const ProcessedTake &take)
{
    std::printf("%s\t%.2f\t%s\t%.2f\t%.3f\t%.3f\t%.1f\t%s\n", ending, captured, take.ok() ? "kept" : "refused",
                take.seconds, take.from, take.to, take.speechOverNoiseDb,
                qPrintable(take.ok() ? take.warningText() : take.refusal));
}

int record(const ClipEntry &clip, const QByteArray &raw)
{
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILEIN", raw);
    qputenv("SDL_DISKAUDIOFILE", "/dev/null");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    Microphone microphone(QStringLiteral("disk"));
    if (!microphone.available()) {
        std::fprintf(stderr, "%s\n", qPrintable(microphone.problem()));
        return 1;
    }
    microphone.start();
    std::vector<float> captured;
    SpeechEnd end;
    const double limit = limitsOf(clip.role).maxSeconds + 2.0; // as the window
    bool atLimit = false;
    while (!end.over() && !atLimit) {
        SDL_Delay(10);
        const std::size_t before = captured.size();
        microphone.fetch(captured);
        end.feed(captured.data() + before, captured.size() - before);
        atLimit = static_cast<double>(captured.size()) / clipRate() > limit;
    }
    microphone.stop();
    Audio audio{captured, clipRate(), 1};
    const bool cutOff = atLimit && end.heardSpeech();
    print(atLimit ? "limit" : "quiet", audio.seconds(),
          processTake(audio, clip.role, cutOff ? TakeSource::RecordedUntilTimeLimit : TakeSource::Recorded));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const ClipEntry *clip = args.size() == 4 ? findClip(args[2]) : nullptr;
    if (!clip) {
        std::fprintf(stderr, "uso: quizzolo-take-trial record|import CLIP FILE\n");
        return 64;
    }
    if (args[1] == QLatin1String("record"))
        return record(*clip, QFile::encodeName(args[3]));
    const std::optional<Audio> audio = readAudioFile(args[3]);
    if (!audio) {
        std::fprintf(stderr, "%s: non leggibile\n", qPrintable(args[3]));
        return 1;
    }
    print("file", audio->seconds(), processTake(*audio, clip->role, TakeSource::Imported));
    return 0;
}
