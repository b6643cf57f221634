#pragma once

#include <QString>

class QLabel;

namespace quizzolo::recorder {

// Text from outside (file names, pack members, paths, system errors) as it may be shown.

// For a terminal: every control character, and the marks that reverse the direction of
// text, written as an escape ("\e", "\n", "\x07", "\u202e"), so that no name can move the
// cursor, clear the screen, retitle the window or forge a line of its own.
QString terminalText(const QString &text);

// A label that shows its text as it is: never as markup, whose pictures and links Qt
// would load.
QLabel *plainLabel(QLabel *label);

} // namespace quizzolo::recorder
