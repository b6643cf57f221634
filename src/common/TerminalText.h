#pragma once

#include <QByteArray>
#include <QString>

namespace quizzolo {

// Outside text (a file name, a pack's member, a folder from the environment, a system error)
// made safe to print on a terminal: every control character, and the marks that reverse the
// direction of text, written as an escape ("\e", "\n", "\x07", "\u202e"; a backslash as
// "\\"), so that no name can move the cursor, clear the screen, retitle the window or forge
// a line of its own.
QByteArray terminalText(const QString &text);

} // namespace quizzolo
