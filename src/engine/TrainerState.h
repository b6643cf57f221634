#pragma once

#include <cstdint>

namespace quizzolo {

// The variables the practice modes share. Handlers nest inside pump points, so every
// reader takes the current value at the moment it reads, never a copy made earlier.
struct TrainerState {
    bool fermaOperazioni = false; // a running sequence stops at its next cycle
    bool conRisultato = false;    // the running sequence also speaks the result
    std::int16_t risultato = 0;   // product of the current question
    std::int16_t fattore1 = 0;
    std::int16_t fattore2 = 0;
    std::int16_t tabellaScelta = 0; // 0 = all tables, 1..9 = that table
    std::int16_t ritardoSecondi = 0;
    bool cacciaInCorso = false; // a euro-hunt question awaits its answer
    float euroVinti = 0.0f;     // reward count, whole numbers only

    // Not a trainer variable of the original window: true while an answer is being
    // scored, so that a second ENTER during the final second cannot score it again.
    bool rispostaInValutazione = false;
};

} // namespace quizzolo
