#include "modes/Sequences.h"

#include "engine/Question.h"
#include "engine/Result.h"
#include "engine/Texts.h"
#include "engine/Timer1Control.h"
#include "engine/Trainer.h"
#include "modes/PacedWait.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <cmath>

namespace quizzolo {

namespace {

enum class Kind { SenzaRisultato, ConRisultato };

// Steps both buttons take first, whether the click starts or stops a sequence.
void commonSteps(Trainer &t, Kind kind)
{
    t.ui.Timer1->setEnabled(false);
    t.stato.cacciaInCorso = false;
    t.ui.Text1->setReadOnly(true);
    t.ui.Image1->setVisible(false);
    t.ui.Image2->setVisible(false);
    t.ui.Image3->setVisible(false);
    t.ui.variaRitardo->setValue(1000); // runs variaRitardo_Change only if it moved
    t.stato.conRisultato = (kind == Kind::ConRisultato);
}

void startSenzaRisultato(Trainer &t)
{
    t.stato.fermaOperazioni = false;
    t.ui.FrameRitardo->setTitle(texts::ritardaOperazioni);
    t.ui.FrameRitardo->setVisible(true);
    t.ui.Command1->setEnabled(false);
    t.ui.Command2->setVisible(false);
    t.ui.command4->setEnabled(false);
    t.ui.Command5->setEnabled(false);
    t.ui.Command3->setText(texts::ferma);
    t.ui.variaRitardo->setFocus();
    operazioniDiSeguito(t);
}

void stopSenzaRisultato(Trainer &t)
{
    t.ui.Command3->setText(texts::senzaRisultato);
    t.stato.fermaOperazioni = true;
    t.ui.Command1->setEnabled(true);
    t.ui.FrameRitardo->setVisible(false);
    t.ui.Command2->setVisible(false);
    t.ui.command4->setEnabled(true);
    t.ui.Command5->setEnabled(true);
}

void startConRisultato(Trainer &t)
{
    t.stato.fermaOperazioni = false;
    t.ui.FrameRitardo->setTitle(texts::ritardaRisultato);
    t.ui.FrameRitardo->setVisible(true);
    t.ui.Command1->setEnabled(false);
    t.ui.Command3->setEnabled(false);
    t.ui.Command2->setVisible(false);
    t.ui.Command5->setEnabled(false);
    t.ui.command4->setText(texts::ferma);
    t.ui.variaRitardo->setFocus();
    operazioniDiSeguito(t);
}

void stopConRisultato(Trainer &t)
{
    t.ui.command4->setText(texts::conRisultato);
    t.stato.fermaOperazioni = true;
    t.ui.Command1->setEnabled(true);
    t.ui.FrameRitardo->setVisible(false);
    t.ui.Command3->setEnabled(true);
    t.ui.Command2->setVisible(false);
    t.ui.Command5->setEnabled(true);
}

} // namespace

void Command3_Click(Trainer &t)
{
    HandlerScope scope(t);
    commonSteps(t, Kind::SenzaRisultato);
    // The caption is the toggle's state.
    if (t.ui.Command3->text() == texts::senzaRisultato)
        startSenzaRisultato(t);
    else
        stopSenzaRisultato(t);
}

void command4_Click(Trainer &t)
{
    HandlerScope scope(t);
    commonSteps(t, Kind::ConRisultato);
    if (t.ui.command4->text() == texts::conRisultato)
        startConRisultato(t);
    else
        stopConRisultato(t);
}

void operazioniDiSeguito(Trainer &t)
{
    // Every flag is read afresh: the stop click runs nested inside the pumps below.
    while (!t.stato.fermaOperazioni) {
        nuovaOperazione(t, t.stato.fattore1, t.stato.fattore2);
        if (t.stato.conRisultato) {
            attendi(t);
            diciRisultato(t, t.stato.risultato);
            pausaDopoRisultato(t);
        } else {
            attendi(t);
        }
    }
}

int secondsForSliderValue(int value)
{
    return static_cast<int>(std::floor(static_cast<double>(value) / 500.0));
}

void variaRitardo_Change(Trainer &t)
{
    t.stato.ritardoSecondi = static_cast<std::int16_t>(secondsForSliderValue(t.ui.variaRitardo->value()));
}

} // namespace quizzolo
