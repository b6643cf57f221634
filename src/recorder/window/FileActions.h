#pragma once

#include "recorder/RecorderOutside.h"
#include "recorder/files/ClipStore.h"

namespace quizzolo::recorder {

// The window's work with files and folders: importing one file or many, the voice pack
// for other computers, the guide, the voice folder. Each returns false when the user
// cancelled; otherwise message() says what happened, for the status line.
class FileActions {
  public:
    FileActions(ClipStore &store, RecorderDialogs &dialogs, ExternalOpener &opener);

    bool importOne(const ClipEntry &clip);
    bool importMany();
    bool exportVoice();
    bool importVoice();
    void openGuide();
    void openFolder();
    const QString &message() const { return message_; }
    // Where the file dialogs open: the folder of the last file chosen, kept between sessions.
    const QString &lastFolder() const { return lastFolder_; }

  private:
    QString chosen(const QString &file);
    ClipStore &store_;
    RecorderDialogs &dialogs_;
    ExternalOpener &opener_;
    QString lastFolder_;
    QString message_;
};

// "~/.local/share/quizzolo/voce": shorter, and says where the home folder is.
QString readablePath(const QString &path);

} // namespace quizzolo::recorder
