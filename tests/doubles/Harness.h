#pragma once

#include "app/Tabella.h"
#include "app/TabellaLayout.h"
#include "doubles/Doubles.h"

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
};

} // namespace quizzolo::test
