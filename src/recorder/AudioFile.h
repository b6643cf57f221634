#pragma once

#include "recorder/TakeProcessing.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace quizzolo::recorder {

// Reads any file libsndfile knows (WAV, FLAC, Ogg Vorbis/Opus, MP3, ...); nullopt for
// anything else, a text file for instance.
std::optional<Audio> readAudioFile(const QString &path);

// A 16-bit mono PCM WAV at clipRate(), as bytes.
QByteArray encodeClip(const std::vector<std::int16_t> &samples);

} // namespace quizzolo::recorder
