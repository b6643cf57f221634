// libFuzzer target: any bytes as a voice clip file through the trainer's loading path; never longer than allowed.
#include "common/sound/ClipDecoder.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

#include "Expect.h" // last: its macro must not meet the libraries' headers

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const int file = memfd_create("clip", 0);
    static const QString path = QStringLiteral("/proc/self/fd/%1").arg(file);
    expect(file >= 0 && ftruncate(file, 0) == 0 && pwrite(file, data, size, 0) == static_cast<ssize_t>(size),
           "the file is written");
    const SDL_AudioSpec device{22050, AUDIO_S16SYS, 1, 0, 0, 0, 0, nullptr, nullptr};
    const double maxSeconds = size % 2 ? 2.5 : 30.0; // a number's limit and the anthem's
    quizzolo::Samples samples;
    const bool accepted = quizzolo::ClipDecoder(device).decodeFile(path, maxSeconds, samples);
    expect(accepted || samples.empty(), "a refused clip leaves nothing");
    // SDL's resampler may round up by a few frames.
    const double allowed = maxSeconds + quizzolo::clipRule::breathSeconds;
    expect(samples.size() <= static_cast<std::size_t>(allowed * device.freq + 64) * 2, "no longer than allowed");
    return 0;
}
