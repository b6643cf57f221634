#include "engine/StartUp.h"

#include "engine/Trainer.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace quizzolo {

void Form_Load(Trainer &t)
{
    t.stato.ritardoSecondi = 1;
    // The random source is seeded from the clock when it is made; nothing to do here.
    t.ui.Sel_Quizzolo[0]->setChecked(true);
    t.stato.tabellaScelta = 0;
    t.ui.Text1->setReadOnly(true);
    t.ui.Command2->setVisible(false);
}

void Sel_Quizzolo_Click(Trainer &t, int index)
{
    if (index >= 0 && index <= 9)
        t.stato.tabellaScelta = static_cast<std::int16_t>(index);
}

} // namespace quizzolo
