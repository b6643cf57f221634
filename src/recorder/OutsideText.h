#pragma once

#include <QString>

class QLabel;

namespace quizzolo::recorder {

// Text from outside (file names, pack members, paths, system errors) in the window; on a
// terminal it goes through common/TerminalText.

// A label that shows its text as it is: never as markup, whose pictures and links Qt
// would load.
QLabel *plainLabel(QLabel *label);

} // namespace quizzolo::recorder
