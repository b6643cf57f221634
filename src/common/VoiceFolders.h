#pragma once

#include "common/Outside.h"

#include <QString>

namespace quizzolo {

// Where each clip is read from: the user's own voice folder first, then the folder
// beside the program; clip by clip, so a teacher may replace only some.
class VoiceFolders {
  public:
    enum class Source { User, Program, Missing };

    // An empty user folder means there is none: only the program's clips are used.
    VoiceFolders(QString userFolder, QString programFolder);

    // The user's voice folder on this system, e.g. ~/.local/share/quizzolo/voce.
    static QString defaultUserFolder();

    const QString &userFolder() const { return user_; }
    const QString &programFolder() const { return program_; }

    Source source(const QString &fileName) const;
    // The file to read; the program's one when neither exists.
    QString path(const QString &fileName) const;
    QString userPath(const QString &fileName) const;
    QString programPath(const QString &fileName) const;

  private:
    QString user_;
    QString program_;
};

// Plays the user's recording of a clip in place of the given one, when there is one.
class VoiceFirstPlayer : public ClipPlayer {
  public:
    VoiceFirstPlayer(ClipPlayer &inner, VoiceFolders folders) : inner_(inner), folders_(std::move(folders)) {}
    void play(const QString &path, PlayMode mode) override;
    void silence() override { inner_.silence(); }

  private:
    ClipPlayer &inner_;
    VoiceFolders folders_;
};

} // namespace quizzolo
