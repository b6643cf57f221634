#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace quizzolo::recorder {

// How long a take may last depends on what the trainer does with it.
enum class ClipRole { Number, Prompt, Praise, Anthem };

struct ClipEntry {
    QString name;  // file name without .wav, e.g. "va5"
    QString group; // as the recorder lists it
    QString words; // what to say
    ClipRole role;
    QStringList sentence; // names played in a row the way the trainer joins them; empty when alone
};

// The 35 clips of the trainer, in the recorder's order.
const std::vector<ClipEntry> &clipCatalogue();
// nullptr for a name the trainer never plays.
const ClipEntry *findClip(const QString &name);

QString fileNameOf(const QString &clipName); // "va5" -> "va5.wav"

struct RoleLimits {
    double maxSeconds;  // a longer take is refused
    double warnSeconds; // a longer take is kept with a warning; 0 for none
};
RoleLimits limitsOf(ClipRole role);

} // namespace quizzolo::recorder
