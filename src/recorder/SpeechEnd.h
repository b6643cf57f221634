#pragma once

#include "recorder/LevelTrack.h"

#include <cstddef>
#include <vector>

namespace quizzolo::recorder {

// Tells when a take is over: a word was heard, then about a second of quiet, both
// judged against the room's noise floor. A lone click (the key that started the take) is
// not a word.
class SpeechEnd {
  public:
    void feed(const float *samples, std::size_t count);
    bool over() const { return over_; }
    bool heardSpeech() const { return speech_; }

  private:
    void judge();
    LevelTrack track_;
    double loudest_ = -1000;
    bool speech_ = false;
    bool over_ = false;
};

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
