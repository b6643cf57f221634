#include "recorder/files/MediaDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <QElapsedTimer>
#include <cmath>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace quizzolo::recorder {

namespace {

// The containers a voice recording comes in; nothing that opens other files or the network.
const char *const allowedFormats = "wav,w64,flac,ogg,mp3,mov,mp4,m4a,3gp,amr,amrnb,amrwb,aac";
const char *const allowedDecoders =
    "pcm_s8,pcm_u8,pcm_s16le,pcm_s16be,pcm_u16le,pcm_s24le,pcm_s24be,pcm_s32le,pcm_s32be,pcm_f32le,pcm_f32be,"
    "pcm_f64le,pcm_f64be,pcm_mulaw,pcm_alaw,adpcm_ms,adpcm_ima_wav,gsm_ms,flac,vorbis,opus,mp3,mp3float,aac,aac_fixed,"
    "amrnb,amrwb";
constexpr int ioBufferBytes = 32 * 1024;
constexpr int maxDamagedPackets = 64;

struct Source {
    MediaInput input;
    qint64 position = 0;
    qint64 consumed = 0; // every byte handed to FFmpeg, seeks included: a loop can't go on for ever
};

int readPacket(void *opaque, uint8_t *to, int size)
{
    auto *s = static_cast<Source *>(opaque);
    const qint64 n = std::min<qint64>(size, s->input.size - s->position);
    if (n <= 0 || s->consumed > 4 * importRule::maxFileBytes)
        return AVERROR_EOF;
    if (s->input.fd >= 0) {
        const ssize_t got = pread(s->input.fd, to, static_cast<std::size_t>(n), static_cast<off_t>(s->position));
        if (got <= 0)
            return got == 0 ? AVERROR_EOF : AVERROR(EIO);
        s->position += got;
        s->consumed += got;
        return static_cast<int>(got);
    }
    std::memcpy(to, s->input.bytes.data() + s->position, static_cast<std::size_t>(n));
    s->position += n;
    s->consumed += n;
    return static_cast<int>(n);
}

int64_t seekSource(void *opaque, int64_t offset, int whence)
{
    auto *s = static_cast<Source *>(opaque);
    if (whence & AVSEEK_SIZE)
        return s->input.size;
    const qint64 base = (whence & 3) == SEEK_CUR ? s->position : (whence & 3) == SEEK_END ? s->input.size : 0;
    const qint64 to = base + offset;
    if (to < 0 || to > s->input.size)
        return AVERROR(EINVAL);
    s->position = to;
    return to;
}

int pastDeadline(void *opaque)
{
    return static_cast<QElapsedTimer *>(opaque)->hasExpired(qint64(importRule::maxDecodingSeconds * 1000)) ? 1 : 0;
}

struct FormatDeleter {
    void operator()(AVFormatContext *f) const { avformat_close_input(&f); }
};
struct IoDeleter {
    void operator()(AVIOContext *io) const
    {
        if (io)
            av_freep(&io->buffer);
        avio_context_free(&io);
    }
};
struct CodecDeleter {
    void operator()(AVCodecContext *c) const { avcodec_free_context(&c); }
};
struct SwrDeleter {
    void operator()(SwrContext *s) const { swr_free(&s); }
};
struct FrameDeleter {
    void operator()(AVFrame *f) const { av_frame_free(&f); }
};
struct PacketDeleter {
    void operator()(AVPacket *p) const { av_packet_free(&p); }
};

AudioRead refused(const QString &why, bool notAudio = false)
{
    AudioRead r;
    r.refusal = why;
    r.notAudio = notAudio;
    return r;
}

QString seconds(double s)
{
    return QString::number(s, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(','));
}

// Turns decoded frames into mono floats at a kept rate, refusing what no voice can be.
class MonoSink {
  public:
    MonoSink(int rate, qint64 mostFrames) : rate_(rate), most_(mostFrames) {}

