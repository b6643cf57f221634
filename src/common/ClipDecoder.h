#pragma once

#include <QByteArray>
#include <QString>
#include <SDL.h>
#include <vector>

namespace quizzolo {

using Samples = std::vector<Uint8>;

// Reads a voice clip that the voice clip rule allows and converts it to the device's format.
// Only a regular file is opened, its header is checked before anything else is read, and
// every buffer is bounded by the rule: a file outside it gives false and leaves `out` empty.
class ClipDecoder {
  public:
    explicit ClipDecoder(const SDL_AudioSpec &device) : device_(device) {}

    bool decodeFile(const QString &path, double maxSeconds, Samples &out) const;
    bool decodeBytes(const QByteArray &file, double maxSeconds, Samples &out) const;

  private:
    SDL_AudioSpec device_;
};

} // namespace quizzolo
