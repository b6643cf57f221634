// libFuzzer target: any bytes as a file the teacher imports: a refusal says why, the reading is bounded.
#include "recorder/files/AudioFile.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

#include "Expect.h" // last: its macro must not meet the libraries' headers

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace quizzolo;
    static const int file = memfd_create("import", 0);
    static const QString path = QStringLiteral("/proc/self/fd/%1").arg(file);
    expect(file >= 0 && ftruncate(file, 0) == 0 && pwrite(file, data, size, 0) == static_cast<ssize_t>(size),
           "the file is written");

    const recorder::AudioRead read = recorder::readAudio(path);
    expect(read.audio.has_value() == read.refusal.isEmpty(), "a refusal says why, and only a refusal");
    if (!read.audio)
        return 0;
    const recorder::Audio &audio = *read.audio;
    const double most = (longestClipSeconds() + recorder::importRule::silenceAroundSeconds) * audio.rate;
    expect(audio.channels == 1 && audio.rate <= recorder::importRule::keptRate, "mono at a kept rate");
    expect(static_cast<double>(audio.samples.size()) <= most + 1, "bounded reading");
    return 0;
}
