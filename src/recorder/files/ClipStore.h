#pragma once

#include "common/ClipCatalogue.h"
#include "common/VoiceFolders.h"
#include "recorder/files/FileSafety.h"
#include "recorder/files/MediaDecoder.h"
#include "recorder/takes/TakeProcessing.h"

#include <QString>

namespace quizzolo::recorder {

// The user's takes in their voice folder: written whole or not at all, removed to
// give the program's clip back.
class ClipStore {
  public:
    explicit ClipStore(VoiceFolders folders, Sharing sharing = Sharing::Owner)
        : folders_(std::move(folders)), sharing_(sharing)
    {
    }
    const VoiceFolders &folders() const { return folders_; }

    VoiceFolders::Source source(const QString &clipName) const;
    QString playablePath(const QString &clipName) const;

    // An accepted take replaces the user's clip atomically; on failure the clip there
    // was stays and the returned text says why. Empty on success.
    QString save(const QString &clipName, const ProcessedTake &take);
    // Processes a file and saves it when accepted; the take tells what happened.
    ProcessedTake import(const ClipEntry &clip, const QString &file);
    // The same for a file already read (a pack's member).
    ProcessedTake accept(const ClipEntry &clip, const AudioRead &read);
    // Back to the program's clip. Empty on success.
    QString restore(const QString &clipName);

  private:
    VoiceFolders folders_;
    Sharing sharing_;
};

// "la tua voce", "voce della scuola", "voce di Quizzolo", "manca"
QString sourceText(VoiceFolders::Source source);

} // namespace quizzolo::recorder
