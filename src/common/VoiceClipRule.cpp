#include "common/VoiceClipRule.h"

#include <QtEndian>
#include <algorithm>

namespace quizzolo {

namespace {

constexpr int pcmTag = 1, floatTag = 3, extensibleTag = 0xfffe;

quint32 u32(QByteArrayView b, qint64 at)
{
    return qFromLittleEndian<quint32>(b.data() + at);
}

quint16 u16(QByteArrayView b, qint64 at)
{
    return qFromLittleEndian<quint16>(b.data() + at);
}

VoiceClipCheck refused(QString why)
{
    return {{}, std::move(why)};
}

} // namespace

double WavLayout::seconds() const
{
    return frameBytes() > 0 && rate > 0 ? static_cast<double>(dataBytes) / frameBytes() / rate : 0.0;
}

qint64 maxVoiceFileBytes(double maxSeconds)
{
    return static_cast<qint64>(maxSeconds * voiceRule::maxRate) * voiceRule::maxChannels * 4 + voiceRule::headBytes;
}

VoiceClipCheck checkVoiceClip(QByteArrayView head, qint64 fileSize, double maxSeconds)
{
    head = head.first(std::min<qint64>(head.size(), std::min(fileSize, voiceRule::headBytes)));
    if (head.size() < 12 || head.first(4) != QByteArrayView("RIFF") || head.sliced(8, 4) != QByteArrayView("WAVE"))
        return refused(QStringLiteral("non è un WAV"));
    if (fileSize > maxVoiceFileBytes(maxSeconds))
        return refused(QStringLiteral("file di %1 byte, troppo grande").arg(fileSize));
    WavLayout wav;
    int tag = 0;
    quint32 declared = 0;
    // Chunks in order, as the WAV reader walks them: "fmt " first, then up to "data".
    for (qint64 at = 12;; at += 8 + qint64(u32(head, at + 4)) + (u32(head, at + 4) & 1)) {
        if (at + 8 > head.size())
            return refused(QStringLiteral("i campioni non cominciano nei primi %1 byte").arg(head.size()));
        const QByteArrayView id = head.sliced(at, 4);
        const quint32 size = u32(head, at + 4);
        if (id == QByteArrayView("fmt ")) {
            if (size < 16 || at + 8 + size > head.size())
                return refused(QStringLiteral("intestazione del formato incompleta"));
            tag = u16(head, at + 8);
            wav.channels = u16(head, at + 10);
            wav.rate = static_cast<int>(std::min<quint32>(u32(head, at + 12), 1u << 30));
            wav.bits = u16(head, at + 22);
            if (tag == extensibleTag && size >= 40)
                tag = u16(head, at + 32); // the sub-format's first two bytes name the coding
        } else if (id == QByteArrayView("data")) {
            if (tag == 0)
                return refused(QStringLiteral("i campioni vengono prima del formato"));
            wav.dataOffset = at + 8;
            declared = size;
            break;
        }
    }
    const bool integer = tag == pcmTag && (wav.bits == 8 || wav.bits == 16 || wav.bits == 24 || wav.bits == 32);
    wav.isFloat = tag == floatTag && wav.bits == 32;
    if (!integer && !wav.isFloat)
        return refused(QStringLiteral("codifica %1 a %2 bit non ammessa").arg(tag).arg(wav.bits));
    if (wav.channels < 1 || wav.channels > voiceRule::maxChannels)
        return refused(QStringLiteral("%1 canali").arg(wav.channels));
    if (wav.rate < voiceRule::minRate || wav.rate > voiceRule::maxRate)
        return refused(QStringLiteral("frequenza di %1 Hz").arg(wav.rate));
    const double perSecond = static_cast<double>(wav.frameBytes()) * wav.rate;
    if (declared / perSecond > maxSeconds)
        return refused(QStringLiteral("dichiara %1 secondi, al massimo %2").arg(declared / perSecond).arg(maxSeconds));
    // A file cut short while copied plays what it holds.
    const qint64 present = std::clamp<qint64>(fileSize - wav.dataOffset, 0, declared);
    wav.dataBytes = present - present % wav.frameBytes();
    return {wav, {}};
}

} // namespace quizzolo
