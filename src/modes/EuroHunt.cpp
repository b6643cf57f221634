#include "modes/EuroHunt.h"

#include "engine/Question.h"
#include "engine/Texts.h"
#include "engine/Timer1Control.h"
#include "engine/Trainer.h"
#include "modes/answers/RewardTable.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quizzolo {

void Command5_Click(Trainer &t)
{
    HandlerScope scope(t);
    t.ui.Timer1->setEnabled(false);
    if (t.stato.euroVinti == static_cast<float>(euroCount)) {
        // The last hunt was won: start again from nothing.
        t.ui.Image1->setVisible(false);
        t.ui.Image2->setVisible(false);
        t.ui.Image3->setVisible(false);
        t.ui.Image1->clear();
        t.ui.Image2->clear();
        t.ui.Image3->clear();
        t.stato.euroVinti = 0.0f;
    }
    t.stato.cacciaInCorso = true;
    t.ui.Command2->setText(texts::scriviRisultato);
    t.ui.Text1->setReadOnly(false);
    t.ui.Text1->setFocus(); // the child may type while the question is still spoken
    t.ui.Command1->setEnabled(false);
    t.ui.Command3->setEnabled(false);
    t.ui.Command2->setVisible(true);
    t.ui.command4->setEnabled(false);
    t.ui.Command5->setEnabled(false);
    nuovaOperazione(t, t.stato.fattore1, t.stato.fattore2);
}

void Timer1_Timer(Trainer &t)
{
    Command5_Click(t);
}

void Text1_MouseMove(Trainer &t)
{
    if (t.stato.cacciaInCorso)
        t.ui.Text1->setFocus();
}

} // namespace quizzolo
