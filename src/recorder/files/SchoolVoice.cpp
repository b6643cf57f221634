#include "recorder/files/SchoolVoice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace quizzolo::recorder {

namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// The folder, and the "quizzolo" folder above it, open to every user.
QString openToEveryone(const QString &folder)
{
    for (const QString &f : {folder, QFileInfo(folder).path()}) {
        if (f != folder && QFileInfo(f).fileName() != QLatin1String("quizzolo"))
            continue;
        struct stat info {};
        if (stat(native(f).constData(), &info) != 0)
            return causeOf(errno, f);
        if (!S_ISDIR(info.st_mode))
            return causeOf(ENOTDIR, f);
        if ((info.st_mode & 0555) != 0555 && chmod(native(f).constData(), (info.st_mode & 07777) | 0555) != 0)
            return causeOf(errno, f);
    }
    return {};
}

} // namespace

QString defaultSchoolFolder()
{
    const QStringList folders = VoiceFolders::defaultSchoolFolders();
    return folders.isEmpty() ? QStringLiteral("/usr/local/share/quizzolo/voce") : folders.first();
}

PackResult installSchoolVoice(const QString &packFile, const QString &folder)
{
    ClipStore school(VoiceFolders(folder, QString()), Sharing::Everyone);
    PackResult result = importVoicePack(school, packFile);
    if (result.clips == 0)
        return result;
    const QString shown = QDir::toNativeSeparators(folder);
    if (const QString error = openToEveryone(folder); !error.isEmpty()) {
        result.ok = false;
        result.text =
            QStringLiteral("Voci scritte in %1, ma gli altri utenti non possono leggerle. %2").arg(shown, error);
        return result;
    }
    result.text = QStringLiteral("Voce della scuola: installate %1 voci in %2: %3. Ogni utente del computer le sente "
                                 "al posto di quelle di Quizzolo (controlla con «quizzolo-registra --elenco»).")
                      .arg(result.clips)
                      .arg(shown, result.changed.join(QStringLiteral(", ")));
    if (!result.refused.isEmpty())
        result.text += QStringLiteral(" Non usati: %1").arg(result.refused.join(QLatin1Char(' ')));
    return result;
}

PackResult removeSchoolVoice(const QString &folder)
{
    PackResult result;
    result.ok = true;
    for (const ClipEntry &c : clipCatalogue()) {
        const QString path = QDir(folder).filePath(fileNameOf(c.name));
        struct stat info {};
        if (lstat(native(path).constData(), &info) != 0)
            continue;
        // Only what stands at a clip's name: a file or a link, never what a link points to.
        if ((!S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode)) || unlink(native(path).constData()) != 0) {
            result.refused << (S_ISDIR(info.st_mode) ? causeOf(EISDIR, path) : causeOf(errno, path));
            result.ok = false;
        } else {
            result.changed << c.name;
        }
    }
    result.clips = static_cast<int>(result.changed.size());
    if (rmdir(native(folder).constData()) == 0 &&
        QFileInfo(QFileInfo(folder).path()).fileName() == QLatin1String("quizzolo"))
        rmdir(native(QFileInfo(folder).path()).constData());
    result.text = QStringLiteral("Voce della scuola: tolte %1 voci da %2.")
                      .arg(result.clips)
                      .arg(QDir::toNativeSeparators(folder));
    if (!result.refused.isEmpty())
        result.text += QStringLiteral(" Non tolte: %1").arg(result.refused.join(QLatin1Char(' ')));
    return result;
}

QStringList unreadableSchoolFolders(const VoiceFolders &folders)
{
    QStringList unreadable;
    for (const QString &f : folders.schoolFolders()) {
        // Entered as the trainer does to reach a clip: the filesystem's own check for this user.
        struct stat info {};
        if (stat(native(f + QStringLiteral("/.")).constData(), &info) != 0 && errno == EACCES)
            unreadable << f;
    }
    return unreadable;
}

} // namespace quizzolo::recorder
