#pragma once

namespace quizzolo {

struct Trainer;

// Pause of ritardoSecondi seconds; the length is read afresh at every check, so a
// slider change moves the end of a pause already running.
void attendi(Trainer &t);

// The fixed pause of 2 seconds after a spoken result.
void pausaDopoRisultato(Trainer &t);

} // namespace quizzolo
