#include "engine/Result.h"

#include "engine/Trainer.h"

#include <QLineEdit>

namespace quizzolo {

void diciRisultato(Trainer &t, const std::int16_t &prodotto)
{
    // A hunt question opened meanwhile (a hunt click in the pause of a stopped
    // sequence): its answer is the child's to find.
    if (t.stato.cacciaInCorso)
        return;
    if (prodotto < 20) {
        t.fuori.clips.play(t.clips.va(prodotto), PlayMode::Sync);
    } else {
        const int decine = prodotto / 10 * 10;
        const int unita = prodotto - decine;
        t.fuori.clips.play(t.clips.voxa(decine), PlayMode::Sync);
        if (unita != 0) {
            t.fuori.clips.play(t.clips.va(unita), PlayMode::Sync);
            t.fuori.pump.processPendingEvents();
        }
    }
    if (!t.stato.cacciaInCorso)
        t.ui.Text1->setText(numberText(prodotto));
    t.fuori.pump.processPendingEvents();
}

} // namespace quizzolo
