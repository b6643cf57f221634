#pragma once

class QWidget;

namespace quizzolo {

struct Trainer;

// STOP: asks "Vuoi uscire?" and ends the program at once on Yes.
void fine_Click(Trainer &t);

// The credit links: the author's e-mail and the web site, opened without waiting.
void Label7_Click(Trainer &t);
void Label8_Click(Trainer &t);
void linkClicked(Trainer &t, QWidget *label);

} // namespace quizzolo
