#pragma once

#include "recorder/TakeProcessing.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace quizzolo::recorder {

// What the recorder reads: 8,000-192,000 Hz, 1-8 channels, and no more samples than fit in
// a bounded buffer for the longest clip allowed; longer files are read up to a minute or
// that bound, whichever comes first.
namespace importRule {
constexpr int minRate = 8000;
constexpr int maxRate = 192000;
constexpr int maxChannels = 8;
constexpr qint64 maxSamples = 8 << 20; // 32 MB of floats
constexpr double maxReadSeconds = 60;
} // namespace importRule

struct AudioRead {
    std::optional<Audio> audio;
    QString refusal; // why there is none, in Italian, naming the file
};

// Reads any regular file libsndfile knows (WAV, FLAC, Ogg Vorbis/Opus, MP3, ...) that the
// import rule allows.
AudioRead readAudio(const QString &path);
// The same, without the reason.
std::optional<Audio> readAudioFile(const QString &path);

// A 16-bit mono PCM WAV at clipRate(), as bytes.
QByteArray encodeClip(const std::vector<std::int16_t> &samples);

} // namespace quizzolo::recorder
