#include "doubles/Doubles.h"

#include <algorithm>

namespace quizzolo::test {

void ScriptedPump::runDue()
{
    ++calls;
    // A fault that keeps a sequence running for ever fails the test instead of hanging it.
    if (calls > 1000000)
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
    for (std::size_t i = 0; i < always_.size();) {
        if (auto action = always_[i]; action())
            ++i;
        else
            always_.erase(always_.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

void ScriptedPump::waitForEventsUntil(double deadlineSeconds)
{
    // The next scripted event wakes the wait before the deadline, as a real one would.
    double wake = deadlineSeconds;
    for (const Scripted &s : scripted_)
        wake = std::min(wake, s.at);
    clock_.now = std::max(clock_.now, wake);
    runDue();
}

} // namespace quizzolo::test
