#pragma once

#include "engine/Controls.h"

#include <vector>

namespace quizzolo {

struct Trainer;

// The six push buttons and the two link labels that show the hand pointers.
std::vector<QWidget *> pointerControls(const Controls &c);

// Any mouse button pressed on one of them: the closed hand, `scale` times its size.
void pointerPressed(Trainer &t, QWidget *control, double scale = 1);

// The pointer moving over one of them: a push button takes the focus (the prompt
// button not while a hunt question waits for its answer), then the open hand.
void pointerMoved(Trainer &t, QWidget *control, double scale = 1);

// The hands already shown, again at another scale.
void rescaleHands(const Controls &c, double scale);

} // namespace quizzolo
