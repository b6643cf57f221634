#pragma once

#include "recorder/takes/TakeProcessing.h"

#include <QByteArrayView>
#include <QString>
#include <optional>

namespace quizzolo::recorder {

// What the recorder reads, through FFmpeg's libraries: only the containers a teacher's
// recordings come in (WAV, FLAC, Ogg, MP3, M4A/MP4/3GP, AMR, AAC) and only audio decoders;
// 8,000-192,000 Hz, 1-8 channels. Work is bounded three ways: the bytes read, the seconds
// decoded (the clip's limit plus room for silence that trimming removes) and the wall time.
namespace importRule {
constexpr int minRate = 8000;
constexpr int maxRate = 192000;
constexpr int maxChannels = 8;
constexpr int keptRate = 48000;                   // higher rates are brought down to it
constexpr qint64 maxFileBytes = 64 * 1024 * 1024; // 35 clips are a few MB in all
constexpr double silenceAroundSeconds = 10;       // read past the clip's limit, for trimming
constexpr double maxDecodingSeconds = 20;         // wall time for one file
} // namespace importRule

struct AudioRead {
    std::optional<Audio> audio; // mono
    QString refusal;            // why there is none, in Italian, without the file's name
    bool notAudio = false;      // nothing here reads it as sound: many such files share one line
    double decodedSeconds = 0;  // the work done, refused or not
};

// Where the bytes come from: an open regular file, or bytes in memory (a pack's member).
struct MediaInput {
    int fd = -1;
    QByteArrayView bytes;
    qint64 size = 0;
};

// Decodes the first audio stream, mixed to mono, refusing past `maxSeconds` of decoded
// sound (plus the silence allowed around it). `nameHint` helps tell raw formats apart.
AudioRead decodeMedia(const MediaInput &input, const QString &nameHint, double maxSeconds);

} // namespace quizzolo::recorder
