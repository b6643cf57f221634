#pragma once

#include "app/Tabella.h"
#include "app/TabellaLayout.h"
#include "doubles/Doubles.h"

#include <QTest>

namespace quizzolo::test {

// The real window and handlers, wired to the doubles.
struct Harness {
    FakeClock clock;
    ScriptedPump pump{clock};
    RecordingClipPlayer clips{clock};
    ScriptedRandom random;
    RecordingLinkOpener links;
    ScriptedExitQuestion exitQuestion;
    ThrowingProgramEnd end{clips};
    Outside outside{clock, pump, clips, random, links, exitQuestion, end};
    Tabella window{outside, QStringLiteral("/clips")};
    Trainer &t = window.trainer();
    Controls &ui = window.controls();

    // Shows the window and makes it the active one, so that focus moves really happen.
    [[nodiscard]] bool showActive()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
};

} // namespace quizzolo::test
