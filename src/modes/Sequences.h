#pragma once

namespace quizzolo {

struct Trainer;

// The two toggle buttons of the endless sequences. A start click returns only when its
// sequence has ended; a stop click (handled inside the running loop) returns at once.
void Command3_Click(Trainer &t); // without the result
void command4_Click(Trainer &t); // with the result

// Question after question until fermaOperazioni is set at the top of a cycle.
void operazioniDiSeguito(Trainer &t);

// Slider value 500..5000 to whole seconds 1..10.
void variaRitardo_Change(Trainer &t);
int secondsForSliderValue(int value);

} // namespace quizzolo
