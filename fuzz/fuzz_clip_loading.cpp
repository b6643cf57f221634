// libFuzzer target: any bytes as a voice clip, through the trainer's loading path, from memory
// and from a file: the same result both ways, never longer than the length allowed.
#include "common/sound/ClipDecoder.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

#include "Expect.h" // last: its macro must not meet the libraries' headers

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const int file = memfd_create("clip", 0);
    static const QString path = QStringLiteral("/proc/self/fd/%1").arg(file);
    const SDL_AudioSpec device{22050, AUDIO_S16SYS, 1, 0, 0, 0, 0, nullptr, nullptr};
    const quizzolo::ClipDecoder decoder(device);
    const double maxSeconds = size % 2 ? 2.5 : 30.0; // a number's limit and the anthem's

    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    quizzolo::Samples fromMemory, fromFile;
    const bool accepted = decoder.decodeBytes(bytes, maxSeconds, fromMemory);
    expect(accepted || fromMemory.empty(), "a refused clip leaves nothing");
    // SDL's resampler may round up by a few frames.
    const double allowed = maxSeconds + quizzolo::clipRule::breathSeconds;
    expect(fromMemory.size() <= static_cast<std::size_t>(allowed * device.freq + 64) * 2, "no longer than allowed");

    expect(file >= 0 && ftruncate(file, 0) == 0 && pwrite(file, data, size, 0) == static_cast<ssize_t>(size),
           "the file is written");
    expect(decoder.decodeFile(path, maxSeconds, fromFile) == accepted, "same verdict from a file");
    expect(fromFile == fromMemory, "same samples from a file");
    return 0;
}
