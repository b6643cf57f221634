#pragma once

namespace quizzolo {

struct Trainer;

// "Chiedimi una operazione": leaves any euro hunt behind and poses one question.
void Command1_Click(Trainer &t);

// "Fammi vedere il risultato"; during a euro-hunt question the same button is the
// prompt and only repeats the spoken request.
void Command2_Click(Trainer &t);

} // namespace quizzolo