    // False when the frame can't be converted; `tooLong` once past the bound.
    bool add(SwrContext *swr, const AVFrame *frame, int channels)
    {
        const int room = swr_get_out_samples(swr, frame ? frame->nb_samples : 0);
        if (room < 0)
            return false;
        block_.resize(static_cast<std::size_t>(room) * static_cast<std::size_t>(channels) + 1);
        uint8_t *out = reinterpret_cast<uint8_t *>(block_.data());
        const int got =
            swr_convert(swr, &out, room, frame ? const_cast<const uint8_t **>(frame->extended_data) : nullptr,
                        frame ? frame->nb_samples : 0);
        if (got < 0)
            return false;
        for (int i = 0; i < got && !tooLong; ++i) {
            float sum = 0;
            for (int c = 0; c < channels; ++c)
                sum += block_[static_cast<std::size_t>(i * channels + c)];
            const float mono = sum / static_cast<float>(channels);
            if (!std::isfinite(mono))
                nonFinite = true;
            if (static_cast<qint64>(samples.size()) >= most_)
                tooLong = true;
            else
                samples.push_back(mono);
        }
        return true;
    }

    std::vector<float> samples;
    bool tooLong = false;
    bool nonFinite = false;
    int rate() const { return rate_; }

  private:
    int rate_;
    qint64 most_;
    std::vector<float> block_;
};

} // namespace

