#include "recorder/SpeechEnd.h"

#include "recorder/TakeProcessing.h"

#include <algorithm>
#include <cmath>

namespace quizzolo::recorder {

namespace {

constexpr double speechDb = -35.0;             // softer than this is no voice, whatever the room
constexpr std::size_t quietWindowsToEnd = 100; // one second
constexpr std::size_t spikeWindows = 3;        // a noise peak this short does not keep a take going

} // namespace

void SpeechEnd::feed(const float *samples, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t before = track_.size();
        track_.feed(samples + i, 1);
        if (track_.size() != before)
            judge();
    }
}

void SpeechEnd::judge()
{
    if (over_)
        return;
    loudest_ = std::max(loudest_, track_.levelDb(track_.size() - 1));
    std::size_t lastSoundEnd = 0;
    for (const Burst &b : soundBursts(track_, track_.thresholdDb(loudest_))) {
        if (!isClick(b) && b.loudestDb > speechDb)
            speech_ = true;
        if (b.to - b.from >= spikeWindows)
            lastSoundEnd = b.to;
    }
    over_ = speech_ && track_.size() - lastSoundEnd >= quietWindowsToEnd;
}

double peakDbfs(const float *samples, std::size_t count)
{
    float peak = 0;
    for (std::size_t i = 0; i < count; ++i)
        peak = std::max(peak, std::fabs(samples[i]));
    return decibels(peak);
}

LevelZone levelZone(double peakDbfs)
{
    if (peakDbfs >= levelTooLoudFromDb)
        return LevelZone::TooLoud;
    return peakDbfs >= levelGoodFromDb ? LevelZone::Good : LevelZone::TooQuiet;
}

int meterPercentAt(double dbfs)
{
    const double share = (dbfs - meterFloorDb) / -meterFloorDb;
    return static_cast<int>(std::lround(std::clamp(share, 0.0, 1.0) * 100.0));
}

int meterPercent(const float *samples, std::size_t count)
{
    return meterPercentAt(peakDbfs(samples, count));
}

} // namespace quizzolo::recorder
