#pragma once

#include <QByteArray>
#include <QString>

namespace quizzolo::recorder {

// Files the recorder touches: read only when regular, written only as regular files inside
// the voice folder, and every failure told in Italian for its real cause.

// Opens a regular file for reading, without hanging on a FIFO or a device. The descriptor
// (the caller closes it), or -1 with `refusal` saying why, naming the file.
int openRegularFile(const QString &path, QString &refusal, qint64 *size = nullptr);

// Who reads what is written: the user's own voice, or everyone (the school's voice).
enum class Sharing { Owner, Everyone };

// Writes `path` whole or not at all, as a plain 0644 file, through a temporary file renamed
// over it. Only an absent entry or a regular file is replaced: a link, a FIFO or a device is
// refused. Creates missing folders. Empty on success, otherwise why, naming the path.
QString writeFileSafely(const QString &path, const QByteArray &bytes, Sharing sharing = Sharing::Owner);

// Puts `bytes` in place as `folder/fileName`, whole or not at all. Whatever entry is there
// (a symbolic link, a FIFO) is replaced, never followed; a folder in the way is refused.
// Creates the folder when missing. Empty on success, otherwise why, naming the path.
QString replaceInFolder(const QString &folder, const QString &fileName, const QByteArray &bytes,
                        Sharing sharing = Sharing::Owner);

// Removes what interrupted saves left: old temporary files in the folder, old scratch
// folders of this user in the temporary folder.
void removeStaleTemporaries(const QString &folder);

// The cause of a system error on `path` in Italian ("il disco è pieno"...), never the
// system's own English text.
QString causeOf(int error, const QString &path);

} // namespace quizzolo::recorder
