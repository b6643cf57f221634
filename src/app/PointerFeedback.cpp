#include "app/PointerFeedback.h"

#include "app/ResourceLoader.h"
#include "engine/Trainer.h"

#include <QLabel>
#include <QPushButton>

namespace quizzolo {

namespace {

constexpr int openHand = 101;
constexpr int closedHand = 102;

// Moves come by the hundred: assigning the hand a control already shows would only
// make the window system build the same cursor again.
void showHand(QWidget *control, int hand)
{
    static const char *const shown = "quizzoloHand";
    if (control->property(shown).toInt() == hand)
        return;
    control->setCursor(loadCursor(hand));
    control->setProperty(shown, hand);
}

} // namespace

std::vector<QWidget *> pointerControls(const Controls &c)
{
    return {c.Command1, c.Command2, c.Command3, c.command4, c.Command5, c.fine, c.Label7, c.Label8};
}

void pointerPressed(Trainer &, QWidget *control)
{
    showHand(control, closedHand);
}

void pointerMoved(Trainer &t, QWidget *control)
{
    const bool pushButton = qobject_cast<QPushButton *>(control) != nullptr;
    // Pointing at the prompt must not pull the focus away from the answer box.
    const bool promptDuringQuestion = control == t.ui.Command2 && t.stato.cacciaInCorso;
    if (pushButton && !promptDuringQuestion)
        control->setFocus();
    showHand(control, openHand);
}

} // namespace quizzolo
