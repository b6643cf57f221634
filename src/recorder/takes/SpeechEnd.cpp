#include "recorder/takes/SpeechEnd.h"

#include "recorder/takes/TakeProcessing.h"
#include "recorder/takes/WordSpan.h"

#include <algorithm>
#include <cmath>

namespace quizzolo::recorder {

namespace {

constexpr double speechDb = -35.0;             // softer than this is no voice, whatever the room
constexpr std::size_t quietWindowsToEnd = 100; // one second

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
    const WordSpan words = findWords(track_, music_);
    speech_ = speech_ || (!words.empty() && words.loudestDb > speechDb);
    over_ = speech_ && !words.empty() && track_.size() - words.to >= quietWindowsToEnd;
}

double takeLimitSeconds(ClipRole role)
{
    return limitsOf(role).maxSeconds + 2.0;
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
