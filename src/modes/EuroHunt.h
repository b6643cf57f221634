#pragma once

namespace quizzolo {

struct Trainer;

// "Caccia all'euro": opens the next hunt question; also what the pacing timer runs.
void Command5_Click(Trainer &t);
void Timer1_Timer(Trainer &t);

// During a question the answer box takes the focus whenever the pointer crosses it.
void Text1_MouseMove(Trainer &t);

} // namespace quizzolo
