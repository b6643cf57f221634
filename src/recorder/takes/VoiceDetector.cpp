#include "recorder/takes/VoiceDetector.h"

#include "common/ClipCatalogue.h"
#include "recorder/takes/LevelTrack.h"

#include <webrtc/modules/audio_processing/include/audio_processing.h>
#include <webrtc/modules/interface/module_common_types.h>

#include <algorithm>
#include <cmath>

namespace quizzolo::recorder {

namespace {

constexpr int detectorRate = 16000; // the clips' 22,050 Hz is not among the detector's rates
constexpr std::size_t detectorWindow = detectorRate / 100;

} // namespace

struct VoiceDetector::Engine {
    std::unique_ptr<webrtc::AudioProcessing> apm{webrtc::AudioProcessing::Create()};
    webrtc::AudioFrame frame;
    float last = 0; // the sample before this window, for the interpolation
};

VoiceDetector::VoiceDetector() : engine_(std::make_unique<Engine>())
{
    if (engine_->apm) {
        engine_->apm->voice_detection()->Enable(true);
        engine_->apm->voice_detection()->set_likelihood(webrtc::VoiceDetection::kLowLikelihood);
    }
}

VoiceDetector::~VoiceDetector() = default;
VoiceDetector::VoiceDetector(VoiceDetector &&) noexcept = default;
VoiceDetector &VoiceDetector::operator=(VoiceDetector &&) noexcept = default;

bool VoiceDetector::voiced(const float *window)
{
    if (!engine_->apm)
        return false;
    // Linear interpolation to 16 kHz: the detector listens below 4 kHz, where it is exact enough.
    const std::size_t in = LevelTrack::windowSamples();
    webrtc::AudioFrame &f = engine_->frame;
    f.sample_rate_hz_ = detectorRate;
    f.num_channels_ = 1;
    f.samples_per_channel_ = detectorWindow;
    for (std::size_t i = 0; i < detectorWindow; ++i) {
        const double at = static_cast<double>(i + 1) * static_cast<double>(in) / detectorWindow - 1.0;
        const auto left = static_cast<std::ptrdiff_t>(std::floor(at));
        const double share = at - static_cast<double>(left);
        const float a = left < 0 ? engine_->last : window[left];
        const float b = window[std::min(static_cast<std::size_t>(left + 1), in - 1)];
        const double v = (1 - share) * a + share * b;
        f.data_[i] = static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0));
    }
    engine_->last = window[in - 1];
    return engine_->apm->ProcessStream(&f) == webrtc::AudioProcessing::kNoError &&
           engine_->apm->voice_detection()->stream_has_voice();
}

} // namespace quizzolo::recorder
