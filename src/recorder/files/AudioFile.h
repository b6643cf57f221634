#pragma once

#include "recorder/files/MediaDecoder.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace quizzolo::recorder {

// Reads a regular file of any format the import takes (see MediaDecoder.h), mixed to mono;
// a refusal names the file. `maxSeconds` is the clip's limit: a little more is read, so that
// silence around the words can be trimmed, and no more.
AudioRead readAudio(const QString &path, double maxSeconds = longestClipSeconds());
// The same, without the reason.
std::optional<Audio> readAudioFile(const QString &path);

// A 16-bit mono PCM WAV at clipRate(), as bytes.
QByteArray encodeClip(const std::vector<std::int16_t> &samples);

} // namespace quizzolo::recorder
