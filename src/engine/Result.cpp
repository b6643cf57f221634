#include "engine/Result.h"

#include "engine/Trainer.h"

#include <QLineEdit>

namespace quizzolo {

void diciRisultato(Trainer &t, const std::int16_t &prodotto)
{
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
    t.ui.Text1->setText(numberText(prodotto));
    t.fuori.pump.processPendingEvents();
}

} // namespace quizzolo
