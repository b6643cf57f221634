#pragma once

#include <QString>

// Thousands of sequence cycles and hunt questions on a clock that skips the pauses and a
// player that never waits: heap, resident memory and pause lateness at the start and at
// the end, printed as table rows. The clips in `clipFolder` are played on the real device.
void soak(const QString &clipFolder, int sequenceCycles, int huntQuestions);
