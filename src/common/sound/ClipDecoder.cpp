#include "common/sound/ClipDecoder.h"

#include "common/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <sndfile.h>
#include <unistd.h>

namespace quizzolo {

namespace {

// Far above what the rule lets through (31 s of 192 kHz is 12 MB), far below SDL's
// int lengths: a guard on the arithmetic, not the rule.
constexpr std::size_t maxConversionBytes = 64u << 20;
constexpr sf_count_t chunkFrames = 4096;

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

class SoundFile {
  public:
    explicit SoundFile(SNDFILE *file) : file_(file) {}
    ~SoundFile()
    {
        if (file_)
            sf_close(file_);
    }
    SoundFile(const SoundFile &) = delete;
    SoundFile &operator=(const SoundFile &) = delete;
    SNDFILE *get() const { return file_; }

  private:
    SNDFILE *file_;
};

// libsndfile reading a byte array in place.
struct Memory {
    const QByteArray &bytes;
    sf_count_t at = 0;
};

Memory &memoryOf(void *user)
{
    return *static_cast<Memory *>(user);
}

SF_VIRTUAL_IO memoryIo()
{
    SF_VIRTUAL_IO io{};
    io.get_filelen = [](void *user) -> sf_count_t { return memoryOf(user).bytes.size(); };
    io.seek = [](sf_count_t offset, int whence, void *user) -> sf_count_t {
        Memory &m = memoryOf(user);
        const sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? m.at : m.bytes.size();
        if (offset < -base || offset > m.bytes.size() - base)
            return -1;
        return m.at = base + offset;
    };
    io.read = [](void *to, sf_count_t count, void *user) -> sf_count_t {
        Memory &m = memoryOf(user);
        const sf_count_t n = std::clamp<sf_count_t>(m.bytes.size() - m.at, 0, std::max<sf_count_t>(count, 0));
        std::memcpy(to, m.bytes.constData() + m.at, static_cast<std::size_t>(n));
        m.at += n;
        return n;
    };
    io.write = [](const void *, sf_count_t, void *) -> sf_count_t { return 0; };
    io.tell = [](void *user) -> sf_count_t { return memoryOf(user).at; };
    return io;
}

bool refuse(QString *why, const QString &reason)
{
    if (why)
        *why = reason;
    return false;
}

// The clip as mono 16-bit samples, the channels averaged; a refusal, or empty when read. A
// 16-bit clip comes out as it was: libsndfile's floats of it scale back exactly.
QString readMono(SNDFILE *file, const SF_INFO &info, double maxSeconds, std::vector<Sint16> &mono)
{
    if (!file)
        return QStringLiteral("non è un file audio leggibile");
    const int type = info.format & SF_FORMAT_TYPEMASK;
    if (type != SF_FORMAT_WAV && type != SF_FORMAT_WAVEX && type != SF_FORMAT_RF64)
        return QStringLiteral("non è un WAV");
    if (info.channels < 1 || info.channels > clipRule::maxChannels)
        return QStringLiteral("%1 canali").arg(info.channels);
    if (info.samplerate < clipRule::minRate || info.samplerate > clipRule::maxRate)
        return QStringLiteral("frequenza di %1 Hz").arg(info.samplerate);
    const double allowed = maxSeconds + clipRule::breathSeconds;
    const auto maxFrames = static_cast<sf_count_t>(allowed * info.samplerate);
    const QString tooLong = QStringLiteral("dura più di %1 secondi").arg(allowed);
    if (info.frames > maxFrames)
        return tooLong;
    // A streamed header's length is a guess: the loop stops at the limit all the same.
    mono.reserve(static_cast<std::size_t>(std::clamp<sf_count_t>(info.frames, 0, maxFrames)));
    std::vector<float> chunk(static_cast<std::size_t>(chunkFrames * info.channels));
    for (sf_count_t got; (got = sf_readf_float(file, chunk.data(), chunkFrames)) > 0;) {
        if (static_cast<sf_count_t>(mono.size()) + got > maxFrames)
            return tooLong;
        for (sf_count_t frame = 0; frame < got; ++frame) {
            float sum = 0;
            for (int c = 0; c < info.channels; ++c) {
                const float sample = chunk[static_cast<std::size_t>(frame * info.channels + c)];
                if (!std::isfinite(sample))
                    return QStringLiteral("campioni non numerici o infiniti");
                sum += std::clamp(sample, -1.0f, 1.0f); // a float file may hold anything
            }
            const float scaled = std::round(sum / static_cast<float>(info.channels) * 32768.0f);
            mono.push_back(static_cast<Sint16>(std::min(scaled, 32767.0f)));
        }
    }
    // A file cut short while copied plays what it holds; one with nothing at all is no clip.
    return mono.empty() ? QStringLiteral("nessun suono") : QString();
}

// Converts in `mono`'s own room, grown by SDL's factor, then keeps only the result.
QString toDevice(std::vector<Sint16> &mono, int rate, const SDL_AudioSpec &device, Samples &out)
{
    SDL_AudioCVT cvt{};
    const int built = SDL_BuildAudioCVT(&cvt, AUDIO_S16SYS, 1, rate, device.format, device.channels, device.freq);
    const std::size_t bytes = mono.size() * sizeof(Sint16);
    if (built < 0 || cvt.len_mult <= 0 || bytes > maxConversionBytes / static_cast<std::size_t>(cvt.len_mult))
        return QStringLiteral("conversione impossibile");
    mono.resize((bytes * static_cast<std::size_t>(cvt.len_mult) + 1) / sizeof(Sint16));
    cvt.buf = reinterpret_cast<Uint8 *>(mono.data());
    cvt.len = static_cast<int>(bytes);
    if (built == 1 && SDL_ConvertAudio(&cvt) != 0)
        return QStringLiteral("conversione impossibile");
    out.assign(cvt.buf, cvt.buf + (built == 1 ? cvt.len_cvt : cvt.len));
    return {};
}

bool decode(SNDFILE *file, const SF_INFO &info, double maxSeconds, const SDL_AudioSpec &device, Samples &out,
            QString *why)
{
    std::vector<Sint16> mono;
    QString refusal = readMono(file, info, maxSeconds, mono);
    if (refusal.isEmpty())
        refusal = toDevice(mono, info.samplerate, device, out);
    if (refusal.isEmpty())
        return true;
    out = {};
    return refuse(why, refusal);
}

} // namespace

bool ClipDecoder::decodeFile(const QString &path, double maxSeconds, Samples &out, QString *why) const
{
    out.clear();
    const Descriptor fd(openRegularFile(path));
    if (fd.get() < 0) {
        return refuse(why, errno == EISDIR   ? QStringLiteral("è una cartella")
                           : errno == EINVAL ? QStringLiteral("non è un file normale")
                                             : QString::fromLocal8Bit(std::strerror(errno)));
    }
    SF_INFO info{};
    const SoundFile file(sf_open_fd(fd.get(), SFM_READ, &info, SF_FALSE));
    return decode(file.get(), info, maxSeconds, device_, out, why);
}

bool ClipDecoder::decodeBytes(const QByteArray &bytes, double maxSeconds, Samples &out, QString *why) const
{
    out.clear();
    SF_VIRTUAL_IO io = memoryIo();
    Memory memory{bytes};
    SF_INFO info{};
    const SoundFile file(sf_open_virtual(&io, SFM_READ, &info, &memory));
    return decode(file.get(), info, maxSeconds, device_, out, why);
}

} // namespace quizzolo
