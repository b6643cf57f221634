#pragma once

namespace quizzolo {

struct Trainer;

// Load handler: runs once, after the controls exist and before the window shows.
void Form_Load(Trainer &t);

// The times-table choice: 0 = all tables, 1..9 = that table. Changes nothing else.
void Sel_Quizzolo_Click(Trainer &t, int index);

} // namespace quizzolo
