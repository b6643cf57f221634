#include "engine/Question.h"

#include "engine/Trainer.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <cmath>

namespace quizzolo {

std::int16_t drawFactor(float r)
{
    const auto f = static_cast<int>(std::floor(static_cast<double>(r) * 9.0 + 1.0));
    return static_cast<std::int16_t>(std::clamp(f, 1, 9));
}

void nuovaOperazione(Trainer &t, std::int16_t &primo, std::int16_t &secondo)
{
    t.ui.Label1->setText(QString());
    t.ui.Label2->setText(QString());
    t.ui.Text1->setText(QString());

    // Two draws whatever the table, so every question consumes two random values.
    primo = drawFactor(t.fuori.random.next());
    secondo = drawFactor(t.fuori.random.next());
    if (t.stato.tabellaScelta != 0)
        primo = t.stato.tabellaScelta;
    // An answer scored at the pump below belongs to this question, not the last one.
    t.stato.risultato = static_cast<std::int16_t>(primo * secondo);

    t.ui.Label1->setText(numberText(primo));
    t.fuori.pump.processPendingEvents(); // paints the first factor before it is spoken
    t.fuori.clips.play(t.clips.voxa(primo), PlayMode::Sync);

    t.ui.Label1->setText(numberText(primo));
    t.ui.Label2->setText(numberText(secondo));
    t.fuori.clips.play(t.clips.va(secondo), PlayMode::Sync);

    t.stato.risultato = static_cast<std::int16_t>(primo * secondo);
    t.fuori.pump.processPendingEvents();
}

} // namespace quizzolo
