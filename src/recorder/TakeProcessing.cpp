#include "recorder/TakeProcessing.h"

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
const double trimBelowLoudest = fromDecibels(quietBelowLoudestDb);
const double trimFloor = fromDecibels(quietFloorDb);

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

// Keeps from a little before the first 10 ms window above the threshold to a little
// after the last one, so soft consonants at the edges survive.
std::vector<float> trimmed(const std::vector<float> &in)
{
    const auto window = static_cast<std::size_t>(clipRate() / 100);
    std::vector<double> rms;
    for (std::size_t start = 0; start < in.size(); start += window) {
        const std::size_t end = std::min(in.size(), start + window);
        double sum = 0;
        for (std::size_t i = start; i < end; ++i)
            sum += static_cast<double>(in[i]) * in[i];
        rms.push_back(std::sqrt(sum / static_cast<double>(end - start)));
    }
    if (rms.empty())
        return {};
    const double threshold = std::max(trimFloor, *std::max_element(rms.begin(), rms.end()) * trimBelowLoudest);
    const auto first = std::find_if(rms.begin(), rms.end(), [&](double r) { return r > threshold; });
    if (first == rms.end())
        return {};
    const auto last = std::find_if(rms.rbegin(), rms.rend(), [&](double r) { return r > threshold; });
    const auto lead = static_cast<std::size_t>(clipRate() * 30 / 1000),
               tail = static_cast<std::size_t>(clipRate() * 60 / 1000);
    const std::size_t from = static_cast<std::size_t>(first - rms.begin()) * window;
    const std::size_t to = std::min(in.size(), static_cast<std::size_t>(rms.rend() - last) * window + tail);
    return {in.begin() + static_cast<std::ptrdiff_t>(from > lead ? from - lead : 0),
            in.begin() + static_cast<std::ptrdiff_t>(to)};
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

ProcessedTake processTake(const Audio &in, ClipRole role)
{
    ProcessedTake take;
    if (in.channels <= 0 || in.rate <= 0 || in.samples.size() < static_cast<std::size_t>(in.channels)) {
        take.refusal = QStringLiteral("Il file non contiene suono.");
        return take;
    }
    // Music is mastered up to full scale: only a voice at full scale is distorted.
    if (role != ClipRole::Anthem && clippedRuns(in) > clippedRunsAllowed) {
        take.refusal = QStringLiteral("La registrazione è distorta perché troppo forte: "
                                      "parla un po' più piano o più lontano dal microfono e riprova.");
        return take;
    }
    std::vector<float> s = trimmed(resampled(mono(in), in.rate));
    double peak = 0, sum = 0;
    for (float v : s) {
        peak = std::max(peak, static_cast<double>(std::fabs(v)));
        sum += static_cast<double>(v) * v;
    }
    if (s.empty() || peak < tooQuietPeak) {
        take.refusal = QStringLiteral("La registrazione è troppo bassa o non si sente la voce: "
                                      "avvicinati al microfono o alza il volume di registrazione e riprova.");
        return take;
    }
    take.seconds = static_cast<double>(s.size()) / clipRate();
    const RoleLimits limits = limitsOf(role);
    if (take.seconds > limits.maxSeconds) {
        take.refusal = QStringLiteral("La registrazione è troppo lunga: %1 secondi, al massimo %2 per questa voce.")
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
