#include "recorder/takes/TakeProcessing.h"

#include "recorder/takes/LevelTrack.h"
#include "recorder/takes/WordSpan.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <samplerate.h>

namespace quizzolo::recorder {

namespace {

double fromDecibels(double db)
{
    return std::pow(10.0, db / 20.0);
}

// The program's own clips peak at -3 dBFS; their speech RMS lies between -14 and -20 dBFS.
const double peakTarget = fromDecibels(-3.0);
const double rmsCeiling = fromDecibels(-16.0);
const double tooQuietPeak = fromDecibels(-36.0); // levelling it would lift the noise by 33 dB
const double clippedLevel = 0.999;
const int clippedRunsAllowed = 3;
constexpr double noiseRefusedBelowDb = 20.0;             // voice over the room's noise, as heard by a listener
constexpr double leadSeconds = 0.03, tailSeconds = 0.06; // soft consonants at the edges survive
// Among children's voices the words are found where they rise out of them, after the k of
// "quattro" or the s of "Scrivi": keeping a little chatter is better than a cut word.
constexpr double chatterLeadSeconds = 0.08;
// Among children nearly as loud, a word's unstressed end (the "tro" of "quattro") sinks
// under them: a little room after the word is better than a word cut short.
constexpr double nearVoicesTailSeconds = 0.16;
constexpr double lateStartSeconds = 1.0;
constexpr double stillTalkingDb = 10.0; // this close to the loudest voice: still the speaker

// Runs of three or more samples stuck at full scale, in any channel.
int clippedRuns(const Audio &in)
{
    int runs = 0;
    for (int c = 0; c < in.channels; ++c) {
        int run = 0;
        for (std::size_t i = static_cast<std::size_t>(c); i < in.samples.size(); i += in.channels) {
            run = std::fabs(in.samples[i]) >= clippedLevel ? run + 1 : 0;
            if (run == 3)
                ++runs;
        }
    }
    return runs;
}

std::vector<float> mono(const Audio &in)
{
    const std::size_t frames = in.samples.size() / static_cast<std::size_t>(in.channels);
    std::vector<float> out(frames);
    for (std::size_t f = 0; f < frames; ++f) {
        float sum = 0;
        for (int c = 0; c < in.channels; ++c)
            sum += in.samples[f * in.channels + c];
        out[f] = sum / static_cast<float>(in.channels);
    }
    return out;
}

std::vector<float> resampled(const std::vector<float> &in, int rate)
{
    if (rate == clipRate() || in.empty())
        return in;
    const double ratio = static_cast<double>(clipRate()) / rate;
    std::vector<float> out(static_cast<std::size_t>(std::ceil(in.size() * ratio)) + 16);
    SRC_DATA data{};
    data.data_in = in.data();
    data.input_frames = static_cast<long>(in.size());
    data.data_out = out.data();
    data.output_frames = static_cast<long>(out.size());
    data.src_ratio = ratio;
    if (src_simple(&data, SRC_SINC_MEDIUM_QUALITY, 1) != 0)
        return {};
    out.resize(static_cast<std::size_t>(data.output_frames_gen));
    return out;
}

QString say(TakeSource source, const char *recorded, const char *imported)
{
    return QString::fromUtf8(source == TakeSource::Imported ? imported : recorded);
}

// Why a take stopped by the time limit is no good, or empty when the words ended in time.
// "Faster" only when the speaker's own words ran on, not the room after them.
QString cutOffReason(const LevelTrack &track, const WordSpan &words, double maxSeconds)
{
    const auto second = static_cast<std::size_t>(1.0 / LevelTrack::windowSeconds);
    if (words.to + second / 5 < track.size())
        return {};
    // Still talking: the speaker's level through most of the last second, not a child now and then.
    std::size_t talking = 0;
    for (std::size_t w = track.size() > second ? track.size() - second : 0; w < track.size(); ++w)
        talking += track.voiced(w) && track.levelDb(w) >= words.loudestDb - stillTalkingDb;
    const double wordSeconds = static_cast<double>(track.size() - words.from) * LevelTrack::windowSeconds;
    if (talking < second / 2 || wordSeconds < maxSeconds)
        return QStringLiteral("Nella stanza non c'è mai stato silenzio (voci o rumori), così la registrazione non "
                              "si è fermata da sola. Tieni premuto Spazio, o il pulsante Registra, mentre parli e "
                              "lascialo alla fine delle parole.");
    if (static_cast<double>(words.from) * LevelTrack::windowSeconds > lateStartSeconds)
        return QStringLiteral("Il tempo per questa voce è finito mentre parlavi: premi Registra e comincia "
                              "subito a parlare.");
    return QStringLiteral("Il tempo per questa voce è finito mentre parlavi: di' soltanto le parole, "
                          "un po' più in fretta.");
}

void fade(std::vector<float> &s)
{
    // As the program's clips: 5 ms in, 10 ms out, against clicks.
    const std::size_t in = std::min(s.size(), static_cast<std::size_t>(clipRate() * 5 / 1000));
    const std::size_t out = std::min(s.size(), static_cast<std::size_t>(clipRate() * 10 / 1000));
    for (std::size_t i = 0; i < in; ++i)
        s[i] *= static_cast<float>(i) / static_cast<float>(in);
    for (std::size_t i = 0; i < out; ++i)
        s[s.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(out);
}

} // namespace

QString secondsText(double seconds)
{
    return QLocale(QLocale::Italian).toString(seconds, 'f', 1);
}

QString ProcessedTake::warningText() const
{
    QString text;
    for (const QString &w : warnings)
        text += QStringLiteral(" Attenzione: ") + w;
    return text;
}

double Audio::seconds() const
{
    return rate > 0 && channels > 0 ? static_cast<double>(samples.size()) / channels / rate : 0.0;
}

double decibels(double amplitude)
{
    return amplitude > 0 ? 20.0 * std::log10(amplitude) : -HUGE_VAL;
}

ProcessedTake processTake(const Audio &in, ClipRole role, TakeSource source)
{
    ProcessedTake take;
    if (in.channels <= 0 || in.rate <= 0 || in.samples.size() < static_cast<std::size_t>(in.channels)) {
        take.refusal = say(source, "Dal microfono non è arrivato nessun suono.", "Il file non contiene suono.");
        return take;
    }
    // Music is mastered up to full scale: only a voice at full scale is distorted.
    if (role != ClipRole::Anthem && clippedRuns(in) > clippedRunsAllowed) {
        take.refusal = say(source,
                           "La registrazione è distorta perché troppo forte: "
                           "parla un po' più piano o più lontano dal microfono e riprova.",
                           "Il file è distorto perché registrato troppo forte: registralo di nuovo più piano.");
        return take;
    }
    std::vector<float> s = resampled(mono(in), in.rate);
    LevelTrack track;
    track.feed(s.data(), s.size());
    const bool music = role == ClipRole::Anthem;
    const WordSpan words = findWords(track, music);
    const QString tooQuiet =
        say(source,
            "La registrazione è troppo bassa o non si sente la voce: avvicinati al microfono "
            "o alza il volume di registrazione e riprova.",
            "Il file è troppo basso o non si sente la voce: alza il volume o registralo di nuovo.");
    if (words.empty()) {
        take.refusal = tooQuiet;
        return take;
    }
    const std::size_t window = LevelTrack::windowSamples();
    take.speechOverNoiseDb = track.powerMeanDb(words.from, words.to) - track.floorDb();
    // A steady noise lies under every word; children's voices the listener tells apart.
    if (!music && track.floorIsNoise() && take.speechOverNoiseDb < noiseRefusedBelowDb &&
        words.roomVoiced < voicesInRoom) {
        take.refusal = say(source,
                           "C'è rumore di fondo: la voce si sente appena sopra il rumore. Spegni ventole e rumori "
                           "vicini, parla vicino al microfono e riprova.",
                           "C'è rumore di fondo nel file: la voce si sente appena sopra il rumore. Registralo di "
                           "nuovo in un posto più silenzioso, vicino al telefono.");
        return take;
    }
    if (source == TakeSource::RecordedUntilTimeLimit) {
        take.refusal = cutOffReason(track, words, limitsOf(role).maxSeconds);
        if (!take.refusal.isEmpty())
            return take;
        take.warnings << QStringLiteral("La stanza non è mai stata in silenzio e la registrazione si è fermata "
                                        "solo allo scadere del tempo: la prossima volta tieni premuto Spazio "
                                        "mentre parli.");
    }
    if (words.apartAt > 0) {
        take.soundApart = true;
        take.warnings << QStringLiteral("A %1 secondi c'è un rumore staccato dalle parole: premi Ascolta e, se "
                                        "si sente, registrala di nuovo.")
                             .arg(secondsText(static_cast<double>(words.apartAt) * LevelTrack::windowSeconds));
    }
    const bool chatter = words.noisy && words.roomVoiced >= voicesInRoom;
    const auto lead = static_cast<std::size_t>((chatter ? chatterLeadSeconds : leadSeconds) * clipRate()),
               tail = static_cast<std::size_t>((words.nearVoices ? nearVoicesTailSeconds : tailSeconds) * clipRate());
    const std::size_t from = words.from * window, to = std::min(s.size(), words.to * window + tail);
    s = std::vector<float>(s.begin() + static_cast<std::ptrdiff_t>(from > lead ? from - lead : 0),
                           s.begin() + static_cast<std::ptrdiff_t>(to));
    take.from = static_cast<double>(from > lead ? from - lead : 0) / clipRate();
    take.to = static_cast<double>(to) / clipRate();

    double peak = 0, sum = 0;
    for (float v : s) {
        peak = std::max(peak, static_cast<double>(std::fabs(v)));
        sum += static_cast<double>(v) * v;
    }
    if (peak < tooQuietPeak) {
        take.refusal = tooQuiet;
        return take;
    }
    take.seconds = static_cast<double>(s.size()) / clipRate();
    const RoleLimits limits = limitsOf(role);
    if (take.seconds > limits.maxSeconds) {
        take.refusal = (source == TakeSource::Imported
                            ? QStringLiteral("La voce nel file dura %1 secondi, al massimo %2 per questa voce: "
                                             "taglia il file o registralo di nuovo.")
                            : QStringLiteral("La registrazione è troppo lunga: %1 secondi, al massimo %2 per "
                                             "questa voce."))
                           .arg(secondsText(take.seconds), secondsText(limits.maxSeconds));
        return take;
    }
    if (limits.warnSeconds > 0 && take.seconds > limits.warnSeconds)
        take.warnings << QStringLiteral("Dura %1 secondi: si sente dopo ogni risposta giusta, meglio sotto %2.")
                             .arg(secondsText(take.seconds), secondsText(limits.warnSeconds));

    const double rms = std::sqrt(sum / static_cast<double>(s.size()));
    const double gain = std::min(peakTarget / peak, rmsCeiling / rms);
    for (float &v : s)
        v = static_cast<float>(v * gain);
    fade(s);
    take.samples.reserve(s.size());
    for (float v : s)
        take.samples.push_back(static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f)));
    return take;
}

} // namespace quizzolo::recorder
