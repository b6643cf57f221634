#pragma once

#include "common/ClipCatalogue.h"
#include "recorder/takes/LevelTrack.h"

#include <cstddef>
#include <vector>

namespace quizzolo::recorder {

// Tells when a take is over: words were heard, then about a second without them. The
// words are found as in trimming (findWords): a lone click, a scrape or children
// talking further from the microphone than the speaker do not keep a take going.
class SpeechEnd {
  public:
    explicit SpeechEnd(bool music = false) : music_(music) {}
    void feed(const float *samples, std::size_t count);
    bool over() const { return over_; }
    bool heardSpeech() const { return speech_; }

  private:
    void judge();
    LevelTrack track_;
    bool music_ = false;
    bool speech_ = false;
    bool over_ = false;
};

// A take not over by itself stops this long after it began: the clip's longest, and some.
double takeLimitSeconds(ClipRole role);

// The level meter shows the peak of what was just heard, from meterFloorDb (0 %) to 0 dBFS
// (100 %), in three zones: below levelGoodFromDb the voice is too soft to level without
// lifting the room's noise; from levelTooLoudFromDb it is near distortion.
constexpr double meterFloorDb = -60.0;
constexpr double levelGoodFromDb = -30.0;
constexpr double levelTooLoudFromDb = -3.0;
enum class LevelZone { TooQuiet, Good, TooLoud };

double peakDbfs(const float *samples, std::size_t count); // -inf for silence
LevelZone levelZone(double peakDbfs);
int meterPercentAt(double dbfs); // where a level lies on the meter, 0..100
int meterPercent(const float *samples, std::size_t count);

} // namespace quizzolo::recorder
