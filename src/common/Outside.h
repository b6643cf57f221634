#pragma once

#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace quizzolo {

// Everything the trainer needs from the world outside its own state passes through
// these small interfaces: the programs wire in the real ones, the tests wire in doubles.

class SteadyClock {
  public:
    virtual ~SteadyClock() = default;
    // Seconds with a fraction, from an arbitrary origin; never goes back.
    virtual double nowSeconds() const = 0;
};

class EventPump {
  public:
    virtual ~EventPump() = default;
    // Dispatch every pending window event once, then return.
    virtual void processPendingEvents() = 0;
    // Dispatch pending events; if there are none, sleep until one arrives or the
    // clock reaches deadlineSeconds, whichever comes first.
    virtual void waitForEventsUntil(double deadlineSeconds) = 0;
};

enum class PlayMode { Sync, Async };

class ClipPlayer {
  public:
    virtual ~ClipPlayer() = default;
    // Sync returns when the clip has ended; Async returns at once. Either cuts off
    // a clip still playing. A clip that cannot be read plays the default beep.
    virtual void play(const QString &path, PlayMode mode) = 0;
    // Plays the first of the files that can be played, in order, the default beep when none
    // can. A player that cannot tell a playable file plays the first.
    virtual void playFirst(const QStringList &candidates, PlayMode mode) { play(candidates.value(0), mode); }
    // Stop whatever plays; nothing more is heard.
    virtual void silence() = 0;
};

class RandomSource {
  public:
    virtual ~RandomSource() = default;
    // Uniform in [0, 1).
    virtual float next() = 0;
};

class LinkOpener {
  public:
    virtual ~LinkOpener() = default;
    // Hands the address to the desktop's default program without waiting.
    virtual void open(const QUrl &address) = 0;
};

class ExitQuestion {
  public:
    virtual ~ExitQuestion() = default;
    // Modal "Vuoi uscire?"; true when the answer is Yes.
    virtual bool confirmExit() = 0;
};

class ProgramEnd {
  public:
    virtual ~ProgramEnd() = default;
    // Ends the program at once; nothing of the trainer runs afterwards.
    [[noreturn]] virtual void endNow() = 0;
};

class PictureSource {
  public:
    virtual ~PictureSource() = default;
    // Coin bitmap 101..107, loaded afresh; a null picture for any other id.
    virtual QPixmap bitmap(int id) = 0;
};

struct Outside {
    SteadyClock &clock;
    EventPump &pump;
    ClipPlayer &clips;
    RandomSource &random;
    LinkOpener &links;
    ExitQuestion &exitQuestion;
    ProgramEnd &end;
    PictureSource &pictures;
};

} // namespace quizzolo
