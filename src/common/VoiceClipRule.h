#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

namespace quizzolo {

// The shape of a WAV's sound as its header declares it.
struct WavLayout {
    bool isFloat = false;
    int channels = 0;
    int rate = 0;
    int bits = 0;
    qint64 dataOffset = 0; // where the samples start in the file
    qint64 dataBytes = 0;  // whole frames present in the file, at most the declared length
    int frameBytes() const { return channels * bits / 8; }
    double seconds() const;
};

// What a voice clip may be for the trainer to play it: integer PCM of 8, 16, 24 or 32 bits or
// 32-bit float, mono or stereo, 8,000-48,000 Hz, no longer than its role allows. Checked on
// the header alone, so nothing big is read, allocated or converted for a file outside it.
namespace voiceRule {
constexpr int minRate = 8000;
constexpr int maxRate = 48000;
constexpr int maxChannels = 2;
constexpr qint64 headBytes = 64 * 1024; // the samples must start within the first bytes
} // namespace voiceRule

struct VoiceClipCheck {
    WavLayout layout;
    QString refusal; // empty when the clip may be played
    bool ok() const { return refusal.isEmpty(); }
};

// `head` is the start of a file of `fileSize` bytes (at most voiceRule::headBytes are needed).
VoiceClipCheck checkVoiceClip(QByteArrayView head, qint64 fileSize, double maxSeconds);

// The largest file a clip of that length can take: a bigger one is refused unread.
qint64 maxVoiceFileBytes(double maxSeconds);

} // namespace quizzolo
