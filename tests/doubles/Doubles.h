#pragma once

#include "engine/Outside.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <deque>
#include <functional>
#include <random>
#include <stdexcept>
#include <vector>

namespace quizzolo::test {

class FakeClock : public SteadyClock {
  public:
    double nowSeconds() const override { return now; }
    void advance(double seconds) { now += seconds; }
    double now = 1000.0;
};

// Runs scripted actions at chosen pump calls or at chosen fake times, and moves the
// fake clock forward when the trainer waits, so pauses cost no real time.
class ScriptedPump : public EventPump {
  public:
    explicit ScriptedPump(FakeClock &clock) : clock_(clock) {}

    void processPendingEvents() override;
    void waitForEventsUntil(double deadlineSeconds) override;

    // n counts pump calls of either kind, from 1.
    void atPump(int n, std::function<void()> action);
    // When the clock reaches `seconds` (absolute fake time) during a wait or a pump.
    void atTime(double seconds, std::function<void()> action);
    // Runs at every pump call until it returns false.
    void everyPump(std::function<bool()> action);

    int calls = 0;
    int waits = 0;

  private:
    void runDue();
    struct Timed {
        double at;
        std::function<void()> action;
    };
    FakeClock &clock_;
    std::vector<std::pair<int, std::function<void()>>> byIndex_;
    std::vector<Timed> byTime_;
    std::vector<std::function<bool()>> always_;
};

struct PlayedClip {
    QString file; // file name without the folder
    PlayMode mode;
    double at; // fake time at the start
};

// Records what would be heard; a synchronous clip takes clipSeconds of fake time.
class RecordingClipPlayer : public ClipPlayer {
  public:
    explicit RecordingClipPlayer(FakeClock &clock) : clock_(clock) {}
    void play(const QString &path, PlayMode mode) override;
    void silence() override { ++silenced; }

    QStringList files() const;
    QStringList syncFiles() const;
    std::vector<PlayedClip> played;
    double clipSeconds = 0.6;
    int silenced = 0;
    std::function<void(const PlayedClip &)> onPlay; // runs after recording, before time passes

  private:
    FakeClock &clock_;
};

// Hands out the given values first, then a fixed-seed sequence.
class ScriptedRandom : public RandomSource {
  public:
    float next() override;
    void push(std::initializer_list<float> values) { queue.insert(queue.end(), values); }
    // Values that draw exactly these factors.
    static float forFactor(int factor) { return (static_cast<float>(factor) - 0.5f) / 9.0f; }
    void pushQuestion(int first, int second) { push({forFactor(first), forFactor(second)}); }

    std::deque<float> queue;
    int drawn = 0;
    std::mt19937 fallback{12345};
};

class RecordingLinkOpener : public LinkOpener {
  public:
    void open(const QUrl &address) override { opened.push_back(address); }
    std::vector<QUrl> opened;
};

class ScriptedExitQuestion : public ExitQuestion {
  public:
    bool confirmExit() override;
    std::deque<bool> answers; // empty: No
    int asked = 0;
    std::function<void()> whileOpen; // runs while the question is showing
};

struct ProgramEnded : std::runtime_error {
    ProgramEnded() : std::runtime_error("program ended") {}
};

// Ending the program unwinds the test's call stack, so nothing of the trainer can run
// after it; the test catches ProgramEnded.
class ThrowingProgramEnd : public ProgramEnd {
  public:
    explicit ThrowingProgramEnd(ClipPlayer &clips) : clips_(clips) {}
    [[noreturn]] void endNow() override;
    int ended = 0;

  private:
    ClipPlayer &clips_;
};

} // namespace quizzolo::test
