#pragma once

#include <QString>

namespace quizzolo {

// Whether a window can open: a display is named and, for a local X display, its
// server is there (its socket in `socketFolder`). Without this check Qt aborts with a
// raw plugin error.
bool displayAvailable(const QString &socketFolder = QStringLiteral("/tmp/.X11-unix"));

// Says in Italian, on stderr, that the window can't open; the exit status to return (2).
int refuseWithoutDisplay(const char *program, const char *hint = nullptr);

// Settings both programs' windows share: name, version, a style that honours coloured
// button faces, Arial's metric twin where Arial is missing, Qt's own texts in the
// desktop's language. Needs the QApplication.
void prepareDesktopApplication(const QString &name);

} // namespace quizzolo
