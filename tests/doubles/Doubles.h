#pragma once

#include "common/Outside.h"

#include <QFileInfo>
#include <QHash>
#include <QStringList>
#include <QUrl>
#include <algorithm>
#include <deque>
#include <functional>
#include <random>
#include <stdexcept>
#include <vector>

namespace quizzolo::test {

struct FakeClock : public SteadyClock {
    double nowSeconds() const override { return now; }
    void advance(double seconds) { now += seconds; }
    double now = 1000.0;
};

// Runs scripted actions at chosen pump calls or fake times; waits move the fake clock on. Actions may pump again.
struct ScriptedPump : public EventPump {
    explicit ScriptedPump(FakeClock &clock) : clock_(clock) {}
    void processPendingEvents() override { runDue(); }
    void waitForEventsUntil(double deadlineSeconds) override
    {
        // The next scripted event wakes the wait before the deadline, as a real one would.
        double wake = deadlineSeconds;
        for (const Scripted &s : scripted_)
            wake = std::min(wake, s.at);
        clock_.now = std::max(clock_.now, wake);
        runDue();
    }

    void atPump(int n, std::function<void()> action) { scripted_.push_back({n, 1e300, std::move(action)}); } // from 1
    void atTime(double seconds, std::function<void()> action) { scripted_.push_back({-1, seconds, std::move(action)}); }
    void everyPump(std::function<void()> action) { always_.push_back(std::move(action)); }

    int calls = 0;
    struct Scripted {
        int call;
        double at;
        std::function<void()> action;
    };
    void runDue() // one pump point
    {
        // A fault that keeps a sequence running for ever fails the test instead of hanging it.
        if (++calls > 1000000)
            throw std::runtime_error("a million pump points: the trainer never stops");
        // Take each action out before running it: it may pump again.
        for (auto it = scripted_.begin(); it != scripted_.end();) {
            if (it->call == calls || it->at <= clock_.now) {
                auto action = std::move(it->action);
                scripted_.erase(it);
                action();
                it = scripted_.begin();
            } else {
                ++it;
            }
        }
        for (std::size_t i = 0; i < always_.size(); ++i)
            always_[i]();
    }
    FakeClock &clock_;
    std::vector<Scripted> scripted_;
    std::vector<std::function<void()>> always_;
};

struct PlayedClip {
    QString file; // without the folder
    PlayMode mode;
    double at; // fake time at the start
};

// Records what would be heard; a synchronous clip takes clipSeconds of fake time.
struct RecordingClipPlayer : public ClipPlayer {
    explicit RecordingClipPlayer(FakeClock &clock) : clock_(clock) {}
    void play(const QString &path, PlayMode mode) override
    {
        played.push_back({QFileInfo(path).fileName(), mode, clock_.now});
        if (onPlay)
            onPlay(played.back());
        if (mode == PlayMode::Sync)
            clock_.advance(clipSeconds);
    }
    void silence() override { ++silenced; }
    QStringList files() const
    {
        QStringList out;
        std::transform(played.begin(), played.end(), std::back_inserter(out), [](auto &c) { return c.file; });
        return out;
    }

    std::vector<PlayedClip> played;
    double clipSeconds = 0.6;
    int silenced = 0;
    std::function<void(const PlayedClip &)> onPlay; // after recording, before time passes
    FakeClock &clock_;
};

// Hands out the queued values first, then a fixed-seed sequence.
struct ScriptedRandom : public RandomSource {
    float next() override
    {
        ++drawn;
        const float v = queue.empty() ? float(fallback() >> 8) / 16777216.0f : queue.front();
        if (!queue.empty())
            queue.pop_front();
        return v;
    }
    static float forFactor(int factor) { return (static_cast<float>(factor) - 0.5f) / 9.0f; }
    void pushQuestion(int first, int second) { queue.insert(queue.end(), {forFactor(first), forFactor(second)}); }

    std::deque<float> queue;
    int drawn = 0;
    std::mt19937 fallback{12345};
};

struct RecordingLinkOpener : public LinkOpener {
    void open(const QUrl &address) override { opened.push_back(address); }
    std::vector<QUrl> opened;
};

struct ScriptedExitQuestion : public ExitQuestion {
    bool confirmExit() override { return ++asked, answer; }
    bool answer = false;
    int asked = 0;
};

// Hands out the real pictures and remembers which coin each one was.
struct RememberingPictures : public PictureSource {
    explicit RememberingPictures(PictureSource &real) : real(real) {}
    QPixmap bitmap(int id) override
    {
        const QPixmap p = real.bitmap(id);
        return ids.insert(p.cacheKey(), id), p;
    }
    // 0 for no picture, -1 for one that did not come from here.
    int idOf(const QPixmap &p) const { return p.isNull() ? 0 : ids.value(p.cacheKey(), -1); }
    PictureSource &real;
    QHash<qint64, int> ids;
};

struct ProgramEnded {};

// Ending the program unwinds the test's stack, so nothing of the trainer runs after it.
struct ThrowingProgramEnd : public ProgramEnd {
    explicit ThrowingProgramEnd(ClipPlayer &clips) : clips(clips) {}
    [[noreturn]] void endNow() override
    {
        clips.silence();
        throw ProgramEnded();
    }
    ClipPlayer &clips;
};

} // namespace quizzolo::test
