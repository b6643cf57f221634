#include "common/ClipDecoder.h"

#include "common/RegularFile.h"
#include "common/VoiceClipRule.h"

#include <cstring>
#include <functional>
#include <unistd.h>

namespace quizzolo {

namespace {

// Far above what the rule lets through (30 s of 48 kHz stereo is 11.5 MB), far below SDL's
// int lengths: a guard on the arithmetic, not the rule.
constexpr std::size_t maxConversionBytes = 32u << 20;

using ReadAt = std::function<bool(qint64 offset, Uint8 *to, std::size_t bytes)>;

// Fills `out` with `wav`'s samples read at their place and converts them in that buffer.
bool convert(const WavLayout &wav, const ReadAt &read, const SDL_AudioSpec &device, Samples &out)
{
    const SDL_AudioFormat format = wav.isFloat      ? AUDIO_F32LSB
                                   : wav.bits == 8  ? AUDIO_U8
                                   : wav.bits == 16 ? AUDIO_S16LSB
                                                    : AUDIO_S32LSB; // 24-bit is widened to 32
    SDL_AudioCVT cvt{};
    const int built = SDL_BuildAudioCVT(&cvt, format, static_cast<Uint8>(wav.channels), wav.rate, device.format,
                                        device.channels, device.freq);
    if (built < 0)
        return false;
    const auto stored = static_cast<std::size_t>(wav.dataBytes);
    const std::size_t bytes = wav.bits == 24 ? stored / 3 * 4 : stored;
    if (bytes == 0) {
        out = {};
        return true;
    }
    if (cvt.len_mult <= 0 || bytes > maxConversionBytes / static_cast<std::size_t>(cvt.len_mult))
        return false;
    out.assign(bytes * static_cast<std::size_t>(cvt.len_mult), 0);
    if (!read(wav.dataOffset, out.data(), stored)) {
        out = {};
        return false;
    }
    if (wav.bits == 24) { // from the end, so no sample is overwritten before it is moved
        for (std::size_t i = stored / 3; i-- > 0;) {
            const Uint8 low = out[3 * i], mid = out[3 * i + 1], high = out[3 * i + 2];
            out[4 * i] = 0;
            out[4 * i + 1] = low;
            out[4 * i + 2] = mid;
            out[4 * i + 3] = high;
        }
    }
    cvt.len = static_cast<int>(bytes);
    cvt.buf = out.data();
    if (built == 1 && SDL_ConvertAudio(&cvt) != 0) {
        out = {};
        return false;
    }
    out.resize(built == 1 ? static_cast<std::size_t>(cvt.len_cvt) : bytes);
    out.shrink_to_fit(); // the cache keeps the converted clip, not the room it was made in
    return true;
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

bool readFully(int fd, qint64 offset, Uint8 *to, std::size_t bytes)
{
    while (bytes > 0) {
        const ssize_t n = pread(fd, to, bytes, static_cast<off_t>(offset));
        if (n <= 0)
            return false;
        to += n;
        offset += n;
        bytes -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool ClipDecoder::decodeFile(const QString &path, double maxSeconds, Samples &out) const
{
    out.clear();
    qint64 size = 0;
    const Descriptor file(openRegularFile(path, &size));
    if (file.get() < 0)
        return false;
    if (size > maxVoiceFileBytes(maxSeconds))
        return false;
    QByteArray head(static_cast<qsizetype>(std::min<qint64>(size, voiceRule::headBytes)), '\0');
    if (!readFully(file.get(), 0, reinterpret_cast<Uint8 *>(head.data()), static_cast<std::size_t>(head.size())))
        return false;
    const VoiceClipCheck check = checkVoiceClip(head, size, maxSeconds);
    const auto read = [&](qint64 offset, Uint8 *to, std::size_t bytes) {
        return readFully(file.get(), offset, to, bytes);
    };
    return check.ok() && convert(check.layout, read, device_, out);
}

bool ClipDecoder::decodeBytes(const QByteArray &file, double maxSeconds, Samples &out) const
{
    out.clear();
    const VoiceClipCheck check = checkVoiceClip(file, file.size(), maxSeconds);
    const auto read = [&](qint64 offset, Uint8 *to, std::size_t bytes) {
        if (offset < 0 || offset + static_cast<qint64>(bytes) > file.size())
            return false;
        std::memcpy(to, file.constData() + offset, bytes);
        return true;
    };
    return check.ok() && convert(check.layout, read, device_, out);
}

} // namespace quizzolo
