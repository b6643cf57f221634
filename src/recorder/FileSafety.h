#pragma once

#include <QByteArray>
#include <QString>

namespace quizzolo::recorder {

// Files the recorder touches: read only when regular, written only as regular files inside
// the voice folder, and every failure told in Italian for its real cause.

// Opens a regular file for reading, without hanging on a FIFO or a device. The descriptor
// (the caller closes it), or -1 with `refusal` saying why, naming the file.
int openRegularFile(const QString &path, QString &refusal);

// Puts `bytes` in place as `folder/fileName`, whole or not at all. Whatever entry is there
// (a symbolic link, a FIFO) is replaced, never followed; a folder in the way is refused.
// Creates the folder when missing. Empty on success, otherwise why, naming the path.
QString replaceInFolder(const QString &folder, const QString &fileName, const QByteArray &bytes);

// The cause of a system error on `path` in Italian ("il disco è pieno"...), never the
// system's own English text.
QString causeOf(int error, const QString &path);

} // namespace quizzolo::recorder
