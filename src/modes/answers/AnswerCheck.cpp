#include "modes/answers/AnswerCheck.h"

#include "engine/Timer1Control.h"
#include "engine/Trainer.h"
#include "modes/PacedWait.h"
#include "modes/answers/AnswerReading.h"
#include "modes/answers/RewardTable.h"

#include <QLineEdit>
#include <QPushButton>

namespace quizzolo {

namespace {

constexpr int enterCode = 13;
constexpr int highestAllowedCode = 65; // 'A': digits, signs, blanks and controls pass

void closingSteps(Trainer &t)
{
    t.stato.cacciaInCorso = false;
    t.ui.Text1->setReadOnly(true);
    t.ui.Command2->setVisible(false);
    t.ui.Command1->setEnabled(true);
    t.ui.Command3->setEnabled(true);
    t.ui.command4->setEnabled(true);
    t.ui.Command5->setEnabled(true);
    if (t.stato.euroVinti < static_cast<float>(euroCount))
        t.ui.Timer1->setEnabled(true);
}

void showReward(Trainer &t)
{
    const auto row = rewardRow(t.stato.euroVinti);
    if (!row)
        return;
    if (t.stato.euroVinti == static_cast<float>(euroCount)) {
        t.stato.ritardoSecondi = 1;
        attendi(t);
        applyRewardRow(t, *row);
        t.fuori.clips.play(t.clips.anthem(), PlayMode::Async);
        return;
    }
    applyRewardRow(t, *row);
}

void checkAnswer(Trainer &t)
{
    const QString answer = t.ui.Text1->text();
    if (answer.isEmpty())
        return;
    // Only an open question is scored, and only once: an ENTER between questions, or
    // a second one during the last second before the euro, would pay out again.
    if (!t.stato.cacciaInCorso || t.stato.rispostaInValutazione)
        return;
    t.stato.rispostaInValutazione = true;

    if (leggiRisposta(answer) == static_cast<double>(t.stato.risultato)) {
        t.fuori.clips.play(t.clips.esatto(), PlayMode::Async);
        t.stato.euroVinti += 1.0f;
    } else {
        t.fuori.clips.play(t.clips.ripeti(), PlayMode::Async);
        t.stato.euroVinti -= 1.0f;
        if (t.stato.euroVinti < 0.0f)
            t.stato.euroVinti = 0.0f;
    }
    showReward(t);
    closingSteps(t);
    t.stato.rispostaInValutazione = false;
}

} // namespace

int characterCode(const QString &typed)
{
    return typed.isEmpty() ? 0 : typed.front().unicode();
}

void Text1_KeyPress(Trainer &t, int &keyAscii)
{
    HandlerScope scope(t);
    if (keyAscii > highestAllowedCode) {
        keyAscii = 0;
        return;
    }
    if (keyAscii == enterCode)
        checkAnswer(t);
}

} // namespace quizzolo
