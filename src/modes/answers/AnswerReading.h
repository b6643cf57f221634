#pragma once

#include <QStringView>

namespace quizzolo {

// Reads a typed answer as a number, the forgiving way a child's answer deserves:
// blanks, tabs and line feeds are skipped anywhere; then an optional sign, digits with
// at most one '.', an optional exponent (E or D); or &H / &O with hexadecimal or octal
// digits. Reading stops at the first character that cannot continue the number, and a
// text that does not begin with a number reads as 0. The decimal point is '.' always.
double leggiRisposta(QStringView text);

} // namespace quizzolo
