#pragma once

#include "recorder/imports/VoicePack.h"

namespace quizzolo::recorder {

// The school's voice, installed once by the administrator for every user of the computer.
// Every clip of the pack meets the same rules as an import, and is written as a plain file
// that everyone may read (0644, no link, no special bit, whatever the umask), in folders
// everyone may enter.

// Where it goes when no folder is given: the first school folder the trainer looks in.
QString defaultSchoolFolder();

PackResult installSchoolVoice(const QString &packFile, const QString &folder);

// Removes the clips from `folder`, and the folder when nothing else is left in it; the
// text says how many.
PackResult removeSchoolVoice(const QString &folder);

// The school folders that exist but that this user can't read: their clips are not heard.
QStringList unreadableSchoolFolders(const VoiceFolders &folders);

} // namespace quizzolo::recorder
