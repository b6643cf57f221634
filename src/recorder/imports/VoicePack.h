#pragma once

#include "recorder/files/ClipStore.h"

#include <QByteArray>
#include <QMap>
#include <functional>
#include <vector>

namespace quizzolo::recorder {

// A teacher's whole voice as one file, to carry to the other computers of a lab or send by
// e-mail: a .zip (or a .tar) holding a LEGGIMI.txt and one WAV per clip named as in the
// voice folder ("va5.wav"). Read and written through libarchive; a .zip, .tar or .tar.gz
// made by any tool is read, its members matched to clips by name without regard to case.
struct PackResult {
    int clips = 0;       // exported, or imported
    QStringList changed; // the clips replaced
    QStringList refused; // "va5.wav: why", "strano.wav: why"
    QString text;        // for the user
    bool ok = false;     // the pack was written or read
    bool cancelled = false;
};

// The limits of reading a pack: its size, its members, and the sound decoded from them.
namespace packRule {
constexpr qint64 maxPackBytes = 64 * 1024 * 1024;
constexpr qint64 maxMemberBytes = 16 * 1024 * 1024; // a 30 s anthem at 48 kHz stereo is 6 MB
constexpr qint64 maxKeptBytes = 64 * 1024 * 1024;   // all members kept in memory
constexpr int maxEntries = 200;
constexpr int maxTriesPerClip = 3;        // members for one clip, refused ones included
constexpr double maxDecodedSeconds = 300; // all members together
constexpr double maxImportSeconds = 120;  // wall time
} // namespace packRule

struct PackMember {
    QString name; // as in the pack
    QByteArray data;
};

// An archive's regular members, bounded by packRule. `why` is set when it is no pack or is
// damaged; `refused` names the members left out (links, devices, too big) and why.
struct PackContents {
    std::vector<PackMember> members;
    QStringList refused;
    QString why;
};
PackContents readPack(const QString &packFile);
PackContents readPackBytes(const QByteArray &bytes);

enum class PackFormat { Zip, Tar };
// The members as an archive of that format; empty when libarchive fails.
QByteArray packArchive(const std::vector<PackMember> &members, PackFormat format);

// Called before each member is imported, with how many are done of how many; false cancels.
using PackProgress = std::function<bool(int done, int total)>;

// Only the user's own takes go in; the program's voice is on every computer already.
// A name ending in .tar gives a tar, any other a zip.
PackResult exportVoicePack(const ClipStore &store, const QString &packFile);
// Each member named as a clip goes through the same rules as an imported file and, when
// accepted, replaces the clip in the store; other members are left out. `assigned` gives a
// clip to members whose names are no clip's (member name → clip name; empty: leave out).
PackResult importVoicePack(ClipStore &store, const QString &packFile, const PackProgress &progress = {},
                           const QMap<QString, QString> &assigned = {});
PackResult importPackContents(ClipStore &store, const QString &shownName, const PackContents &contents,
                              const PackProgress &progress = {}, const QMap<QString, QString> &assigned = {});

// The pack's own LEGGIMI.txt, which is no clip and no refusal.
bool isReadMe(const QString &memberName);
// The clip a member is for by its name ("VA5.wav", "sette per.m4a"); nullptr for none.
const ClipEntry *clipForMember(const QString &memberName);

} // namespace quizzolo::recorder
