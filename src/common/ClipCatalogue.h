#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace quizzolo {

// How long a clip may last depends on what the trainer does with it.
enum class ClipRole { Number, Prompt, Praise, Anthem };

struct ClipEntry {
    QString name;  // file name without .wav, e.g. "va5"
    QString group; // as the recorder lists it
    QString words; // what is said
    ClipRole role;
    bool followed = false; // another clip follows it at once ("sette per" + "otto")
    QStringList sentence;  // names played in a row the way the trainer joins them; empty when alone
};

struct RoleLimits {
    double maxSeconds;  // a longer clip is refused
    double warnSeconds; // a longer clip is kept with a warning; 0 for none
};

// Every clip the trainer can play, in the recorder's order, read from the list built
// into the program (resources/clips/catalogue.tsv).
const std::vector<ClipEntry> &clipCatalogue();
// nullptr for a name the trainer never plays.
const ClipEntry *findClip(const QString &name);
QString fileNameOf(const QString &clipName); // "va5" -> "va5.wav"
RoleLimits limitsOf(ClipRole role);
// The longest any clip may last, whatever its role.
double longestClipSeconds();
// Every clip is mono 16-bit PCM at this rate.
int clipRate();

// The clip that asks a factor: "voxa7" ("sette per") first, "va7" ("sette") second.
QString firstFactorClip(int factor);
QString secondFactorClip(int factor);
// The clips that say a product, in order: below 20 one whole number ("va18"), from
// 20 the tens and then the units unless they are 0 ("voxa50", "va6"; "voxa40").
QStringList productClips(int product);

} // namespace quizzolo
