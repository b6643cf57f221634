#include "recorder/OutsideText.h"

#include <QLabel>

namespace quizzolo::recorder {

QLabel *plainLabel(QLabel *label)
{
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace quizzolo::recorder
