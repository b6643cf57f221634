#include "recorder/files/AudioFile.h"

#include "recorder/files/FileSafety.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <sndfile.h>
#include <unistd.h>

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

namespace {

AudioRead named(AudioRead read, const QString &name)
{
    if (!read.audio)
        read.refusal = QStringLiteral("%1: %2%3").arg(name, read.refusal, read.refusal.endsWith('.') ? "" : ".");
    return read;
}

} // namespace

AudioRead readAudio(const QString &path, double maxSeconds)
{
    AudioRead result;
    qint64 size = 0;
    // Checked on the open descriptor before any library sees it: a FIFO would block it for ever.
    const int fd = openRegularFile(path, result.refusal, &size);
    if (fd < 0)
        return result;
    result = named(decodeMedia({fd, {}, size}, QFileInfo(path).fileName(), maxSeconds), QDir::toNativeSeparators(path));
    close(fd);
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
