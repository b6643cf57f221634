#include "recorder/AudioFile.h"

#include "recorder/FileSafety.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstring>
#include <sndfile.h>

namespace quizzolo::recorder {

namespace {

// libsndfile writes through these into a byte array, so the file is put in place whole.
struct Bytes {
    QByteArray data;
    sf_count_t position = 0;
};

sf_count_t length(void *user)
{
    return static_cast<Bytes *>(user)->data.size();
}

sf_count_t seek(sf_count_t offset, int whence, void *user)
{
    auto *b = static_cast<Bytes *>(user);
    const sf_count_t base = whence == SEEK_CUR ? b->position : whence == SEEK_END ? b->data.size() : 0;
    b->position = std::max<sf_count_t>(0, base + offset);
    return b->position;
}

sf_count_t read(void *to, sf_count_t count, void *user)
{
    auto *b = static_cast<Bytes *>(user);
    const sf_count_t n = std::clamp<sf_count_t>(b->data.size() - b->position, 0, count);
    std::memcpy(to, b->data.constData() + b->position, static_cast<std::size_t>(n));
    b->position += n;
    return n;
}

sf_count_t write(const void *from, sf_count_t count, void *user)
{
    auto *b = static_cast<Bytes *>(user);
    if (b->position + count > b->data.size())
        b->data.resize(static_cast<qsizetype>(b->position + count));
    std::memcpy(b->data.data() + b->position, from, static_cast<std::size_t>(count));
    b->position += count;
    return count;
}

sf_count_t tell(void *user)
{
    return static_cast<Bytes *>(user)->position;
}

} // namespace

AudioRead readAudio(const QString &path)
{
    AudioRead result;
    // Checked on the open descriptor before libsndfile sees it: a FIFO would block it for ever.
    const int fd = openRegularFile(path, result.refusal);
    if (fd < 0)
        return result;
    SF_INFO info{};
    SNDFILE *file = sf_open_fd(fd, SFM_READ, &info, SF_TRUE);
    const QString shown = QDir::toNativeSeparators(path);
    if (!file) {
        result.refusal = QStringLiteral("%1 non è un file audio leggibile (WAV, FLAC, Ogg o MP3).").arg(shown);
        return result;
    }
    const auto unsuitable = [&](const QString &why) {
        sf_close(file);
        result.refusal = QStringLiteral("%1: formato non adatto (%2).").arg(shown, why);
        return result;
    };
    if (info.samplerate < importRule::minRate || info.samplerate > importRule::maxRate)
        return unsuitable(QStringLiteral("frequenza di %1 Hz; servono da %2 a %3 Hz")
                              .arg(info.samplerate)
                              .arg(importRule::minRate)
                              .arg(importRule::maxRate));
    if (info.channels < 1 || info.channels > importRule::maxChannels)
        return unsuitable(QStringLiteral("%1 canali; al massimo %2").arg(info.channels).arg(importRule::maxChannels));
    // The bound must still hold more than the longest clip, so that reading stops past any limit.
    const sf_count_t byTime = static_cast<sf_count_t>(info.samplerate * importRule::maxReadSeconds);
    const sf_count_t bySize = importRule::maxSamples / info.channels;
    const sf_count_t most = std::min(byTime, bySize);
    if (static_cast<double>(most) / info.samplerate < longestClipSeconds() + 5)
        return unsuitable(QStringLiteral("%1 canali a %2 Hz sono troppi dati; salvalo in mono o stereo a 48000 Hz")
                              .arg(info.channels)
                              .arg(info.samplerate));
    Audio audio;
    audio.rate = info.samplerate;
    audio.channels = info.channels;
    // Room for what is declared, within the bound; a short declaration only costs growth.
    audio.samples.reserve(static_cast<std::size_t>(std::clamp<sf_count_t>(info.frames, 0, most) * info.channels));
    std::vector<float> block(static_cast<std::size_t>(4096 * info.channels));
    sf_count_t read = 0;
    while (read < most) {
        const sf_count_t frames = sf_readf_float(file, block.data(), std::min<sf_count_t>(4096, most - read));
        if (frames <= 0)
            break;
        read += frames;
        audio.samples.insert(audio.samples.end(), block.begin(), block.begin() + frames * info.channels);
    }
    sf_close(file);
    // What lies past the bound is unheard: the file is refused for its whole length, not the part read.
    if (read >= most && info.frames > read) {
        result.refusal = QStringLiteral("%1 dura %2 secondi: troppo per una voce (al massimo %3). Taglia il file e "
                                        "riprova.")
                             .arg(shown, secondsText(static_cast<double>(info.frames) / info.samplerate),
                                  secondsText(longestClipSeconds()));
        return result;
    }
    result.audio = std::move(audio);
    return result;
}

std::optional<Audio> readAudioFile(const QString &path)
{
    return readAudio(path).audio;
}

QByteArray encodeClip(const std::vector<std::int16_t> &samples)
{
    Bytes bytes;
    SF_VIRTUAL_IO io{length, seek, read, write, tell};
    SF_INFO info{};
    info.samplerate = clipRate();
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE *file = sf_open_virtual(&io, SFM_WRITE, &info, &bytes);
    if (!file)
        return {};
    const auto count = static_cast<sf_count_t>(samples.size());
    const bool whole = sf_write_short(file, samples.data(), count) == count;
    sf_close(file);
    return whole ? bytes.data : QByteArray();
}

} // namespace quizzolo::recorder
