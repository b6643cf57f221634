#pragma once

#include <cstddef>
#include <memory>

namespace quizzolo::recorder {

// Tells speech from other sound in 10 ms windows at clipRate(): WebRTC's voice-activity
// detector, the one place the program uses it. Children's chatter is speech too: what
// it cannot tell apart, closeness to the microphone must.
class VoiceDetector {
  public:
    VoiceDetector();
    ~VoiceDetector();
    VoiceDetector(VoiceDetector &&) noexcept;
    VoiceDetector &operator=(VoiceDetector &&) noexcept;

    // One window of LevelTrack::windowSamples() samples; whether it held a voice.
    bool voiced(const float *window);

  private:
    struct Engine;
    std::unique_ptr<Engine> engine_;
};

} // namespace quizzolo::recorder
