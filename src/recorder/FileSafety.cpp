#include "recorder/FileSafety.h"

#include "common/RegularFile.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quizzolo::recorder {

namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Makes every missing folder of `path`; 0 or the error of the first that could not be made.
int makeFolders(const QString &path)
{
    struct stat info {};
    if (stat(native(path).constData(), &info) == 0)
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    const QString parent = QFileInfo(path).path();
    if (parent != path) {
        if (const int error = makeFolders(parent))
            return error;
    }
    return mkdir(native(path).constData(), 0777) == 0 || errno == EEXIST ? 0 : errno;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *from = bytes.constData();
    for (qint64 left = bytes.size(); left > 0;) {
        const ssize_t n = write(fd, from, static_cast<std::size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        from += n;
        left -= n;
    }
    return true;
}

} // namespace

QString causeOf(int error, const QString &path)
{
    const QString p = shown(path);
    switch (error) {
    case ENOENT: return QStringLiteral("%1 non esiste.").arg(p);
    case EACCES:
    case EPERM: return QStringLiteral("Non hai il permesso di usare %1.").arg(p);
    case EROFS: return QStringLiteral("%1 è su un disco di sola lettura.").arg(p);
    case ENOSPC:
    case EDQUOT: return QStringLiteral("Il disco di %1 è pieno: libera un po' di spazio e riprova.").arg(p);
    case EISDIR: return QStringLiteral("%1 è una cartella, non un file.").arg(p);
    case ENOTDIR: return QStringLiteral("Nel percorso di %1 c'è un file dove serve una cartella.").arg(p);
    case ELOOP: return QStringLiteral("%1 è un collegamento che gira in tondo.").arg(p);
    case ENAMETOOLONG: return QStringLiteral("Il nome %1 è troppo lungo.").arg(p);
    case EMFILE:
    case ENFILE:
    case ENOMEM: return QStringLiteral("Il sistema non ha abbastanza risorse per usare %1: riprova.").arg(p);
    default: return QStringLiteral("Errore del sistema numero %1 con %2.").arg(error).arg(p);
    }
}

int openRegularFile(const QString &path, QString &refusal)
{
    const int fd = quizzolo::openRegularFile(path);
    if (fd < 0)
        refusal = errno == EINVAL
                      ? QStringLiteral("%1 non è un file normale (forse una pipe o un dispositivo).").arg(shown(path))
                      : causeOf(errno, path);
    return fd;
}

QString replaceInFolder(const QString &folder, const QString &fileName, const QByteArray &bytes)
{
    if (const int error = makeFolders(folder))
        return causeOf(error, folder);
    const QString target = QDir(folder).filePath(fileName);
    struct stat there {};
    if (lstat(native(target).constData(), &there) == 0 && S_ISDIR(there.st_mode))
        return QStringLiteral("%1 è una cartella: spostala o rinominala, poi riprova.").arg(shown(target));
    // A new file of our own beside the clip, renamed over it only when written whole: rename
    // replaces the entry itself, so a link there is never followed.
    QByteArray temporary = native(QDir(folder).filePath(QStringLiteral(".%1.XXXXXX").arg(fileName)));
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return causeOf(errno, folder);
    const bool written = fchmod(fd, 0644) == 0 && writeAll(fd, bytes) && fsync(fd) == 0;
    const int writeError = errno;
    const bool closed = close(fd) == 0;
    const int error = !written                                             ? writeError
                      : !closed                                            ? errno
                      : rename(temporary.constData(), native(target)) == 0 ? 0
                                                                           : errno;
    if (error == 0)
        return {};
    unlink(temporary.constData());
    return causeOf(error, error == ENOSPC || error == EDQUOT ? folder : target);
}

} // namespace quizzolo::recorder
