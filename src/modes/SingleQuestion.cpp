#include "modes/SingleQuestion.h"

#include "engine/Question.h"
#include "engine/Result.h"
#include "engine/Texts.h"
#include "engine/Timer1Control.h"
#include "engine/Trainer.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quizzolo {

void Command1_Click(Trainer &t)
{
    HandlerScope scope(t);
    t.ui.Timer1->setEnabled(false);
    t.stato.cacciaInCorso = false;
    t.ui.Command2->setText(texts::fammiVedere);
    t.ui.Text1->setReadOnly(true);
    t.ui.Command2->setVisible(false);
    nuovaOperazione(t, t.stato.fattore1, t.stato.fattore2);
    if (!t.stato.cacciaInCorso) {
        // A hunt question opened and answered during this one left its prompt and timer.
        t.ui.Timer1->setEnabled(false);
        t.ui.Command2->setText(texts::fammiVedere);
    }
    t.ui.Command1->setEnabled(false);
    t.ui.Command3->setEnabled(false);
    t.ui.Command2->setVisible(true);
    t.ui.command4->setEnabled(false);
    t.ui.Command5->setEnabled(false);
    t.ui.Image1->setVisible(false);
    t.ui.Image2->setVisible(false);
    t.ui.Image3->setVisible(false);
}

void Command2_Click(Trainer &t)
{
    HandlerScope scope(t);
    t.ui.Timer1->setEnabled(false);
    if (t.stato.cacciaInCorso) {
        t.fuori.clips.play(t.clips.dig(), PlayMode::Async);
        return;
    }
    t.ui.Text1->setReadOnly(true);
    diciRisultato(t, t.stato.risultato);
    if (t.stato.cacciaInCorso)
        return; // a hunt question opened while the result was spoken keeps its controls
    t.ui.Command1->setEnabled(true);
    t.ui.Command3->setEnabled(true);
    t.ui.Command2->setVisible(false);
    t.ui.command4->setEnabled(true);
    t.ui.Command5->setEnabled(true);
    t.ui.Image1->setVisible(false);
    t.ui.Image2->setVisible(false);
    t.ui.Image3->setVisible(false);
}

} // namespace quizzolo
