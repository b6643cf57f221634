#pragma once

#include "recorder/takes/VoiceDetector.h"

#include <cstddef>
#include <vector>

namespace quizzolo::recorder {

// Sound against quiet in 10 ms windows of a take at clipRate(), for ending a take and
// for trimming it alike. Quiet is judged against the room's noise floor as well as
// against the loudest sound, so a word ends and is trimmed at the same place in a silent
// room and in a noisy one. Levels are measured above 100 Hz, where speech is: rumble,
// wind and a microphone's offset do not count as noise. Each window also says whether it
// held a voice.
class LevelTrack {
  public:
    static constexpr double windowSeconds = 0.01;
    static std::size_t windowSamples();

    void feed(const float *samples, std::size_t count);
    std::size_t size() const { return levels_.size(); }
    double levelDb(std::size_t window) const { return levels_[window]; }
    bool voiced(std::size_t window) const { return voiced_[window]; }
    std::size_t voicedCount() const { return voicedCount_; }
    // A low percentile of the windows so far: the room when nobody speaks.
    double floorDb() const;
    // Sound is above this; loudestDb is the loudest speech, clicks left out.
    double thresholdDb(double loudestDb) const { return soundThresholdDb(loudestDb, floorDb()); }
    static double soundThresholdDb(double loudestDb, double floorDb);
    // A floor heard on its own for a while at the start or the end, rather than the
    // softest moments of a word, so that it can be blamed for a poor take.
    bool floorIsNoise() const;
    double percentileDb(double share) const { return percentileOf(levels_, share); }
    // The level of windows [from, to) together, their power averaged; -1000 for none.
    double powerMeanDb(std::size_t from, std::size_t to) const;
    // The level that `share` of `levels` lie under; -140 for none.
    static double percentileOf(std::vector<double> levels, double share);

  private:
    double highPassed(double x);
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
    double sum_ = 0;
    std::size_t filled_ = 0;
    std::vector<double> levels_;
    std::vector<bool> voiced_;
    std::size_t voicedCount_ = 0;
    std::vector<float> window_;
    VoiceDetector detector_;
};

// Windows [from, to) of sound, joined across short gaps such as the stop in "otto".
struct Burst {
    std::size_t from = 0, to = 0;
    double loudestDb = -1000;
    double seconds() const { return static_cast<double>(to - from) * LevelTrack::windowSeconds; }
};

std::vector<Burst> soundBursts(const LevelTrack &track, double thresholdDb);
// Leaves out short bursts standing alone before the first word or after the last one: a
// key press, a tap on the phone, a chair.
std::vector<Burst> withoutClicks(std::vector<Burst> bursts);
bool isClick(const Burst &burst);

} // namespace quizzolo::recorder
