#pragma once

#include <QString>

namespace quizzolo {

struct Trainer;

// The character code of a typed key as the answer box's key handler sees it.
int characterCode(const QString &typed);

// Key handler of the answer box: most letters are discarded (code set to 0); ENTER
// scores the answer while a hunt question is open.
void Text1_KeyPress(Trainer &t, int &keyAscii);

} // namespace quizzolo
