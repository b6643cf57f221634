#include "recorder/takes/LevelTrack.h"

#include "common/ClipCatalogue.h"

#include <algorithm>
#include <cmath>

namespace quizzolo::recorder {

namespace {

constexpr double floorShare = 0.1;      // the room is heard in far more than a tenth of a take
constexpr double overFloorDb = 10.0;    // noise rarely rises this far over its low percentile
constexpr double belowLoudestDb = 30.0; // the quiet ends of a word in a silent room
constexpr double floorCapDb = 20.0;     // a floor taken inside a word must not cut the word
constexpr double quietDb = -45.0;       // quiet whatever the rest: an echo tail, a far hum
// The room heard alone for this long, not just the softest moments of a word.
constexpr std::size_t quietStretchWindows = 30;
constexpr std::size_t steadyNoiseWindows = 100;
constexpr std::size_t joinedWindows = 15; // 150 ms: pauses inside words and between two words
constexpr double clickSeconds = 0.08;

struct HighPass {
    double b0, b1, b2, a1, a2;
};

// A second-order Butterworth high-pass at 100 Hz.
HighPass highPass()
{
    static const HighPass filter = [] {
        const double w = 2 * M_PI * 100.0 / clipRate(), alpha = std::sin(w) / std::sqrt(2.0), c = std::cos(w);
        const double a0 = 1 + alpha;
        return HighPass{(1 + c) / 2 / a0, -(1 + c) / a0, (1 + c) / 2 / a0, -2 * c / a0, (1 - alpha) / a0};
    }();
    return filter;
}

} // namespace

std::size_t LevelTrack::windowSamples()
{
    return static_cast<std::size_t>(clipRate() * windowSeconds);
}

double LevelTrack::highPassed(double x)
{
    const HighPass f = highPass();
    const double y = f.b0 * x + f.b1 * x1_ + f.b2 * x2_ - f.a1 * y1_ - f.a2 * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
}

void LevelTrack::feed(const float *samples, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const double y = highPassed(samples[i]);
        sum_ += y * y;
        window_.push_back(samples[i]);
        if (++filled_ == windowSamples()) {
            const double rms = std::sqrt(sum_ / static_cast<double>(filled_));
            levels_.push_back(rms > 1e-7 ? 20 * std::log10(rms) : -140.0);
            voiced_.push_back(detector_.voiced(window_.data()));
            voicedCount_ += voiced_.back();
            window_.clear();
            sum_ = 0;
            filled_ = 0;
        }
    }
}

double LevelTrack::percentileOf(std::vector<double> levels, double share)
{
    if (levels.empty())
        return -140.0;
    const auto at = static_cast<std::size_t>(share * static_cast<double>(levels.size() - 1));
    std::nth_element(levels.begin(), levels.begin() + static_cast<std::ptrdiff_t>(at), levels.end());
    return levels[at];
}

double LevelTrack::powerMeanDb(std::size_t from, std::size_t to) const
{
    double sum = 0;
    for (std::size_t w = from; w < to; ++w)
        sum += std::pow(10.0, levels_[w] / 10);
    return to > from ? 10 * std::log10(sum / static_cast<double>(to - from)) : -1000;
}

double LevelTrack::floorDb() const
{
    return percentileDb(floorShare);
}

double LevelTrack::soundThresholdDb(double loudestDb, double floorDb)
{
    return std::max({quietDb, loudestDb - belowLoudestDb, std::min(floorDb + overFloorDb, loudestDb - floorCapDb)});
}

bool LevelTrack::floorIsNoise() const
{
    // Heard before the first word or after the last: a long vowel is never that flat.
    const double quiet = floorDb() + overFloorDb;
    const auto isQuiet = [&](double level) { return level < quiet; };
    const auto lead = std::find_if_not(levels_.begin(), levels_.end(), isQuiet) - levels_.begin();
    const auto tail = std::find_if_not(levels_.rbegin(), levels_.rend(), isQuiet) - levels_.rbegin();
    if (lead == static_cast<std::ptrdiff_t>(levels_.size())) // one steady sound: a tone, or noise if long
        return levels_.size() >= steadyNoiseWindows;
    return static_cast<std::size_t>(std::max(lead, tail)) >= quietStretchWindows;
}

std::vector<Burst> soundBursts(const LevelTrack &track, double thresholdDb)
{
    std::vector<Burst> bursts;
    for (std::size_t w = 0; w < track.size(); ++w) {
        const double level = track.levelDb(w);
        if (level <= thresholdDb)
            continue;
        if (bursts.empty() || w - bursts.back().to > joinedWindows)
            bursts.push_back(Burst{w, w, level});
        bursts.back().to = w + 1;
        bursts.back().loudestDb = std::max(bursts.back().loudestDb, level);
    }
    return bursts;
}

bool isClick(const Burst &burst)
{
    return burst.seconds() < clickSeconds;
}

std::vector<Burst> withoutClicks(std::vector<Burst> bursts)
{
    while (!bursts.empty() && isClick(bursts.front()))
        bursts.erase(bursts.begin());
    while (!bursts.empty() && isClick(bursts.back()))
        bursts.pop_back();
    return bursts;
}

} // namespace quizzolo::recorder
