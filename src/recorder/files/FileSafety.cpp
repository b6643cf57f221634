#include "recorder/files/FileSafety.h"

#include "common/RegularFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
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
// A shared folder (the school's voice) is readable by everyone whatever the umask.
int makeFolders(const QString &path, Sharing sharing)
{
    struct stat info {};
    if (stat(native(path).constData(), &info) == 0)
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    const QString parent = QFileInfo(path).path();
    if (parent != path) {
        if (const int error = makeFolders(parent, sharing))
            return error;
    }
    if (mkdir(native(path).constData(), 0777) != 0)
        return errno == EEXIST ? 0 : errno;
    return sharing == Sharing::Everyone && chmod(native(path).constData(), 0755) != 0 ? errno : 0;
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
    case EFBIG: return QStringLiteral("%1 supera la dimensione massima permessa per un file.").arg(p);
    case EIO: return QStringLiteral("Errore di lettura o scrittura del disco con %1.").arg(p);
    case ENAMETOOLONG: return QStringLiteral("Il nome %1 è troppo lungo.").arg(p);
    case EMFILE:
    case ENFILE:
    case ENOMEM: return QStringLiteral("Il sistema non ha abbastanza risorse per usare %1: riprova.").arg(p);
    case EMLINK: return QStringLiteral("La cartella di %1 ha già troppe voci dentro di sé.").arg(p);
    case EBUSY:
    case ETXTBSY: return QStringLiteral("%1 è in uso da un altro programma: chiudilo e riprova.").arg(p);
    case EAGAIN:
    case EINTR: return QStringLiteral("%1 non è pronto in questo momento: riprova.").arg(p);
    case ESTALE:
    case ENOTCONN:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ETIMEDOUT:
        return QStringLiteral("La cartella di rete di %1 non risponde: controlla la rete e riprova.").arg(p);
    case ENXIO:
    case ENODEV: return QStringLiteral("Il disco di %1 non è più collegato.").arg(p);
    case EXDEV: return QStringLiteral("%1 sta su un altro disco: non si può spostare lì.").arg(p);
    case EEXIST:
    case ENOTEMPTY: return QStringLiteral("Al posto di %1 c'è già qualcos'altro.").arg(p);
    case EOVERFLOW: return QStringLiteral("%1 è troppo grande per essere letto.").arg(p);
    case EINVAL:
    case EOPNOTSUPP: return QStringLiteral("Il disco di %1 non permette questa operazione.").arg(p);
    default: return QStringLiteral("Il sistema non è riuscito a usare %1 (errore %2): riprova.").arg(p).arg(error);
    }
}

int openRegularFile(const QString &path, QString &refusal, qint64 *size)
{
    const int fd = quizzolo::openRegularFile(path, size);
    if (fd < 0)
        refusal = errno == EINVAL
                      ? QStringLiteral("%1 non è un file normale (forse una pipe o un dispositivo).").arg(shown(path))
                      : causeOf(errno, path);
    return fd;
}

QString writeFileSafely(const QString &path, const QByteArray &bytes, Sharing sharing)
{
    const QFileInfo where(path);
    const QString folder = where.path(), fileName = where.fileName();
    if (fileName.isEmpty() || fileName == QLatin1String(".") || fileName == QLatin1String(".."))
        return QStringLiteral("%1 è una cartella: scrivi anche il nome del file.").arg(shown(path));
    if (const int error = makeFolders(folder, sharing))
        return causeOf(error, folder);
    struct stat there {};
    if (lstat(native(path).constData(), &there) == 0) {
        if (S_ISDIR(there.st_mode))
            return QStringLiteral("%1 è una cartella: spostala o rinominala, poi riprova.").arg(shown(path));
        // A link, a FIFO or a device stays as it is: what it stands for is not ours to replace.
        if (!S_ISREG(there.st_mode))
            return QStringLiteral("%1 non è un file normale (un collegamento, una pipe o un dispositivo): scegli un "
                                  "altro nome.")
                .arg(shown(path));
    } else if (errno != ENOENT) {
        return causeOf(errno, path);
    }
    // A new file of our own beside the target, renamed over it only when written whole:
    // rename replaces the entry itself, so nothing there is ever followed or written into.
    QByteArray temporary = native(QDir(folder).filePath(QStringLiteral(".%1.XXXXXX").arg(fileName)));
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return causeOf(errno, folder);
    const bool written = fchmod(fd, 0644) == 0 && writeAll(fd, bytes) && fsync(fd) == 0;
    const int writeError = errno;
    const bool closed = close(fd) == 0;
    const int error = !written                                           ? writeError
                      : !closed                                          ? errno
                      : rename(temporary.constData(), native(path)) == 0 ? 0
                                                                         : errno;
    if (error == 0)
        return {};
    unlink(temporary.constData());
    return causeOf(error, error == ENOSPC || error == EDQUOT ? folder : path);
}

QString replaceInFolder(const QString &folder, const QString &fileName, const QByteArray &bytes, Sharing sharing)
{
    const QString target = QDir(folder).filePath(fileName);
    struct stat there {};
    // In the voice folder, whatever stands at a clip's name is ours to replace, links included.
    if (lstat(native(target).constData(), &there) == 0 && !S_ISDIR(there.st_mode) && !S_ISREG(there.st_mode) &&
        unlink(native(target).constData()) != 0)
        return causeOf(errno, target);
    return writeFileSafely(target, bytes, sharing);
}

void removeStaleTemporaries(const QString &folder)
{
    // What a killed save left behind: ".va5.wav.Ab12Cd", an hour old or more.
    static const QRegularExpression temporary(QStringLiteral("^\\..+\\.[A-Za-z0-9]{6}$"));
    const QDateTime hourAgo = QDateTime::currentDateTime().addSecs(-3600);
    const QFileInfoList entries =
        folder.isEmpty() ? QFileInfoList() : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo &e : entries) {
        if (temporary.match(e.fileName()).hasMatch() && e.lastModified() < hourAgo)
            unlink(native(e.filePath()).constData());
    }
    // Scratch folders of older versions in the temporary folder, ours only.
    static const QRegularExpression scratch(QStringLiteral("^quizzolo-registra-[A-Za-z0-9]{6}$"));
    const QFileInfoList scratches =
        QDir(QDir::tempPath()).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
    for (const QFileInfo &s : scratches) {
        struct stat info {};
        if (scratch.match(s.fileName()).hasMatch() && s.lastModified() < hourAgo &&
            lstat(native(s.filePath()).constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid())
            QDir(s.filePath()).removeRecursively();
    }
}

} // namespace quizzolo::recorder
