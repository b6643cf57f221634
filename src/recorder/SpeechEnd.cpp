#include "recorder/SpeechEnd.h"

#include "recorder/TakeProcessing.h"

#include <algorithm>
#include <cmath>

namespace quizzolo::recorder {

namespace {

std::size_t windowSamples()
{
    return static_cast<std::size_t>(clipRate() / 50); // 20 ms
}
const double speechRms = std::pow(10.0, -35.0 / 20.0);
const double quietFloor = std::pow(10.0, quietFloorDb / 20.0);
const double quietBelowLoudest = std::pow(10.0, quietBelowLoudestDb / 20.0);
constexpr std::size_t quietWindowsToEnd = 50; // one second

} // namespace

void SpeechEnd::feed(const float *samples, std::size_t count)
{
    pending_.insert(pending_.end(), samples, samples + count);
    std::size_t used = 0;
    for (; used + windowSamples() <= pending_.size(); used += windowSamples()) {
        double sum = 0;
        for (std::size_t i = used; i < used + windowSamples(); ++i)
            sum += static_cast<double>(pending_[i]) * pending_[i];
        window(std::sqrt(sum / static_cast<double>(windowSamples())));
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(used));
}

void SpeechEnd::window(double rms)
{
    if (over_)
        return;
    loudest_ = std::max(loudest_, rms);
    if (rms > speechRms)
        speech_ = true;
    // Quiet is relative to the speech, so a little room noise still ends the take.
    const bool quiet = rms < std::max(quietFloor, loudest_ * quietBelowLoudest);
    quietWindows_ = quiet ? quietWindows_ + 1 : 0;
    over_ = speech_ && quietWindows_ >= quietWindowsToEnd;
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
