#pragma once

#include <QString>

class QLabel;

namespace quizzolo::recorder {

// Text from outside (file names, pack members, paths, system errors) in the window; on a
// terminal it goes through common/TerminalText.

// A label that shows its text as it is (Qt::PlainText): never as markup, whose pictures and
// links Qt would load. Every label of the recorder is made by it, so none is missed when a
// text starts to carry a name from outside.
QLabel *plainLabel(QLabel *label);

} // namespace quizzolo::recorder
