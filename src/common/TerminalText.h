#pragma once

#include <QByteArray>
#include <QString>

namespace quizzolo {

// Outside text (a file name, a folder from the environment) made safe to print on a terminal:
// control characters are written as \xNN, so no name can move the cursor or change colours.
QByteArray terminalText(const QString &text);

} // namespace quizzolo
