#pragma once

#include <QString>
#include <QtGlobal>

namespace quizzolo {

// Opens a file for reading only when it is a regular file, without hanging on a FIFO or a
// device put in its place. The descriptor, blocking again (the caller closes it), and its
// size in `size`; or -1 with errno set: EISDIR for a folder, EINVAL for any other kind.
int openRegularFile(const QString &path, qint64 *size = nullptr);

} // namespace quizzolo
