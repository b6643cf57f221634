#pragma once

#include "common/Outside.h"

#include <QString>
#include <QStringList>

namespace quizzolo {

// Where each clip is read from, clip by clip, so a teacher may replace only some:
//   1. the user's own voice folder ($XDG_DATA_HOME/quizzolo/voce, ~/.local/share/quizzolo/voce);
//   2. the school's voice, installed once for every user of the computer, in each folder of
//      $XDG_DATA_DIRS in turn (default /usr/local/share/quizzolo/voce, then
//      /usr/share/quizzolo/voce);
//   3. the program's own clips beside it.
class VoiceFolders {
  public:
    enum class Source { User, School, Program, Missing };

    // An empty user folder means there is none; no school folders, none of those.
    VoiceFolders(QString userFolder, QString programFolder, QStringList schoolFolders = {});
    // The folders of this user on this system.
    static VoiceFolders ofThisSystem(const QString &programFolder);

    // The user's voice folder on this system, e.g. ~/.local/share/quizzolo/voce; empty when
    // the environment names no absolute place for it.
    static QString defaultUserFolder();
    // The school's voice folders on this system, in lookup order.
    static QStringList defaultSchoolFolders();

    const QString &userFolder() const { return user_; }
    const QString &programFolder() const { return program_; }
    const QStringList &schoolFolders() const { return school_; }

    Source source(const QString &fileName) const;
    // The file to read; the program's one when none exists.
    QString path(const QString &fileName) const;
    // The user's or else the school's recording of the clip; empty when neither has one.
    QString recordedPath(const QString &fileName) const;
    // Every file there is for the clip, in lookup order: the user's, each school folder's,
    // and always the program's, whether it exists or not.
    QStringList candidates(const QString &fileName) const;
    QString userPath(const QString &fileName) const;
    QString programPath(const QString &fileName) const;

  private:
    // The first school folder holding the clip, or empty.
    QString schoolPath(const QString &fileName) const;

    QString user_;
    QString program_;
    QStringList school_;
};

// Plays the user's or the school's recording of a clip in place of the given one, when
// there is one; when it cannot be played, the next in the lookup order.
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
