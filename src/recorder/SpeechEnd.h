#pragma once

#include <cstddef>
#include <vector>

namespace quizzolo::recorder {

// Tells when a take is over: speech was heard, then about a second of quiet.
class SpeechEnd {
  public:
    void feed(const float *samples, std::size_t count);
    bool over() const { return over_; }
    bool heardSpeech() const { return speech_; }

  private:
    void window(double rms);
    std::vector<float> pending_;
    double loudest_ = 0;
    std::size_t quietWindows_ = 0;
    bool speech_ = false;
    bool over_ = false;
};

// Peak of the samples in dBFS mapped to 0..100 for a level meter (-60 dBFS is 0).
int meterPercent(const float *samples, std::size_t count);

} // namespace quizzolo::recorder
