#include "modes/PacedWait.h"

#include "engine/Trainer.h"

namespace quizzolo {

namespace {

// The start never moves: time spent in nested handlers counts as time waited.
// Between checks the pump sleeps until an event or the current end, never spins.
template <typename Length> void pausa(Trainer &t, Length lengthSeconds)
{
    const double inizio = t.fuori.clock.nowSeconds();
    for (;;) {
        const double fine = inizio + lengthSeconds();
        if (!(fine > t.fuori.clock.nowSeconds()))
            return;
        t.fuori.pump.waitForEventsUntil(fine);
    }
}

} // namespace

void attendi(Trainer &t)
{
    pausa(t, [&t] { return static_cast<double>(t.stato.ritardoSecondi); });
}

void pausaDopoRisultato(Trainer &t)
{
    pausa(t, [] { return 2.0; });
}

} // namespace quizzolo
