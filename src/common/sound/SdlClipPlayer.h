#pragma once

#include "common/Outside.h"

#include <QStringList>
#include <memory>

namespace quizzolo {

// What the recorder needs of a player besides single clips.
class SentencePlayer : public ClipPlayer {
  public:
    // Plays the clips one after the other as the trainer joins them, and returns at once.
    virtual void playJoined(const QStringList &paths) = 0;
    // The SDL audio driver in use ("dummy" when no real device could be opened), or
    // an empty string when not even that worked and every clip is skipped.
    virtual QString driverName() const = 0;
};

// Plays WAV clips through one SDL audio device opened at start and kept. Clips are
// converted to the device format once and kept in memory for quick starts. A clip outside
// the rule (common/ClipDecoder.h) is never converted and is named once on stderr: the next
// candidate plays, or the default beep, so memory stays bounded and a blocking play lasts at
// most the longest clip allowed.
class SdlClipPlayer : public SentencePlayer {
  public:
    SdlClipPlayer();
    ~SdlClipPlayer() override;
    SdlClipPlayer(const SdlClipPlayer &) = delete;
    SdlClipPlayer &operator=(const SdlClipPlayer &) = delete;

    void play(const QString &path, PlayMode mode) override;
    void playFirst(const QStringList &candidates, PlayMode mode) override;
    void silence() override;
    void playJoined(const QStringList &paths) override;
    QString driverName() const override;

  private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace quizzolo
