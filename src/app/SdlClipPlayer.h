#pragma once

#include "engine/Outside.h"

#include <QStringList>
#include <memory>

namespace quizzolo {

// Plays WAV clips through one SDL audio device opened at start and kept. Clips are
// converted to the device format once and kept in memory for quick starts.
class SdlClipPlayer : public ClipPlayer {
  public:
    SdlClipPlayer();
    ~SdlClipPlayer() override;
    SdlClipPlayer(const SdlClipPlayer &) = delete;
    SdlClipPlayer &operator=(const SdlClipPlayer &) = delete;

    void play(const QString &path, PlayMode mode) override;
    void silence() override;
    // Plays the clips one after the other as the trainer joins them, and returns at once.
    void playJoined(const QStringList &paths);

    // The SDL audio driver in use ("dummy" when no real device could be opened), or
    // an empty string when not even that worked and every clip is skipped.
    QString driverName() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace quizzolo
