#include "app/board/PointerFeedback.h"

#include "app/ResourceLoader.h"
#include "engine/Trainer.h"

#include <QLabel>
#include <QPushButton>

namespace quizzolo {

namespace {

constexpr int openHand = 101;
constexpr int closedHand = 102;

const char *const shownHand = "quizzoloHand";
const char *const shownScale = "quizzoloHandScale";

// Moves come by the hundred: assigning the hand a control already shows would only
// make the window system build the same cursor again.
void showHand(QWidget *control, int hand, double scale)
{
    if (control->property(shownHand).toInt() == hand && control->property(shownScale).toDouble() == scale)
        return;
    control->setCursor(loadCursor(hand, scale));
    control->setProperty(shownHand, hand);
    control->setProperty(shownScale, scale);
}

} // namespace

std::vector<QWidget *> pointerControls(const Controls &c)
{
    return {c.Command1, c.Command2, c.Command3, c.command4, c.Command5, c.fine, c.Label7, c.Label8};
}

void pointerPressed(Trainer &, QWidget *control, double scale)
{
    showHand(control, closedHand, scale);
}

void rescaleHands(const Controls &c, double scale)
{
    for (QWidget *control : pointerControls(c))
        if (const int hand = control->property(shownHand).toInt(); hand != 0)
            showHand(control, hand, scale);
}

void pointerMoved(Trainer &t, QWidget *control, double scale)
{
    const bool pushButton = qobject_cast<QPushButton *>(control) != nullptr;
    // Pointing at the prompt must not pull the focus away from the answer box.
    const bool promptDuringQuestion = control == t.ui.Command2 && t.stato.cacciaInCorso;
    if (pushButton && !promptDuringQuestion)
        control->setFocus();
    showHand(control, openHand, scale);
}

} // namespace quizzolo