AudioRead decodeMedia(const MediaInput &input, const QString &nameHint, double maxSeconds)
{
    const QString notReadable =
        QStringLiteral("non è un file audio che Quizzolo sa leggere (WAV, FLAC, Ogg, Opus, MP3, M4A, AAC, AMR o 3GP)");
    if (input.size > importRule::maxFileBytes)
        return refused(QStringLiteral("è troppo grande per una voce (%1 MB; al massimo %2 MB)")
                           .arg(input.size / (1024 * 1024))
                           .arg(importRule::maxFileBytes / (1024 * 1024)));
    if (input.size == 0)
        return refused(QStringLiteral("è vuoto"), true);
    av_log_set_level(AV_LOG_QUIET); // every refusal is told in Italian, once

    Source source{input};
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<AVIOContext, IoDeleter> io(
        avio_alloc_context(static_cast<unsigned char *>(av_malloc(ioBufferBytes)), ioBufferBytes, 0, &source,
                           readPacket, nullptr, seekSource));
    AVFormatContext *raw = avformat_alloc_context();
    if (!io || !io->buffer || !raw) {
        avformat_free_context(raw);
        return refused(QStringLiteral("non c'è abbastanza memoria per leggerlo"));
    }
    raw->pb = io.get();
    raw->flags |= AVFMT_FLAG_CUSTOM_IO;
    raw->interrupt_callback = {pastDeadline, &clock};
    raw->probesize = 1 << 20;
    raw->max_analyze_duration = 5 * AV_TIME_BASE;
    AVDictionary *options = nullptr;
    av_dict_set(&options, "format_whitelist", allowedFormats, 0);
    av_dict_set(&options, "codec_whitelist", allowedDecoders, 0);
    const int opened = avformat_open_input(&raw, nameHint.toUtf8().constData(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0) // the context is freed
        return refused(opened == AVERROR_EXIT ? QStringLiteral("richiede troppo tempo per essere letto") : notReadable,
                       opened != AVERROR_EXIT);
    const std::unique_ptr<AVFormatContext, FormatDeleter> format(raw);
    if (avformat_find_stream_info(format.get(), nullptr) < 0)
        return refused(notReadable, true);
    const AVCodec *codec = nullptr;
    const int stream = av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (stream < 0 || !codec)
        return refused(stream == AVERROR_DECODER_NOT_FOUND ? notReadable : QStringLiteral("non contiene suono"), true);
    const AVCodecParameters *parameters = format->streams[stream]->codecpar;
    if (parameters->sample_rate < importRule::minRate || parameters->sample_rate > importRule::maxRate)
        return refused(QStringLiteral("formato non adatto (frequenza di %1 Hz; servono da %2 a %3 Hz)")
                           .arg(parameters->sample_rate)
                           .arg(importRule::minRate)
                           .arg(importRule::maxRate));
    const int channels = parameters->ch_layout.nb_channels;
    if (channels < 1 || channels > importRule::maxChannels)
        return refused(
            QStringLiteral("formato non adatto (%1 canali; al massimo %2)").arg(channels).arg(importRule::maxChannels));
    const double most = maxSeconds + importRule::silenceAroundSeconds;
    // A declared length is believed only to refuse early; the decoded one decides.
    if (format->duration > 0 && static_cast<double>(format->duration) / AV_TIME_BASE > most)
        return refused(
            QStringLiteral("dura %1 secondi: troppo per questa voce (al massimo %2). Taglia il file e riprova.")
                .arg(seconds(static_cast<double>(format->duration) / AV_TIME_BASE), seconds(maxSeconds)));

    const std::unique_ptr<AVCodecContext, CodecDeleter> decoder(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), parameters) < 0)
        return refused(notReadable, true);
    AVDictionary *codecOptions = nullptr;
    av_dict_set(&codecOptions, "codec_whitelist", allowedDecoders, 0);
    const int codecOpened = avcodec_open2(decoder.get(), codec, &codecOptions);
    av_dict_free(&codecOptions);
    if (codecOpened < 0)
        return refused(notReadable, true);
    if (decoder->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
        av_channel_layout_default(&decoder->ch_layout, channels);

    const int rate = std::min(decoder->sample_rate, importRule::keptRate);
    AVChannelLayout same{};
    av_channel_layout_copy(&same, &decoder->ch_layout);
    SwrContext *rawSwr = nullptr;
    const int made = swr_alloc_set_opts2(&rawSwr, &same, AV_SAMPLE_FMT_FLT, rate, &decoder->ch_layout,
                                         decoder->sample_fmt, decoder->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&same);
    const std::unique_ptr<SwrContext, SwrDeleter> swr(rawSwr);
    if (made < 0 || swr_init(swr.get()) < 0)
        return refused(notReadable, true);

    MonoSink sink(rate, static_cast<qint64>(most * rate));
    const std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    const std::unique_ptr<AVFrame, FrameDeleter> frame(av_frame_alloc());
    int damaged = 0;
    bool changed = false;
    const auto drain = [&] {
        while (avcodec_receive_frame(decoder.get(), frame.get()) == 0) {
            // A stream that changes its shape half-way is not a recording.
            changed = changed || frame->sample_rate != decoder->sample_rate || frame->format != decoder->sample_fmt ||
                      frame->ch_layout.nb_channels != channels;
            if (!changed && !sink.add(swr.get(), frame.get(), channels))
                changed = true;
            av_frame_unref(frame.get());
        }
    };
    int status = 0;
    while (!sink.tooLong && !changed && damaged <= maxDamagedPackets && !pastDeadline(&clock) &&
           (status = av_read_frame(format.get(), packet.get())) >= 0) {
        if (packet->stream_index == stream && avcodec_send_packet(decoder.get(), packet.get()) < 0)
            ++damaged;
        av_packet_unref(packet.get());
        drain();
    }
    if (!sink.tooLong && !changed) {
        avcodec_send_packet(decoder.get(), nullptr);
        drain();
        if (!changed)
            sink.add(swr.get(), nullptr, channels);
    }
    const auto after = [&](AudioRead read) {
        read.decodedSeconds = static_cast<double>(sink.samples.size()) / rate;
        return read;
    };
    if (pastDeadline(&clock) || status == AVERROR_EXIT)
        return after(refused(QStringLiteral("richiede troppo tempo per essere letto")));
    if (sink.tooLong)
        return after(refused(QStringLiteral("dura più di %1 secondi: troppo per questa voce (al massimo %2). Taglia "
                                            "il file e riprova.")
                                 .arg(seconds(most), seconds(maxSeconds))));
    if (changed || damaged > maxDamagedPackets)
        return after(refused(QStringLiteral("è danneggiato: non si può leggere fino in fondo")));
    if (sink.nonFinite)
        return after(refused(QStringLiteral("contiene campioni non validi (non sono numeri): salvalo di nuovo con "
                                            "un altro programma")));
    if (sink.samples.empty())
        return refused(QStringLiteral("non contiene suono"), true);
    AudioRead result = after({});
    result.audio = Audio{std::move(sink.samples), sink.rate(), 1};
    return result;
}

} // namespace quizzolo::recorder
