#pragma once

#include <QByteArray>
#include <QString>
#include <SDL.h>
#include <vector>

namespace quizzolo {

using Samples = std::vector<Uint8>;

// What a voice clip may be for the trainer to play it: a WAV that libsndfile decodes (any
// coding it knows: integer PCM, float, µ-law, A-law, ADPCM...), 1 to 8 channels, 8-192 kHz,
// finite samples, some sound, and no longer than its role allows plus a breath.
namespace clipRule {
constexpr int minRate = 8000;
constexpr int maxRate = 192000;
constexpr int maxChannels = 8;
// A trailing breath or a slow "sette per" may run past the role's limit by this much.
constexpr double breathSeconds = 1.0;
} // namespace clipRule

// Reads a voice clip and converts it to the device's format. Only a regular file is opened,
// the frames and channels the header declares are checked before any buffer is made, and the
// reading stops at the length allowed whatever the header said. A clip outside the rule gives
// false, leaves `out` empty and says why in `why`.
class ClipDecoder {
  public:
    explicit ClipDecoder(const SDL_AudioSpec &device) : device_(device) {}

    bool decodeFile(const QString &path, double maxSeconds, Samples &out, QString *why = nullptr) const;
    bool decodeBytes(const QByteArray &file, double maxSeconds, Samples &out, QString *why = nullptr) const;

  private:
    SDL_AudioSpec device_;
};

} // namespace quizzolo
