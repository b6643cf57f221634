#include "doubles/Doubles.h"

#include <QFileInfo>
#include <algorithm>

namespace quizzolo::test {

void ScriptedPump::atPump(int n, std::function<void()> action)
{
    byIndex_.emplace_back(n, std::move(action));
}

void ScriptedPump::atTime(double seconds, std::function<void()> action)
{
    byTime_.push_back({seconds, std::move(action)});
}

void ScriptedPump::everyPump(std::function<bool()> action)
{
    always_.push_back(std::move(action));
}

void ScriptedPump::runDue()
{
    // Take each action out before running it: it may pump again (nesting).
    for (auto it = byIndex_.begin(); it != byIndex_.end();) {
        if (it->first == calls) {
            auto action = std::move(it->second);
            byIndex_.erase(it);
            action();
            it = byIndex_.begin();
        } else {
            ++it;
        }
    }
    for (auto it = byTime_.begin(); it != byTime_.end();) {
        if (it->at <= clock_.now) {
            auto action = std::move(it->action);
            byTime_.erase(it);
            action();
            it = byTime_.begin();
        } else {
            ++it;
        }
    }
    for (std::size_t i = 0; i < always_.size();) {
        auto action = always_[i];
        if (!action())
            always_.erase(always_.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
}

void ScriptedPump::processPendingEvents()
{
    ++calls;
    runDue();
}

void ScriptedPump::waitForEventsUntil(double deadlineSeconds)
{
    ++calls;
    ++waits;
    // The next scripted event wakes the wait before the deadline, as a real one would.
    double wake = deadlineSeconds;
    for (const Timed &timed : byTime_)
        wake = std::min(wake, timed.at);
    if (wake > clock_.now)
        clock_.now = wake;
    runDue();
}

void RecordingClipPlayer::play(const QString &path, PlayMode mode)
{
    played.push_back({QFileInfo(path).fileName(), mode, clock_.now});
    if (onPlay)
        onPlay(played.back());
    if (mode == PlayMode::Sync)
        clock_.advance(clipSeconds);
}

QStringList RecordingClipPlayer::files() const
{
    QStringList out;
    for (const PlayedClip &c : played)
        out << c.file;
    return out;
}

QStringList RecordingClipPlayer::syncFiles() const
{
    QStringList out;
    for (const PlayedClip &c : played)
        if (c.mode == PlayMode::Sync)
            out << c.file;
    return out;
}

float ScriptedRandom::next()
{
    ++drawn;
    if (!queue.empty()) {
        const float v = queue.front();
        queue.pop_front();
        return v;
    }
    return static_cast<float>(fallback() >> 8) * (1.0f / 16777216.0f);
}

bool ScriptedExitQuestion::confirmExit()
{
    ++asked;
    if (whileOpen)
        whileOpen();
    if (answers.empty())
        return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
}

void ThrowingProgramEnd::endNow()
{
    ++ended;
    clips_.silence();
    throw ProgramEnded();
}

} // namespace quizzolo::test
