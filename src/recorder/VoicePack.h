#pragma once

#include "recorder/ClipStore.h"

#include <QByteArray>
#include <optional>
#include <utility>
#include <vector>

namespace quizzolo::recorder {

// A teacher's whole voice as one file, to carry to the other computers of a lab: a plain
// POSIX tar (ustar) that any archive tool opens, holding a LEGGIMI.txt and one WAV per
// clip named as in the voice folder ("va5.wav").
struct PackResult {
    int clips = 0;       // exported, or imported
    QStringList refused; // "va5 (va5.wav): why", "strano.wav: why"
    QString text;        // for the user
    bool ok = false;     // the pack was written or read
};

// Only the user's own takes go in; the program's voice is on every computer already.
PackResult exportVoicePack(const ClipStore &store, const QString &packFile);
// Each member named as a clip goes through the same rules as an imported file and, when
// accepted, replaces the user's take; other members are left out. Only the voice folder's
// clips are written, whatever names or links the pack holds.
PackResult importVoicePack(ClipStore &store, const QString &packFile);

using TarMembers = std::vector<std::pair<QString, QByteArray>>;
QByteArray tarArchive(const TarMembers &members);
// The regular files of an archive by their names; nullopt with the reason when it is not
// a tar or is damaged. Links and devices are skipped, and named in skipped.
std::optional<TarMembers> readTar(const QByteArray &archive, QString *why, QStringList *skipped);

} // namespace quizzolo::recorder
