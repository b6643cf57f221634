#include "app/ExitAndCredits.h"

#include "app/TabellaLayout.h"
#include "engine/Trainer.h"

#include <QLabel>
#include <QUrl>

namespace quizzolo {

void fine_Click(Trainer &t)
{
    HandlerScope scope(t);
    if (t.fuori.exitQuestion.confirmExit())
        t.fuori.end.endNow();
}

void Label7_Click(Trainer &t)
{
    t.fuori.links.open(QUrl(QStringLiteral("mailto:") + credits().email));
}

void Label8_Click(Trainer &t)
{
    t.fuori.links.open(QUrl(QStringLiteral("https://") + credits().web));
}

void linkClicked(Trainer &t, QWidget *label)
{
    if (label == t.ui.Label7)
        Label7_Click(t);
    else if (label == t.ui.Label8)
        Label8_Click(t);
}

} // namespace quizzolo
