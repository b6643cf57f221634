#pragma once

#include <cstdint>

namespace quizzolo {

struct Trainer;

// One factor, 1 to 9, from a uniform value r in [0, 1).
std::int16_t drawFactor(float r);

// Poses one question: clears the display, draws and shows both factors, speaks them
// and sets risultato. Always called as nuovaOperazione(t, t.stato.fattore1,
// t.stato.fattore2): the factors are read back through the references after every
// pump point, so a question posed by a nested handler wins consistently.
void nuovaOperazione(Trainer &t, std::int16_t &primo, std::int16_t &secondo);

} // namespace quizzolo
