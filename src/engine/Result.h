#pragma once

#include <cstdint>

namespace quizzolo {

struct Trainer;

// Speaks the product (one clip below 20; tens then units from 20 on), then shows it
// in the answer box. Called as diciRisultato(t, t.stato.risultato).
void diciRisultato(Trainer &t, const std::int16_t &prodotto);

} // namespace quizzolo
