#pragma once

#include "common/Outside.h"

#include <QElapsedTimer>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

class QProgressDialog;
class QWidget;

namespace quizzolo {
class SentencePlayer;
}

namespace quizzolo::recorder {

class MicrophoneInput;

// A file, or a pack's member, and the clip it is to replace; an empty clip leaves it out.
struct ClipChoice {
    QString file;
    QString clip;
    bool operator==(const ClipChoice &) const = default;
};

// The file choosers and questions of the recorder's window: the program shows Qt's
// dialogs, the tests answer them.
class RecorderDialogs {
  public:
    virtual ~RecorderDialogs() = default;
    // Empty (or an empty list) when cancelled.
    virtual QString openFile(const QString &title, const QString &folder, const QString &filter) = 0;
    virtual QStringList openFiles(const QString &title, const QString &folder, const QString &filter) = 0;
    virtual QString saveFile(const QString &title, const QString &suggested, const QString &filter) = 0;
    // A yes/no question whose default answer is No.
    virtual bool confirm(const QString &title, const QString &question) = 0;
    // A document in Markdown, in a window of the program's own.
    virtual void showDocument(const QString &title, const QString &markdown) = 0;
    // The files with the clip each would replace, for the user to confirm or change; nullopt
    // when cancelled.
    virtual std::optional<std::vector<ClipChoice>> chooseClips(const QString &title, const QString &intro,
                                                               const std::vector<ClipChoice> &choices) = 0;
    // How far a long task has gone, the window kept painting; false once the user asked to
    // stop. Called last with done == total.
    virtual bool progress(const QString &title, int done, int total) = 0;
};

// Hands a file or a folder to the desktop's own program for it.
class ExternalOpener {
  public:
    virtual ~ExternalOpener() = default;
    // False when no program took it (no desktop, no handler for the type).
    virtual bool open(const QUrl &file) = 0;
};

// Everything the recorder's window needs from outside its own state.
struct RecorderOutside {
    SentencePlayer &player;
    MicrophoneInput &microphone;
    const SteadyClock &clock;
    ExternalOpener &opener;
    RecorderDialogs &dialogs;
};

// The real ones for the program.
class QtRecorderDialogs : public RecorderDialogs {
  public:
    QtRecorderDialogs();
    ~QtRecorderDialogs() override;
    void setParentWindow(QWidget *window) { window_ = window; }
    QString openFile(const QString &title, const QString &folder, const QString &filter) override;
    QStringList openFiles(const QString &title, const QString &folder, const QString &filter) override;
    QString saveFile(const QString &title, const QString &suggested, const QString &filter) override;
    bool confirm(const QString &title, const QString &question) override;
    void showDocument(const QString &title, const QString &markdown) override;
    std::optional<std::vector<ClipChoice>> chooseClips(const QString &title, const QString &intro,
                                                       const std::vector<ClipChoice> &choices) override;
    bool progress(const QString &title, int done, int total) override;

  private:
    QWidget *window_ = nullptr;
    std::unique_ptr<QProgressDialog> progress_;
};

class ElapsedClock : public SteadyClock {
  public:
    ElapsedClock() { timer_.start(); }
    double nowSeconds() const override { return static_cast<double>(timer_.nsecsElapsed()) / 1e9; }

  private:
    QElapsedTimer timer_;
};

class DesktopOpener : public ExternalOpener {
  public:
    bool open(const QUrl &file) override;
};

// The teachers' guide this program was installed with; empty when it is not there.
QString guideFile(const QString &programFolder);

} // namespace quizzolo::recorder
