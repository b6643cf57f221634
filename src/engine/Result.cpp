#include "engine/Result.h"

#include "common/ClipCatalogue.h"
#include "engine/Trainer.h"

#include <QLineEdit>

namespace quizzolo {

void diciRisultato(Trainer &t, const std::int16_t &prodotto)
{
    // A hunt question opened meanwhile (a hunt click in the pause of a stopped
    // sequence): its answer is the child's to find.
    if (t.stato.cacciaInCorso)
        return;
    // Tens then units from 20 on; the units clip is followed by a pump point.
    const QStringList parti = productClips(prodotto);
    for (const QString &clip : parti)
        t.fuori.clips.play(t.clips.path(clip), PlayMode::Sync);
    if (parti.size() == 2)
        t.fuori.pump.processPendingEvents();
    if (!t.stato.cacciaInCorso)
        t.ui.Text1->setText(numberText(prodotto));
    t.fuori.pump.processPendingEvents();
}

} // namespace quizzolo
