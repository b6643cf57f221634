#pragma once

#include "common/Outside.h"
#include "engine/ClipNames.h"
#include "engine/Controls.h"
#include "engine/TrainerState.h"

namespace quizzolo {

// What every handler works on: the trainer state, the window's controls, the outside
// world and the clip folder. One per window.
struct Trainer {
    Trainer(Controls &controls, Outside &outside, ClipNames clipNames)
        : ui(controls), fuori(outside), clips(std::move(clipNames))
    {
    }

    TrainerState stato;
    Controls &ui;
    Outside &fuori;
    ClipNames clips;

    // How many handlers are running, nested inside each other's pump points.
    int handlerDepth = 0;
    int deepestNesting = 0;
};

// Counts a handler while it runs (nesting happens only through pump points).
class HandlerScope {
  public:
    explicit HandlerScope(Trainer &t) : t_(t)
    {
        if (++t_.handlerDepth > t_.deepestNesting)
            t_.deepestNesting = t_.handlerDepth;
    }
    ~HandlerScope() { --t_.handlerDepth; }
    HandlerScope(const HandlerScope &) = delete;
    HandlerScope &operator=(const HandlerScope &) = delete;

  private:
    Trainer &t_;
};

} // namespace quizzolo
