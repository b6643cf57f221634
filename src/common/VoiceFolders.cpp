#include "common/VoiceFolders.h"

#include <QDir>
#include <QFileInfo>

namespace quizzolo {

namespace {

QString join(const QString &folder, const QString &fileName)
{
    return folder.isEmpty() ? QString() : QDir(folder).filePath(fileName);
}

bool isFile(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

const QString voiceFolder = QStringLiteral("/quizzolo/voce");

} // namespace

VoiceFolders::VoiceFolders(QString userFolder, QString programFolder, QStringList schoolFolders)
    : user_(std::move(userFolder)), program_(std::move(programFolder)), school_(std::move(schoolFolders))
{
}

VoiceFolders VoiceFolders::ofThisSystem(const QString &programFolder)
{
    return VoiceFolders(defaultUserFolder(), programFolder, defaultSchoolFolders());
}

QString VoiceFolders::defaultUserFolder()
{
    // Generic, not per application: the trainer and the recorder share it whatever their
    // application names are. As the XDG rules say, a relative XDG_DATA_HOME is ignored; a
    // home that is not absolute (an empty HOME) gives no folder rather than one under "/".
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (QDir::isAbsolutePath(dataHome))
        return QDir::cleanPath(dataHome + voiceFolder);
    const QString home = qEnvironmentVariable("HOME");
    return QDir::isAbsolutePath(home) ? QDir::cleanPath(home + QStringLiteral("/.local/share") + voiceFolder)
                                      : QString();
}

QStringList VoiceFolders::defaultSchoolFolders()
{
    QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/usr/local/share/:/usr/share/");
    QStringList folders;
    for (const QString &dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(dir)) // relative entries are ignored, as for XDG_DATA_HOME
            folders << QDir::cleanPath(dir + voiceFolder);
    }
    folders.removeDuplicates();
    return folders;
}

QString VoiceFolders::userPath(const QString &fileName) const
{
    return join(user_, fileName);
}

QString VoiceFolders::programPath(const QString &fileName) const
{
    return join(program_, fileName);
}

QString VoiceFolders::schoolPath(const QString &fileName) const
{
    for (const QString &folder : school_) {
        if (const QString path = join(folder, fileName); isFile(path))
            return path;
    }
    return {};
}

QStringList VoiceFolders::candidates(const QString &fileName) const
{
    QStringList found;
    for (const QString &folder : QStringList(user_) + school_) {
        if (const QString path = join(folder, fileName); isFile(path))
            found << path;
    }
    return found << programPath(fileName);
}

VoiceFolders::Source VoiceFolders::source(const QString &fileName) const
{
    if (isFile(userPath(fileName)))
        return Source::User;
    if (!schoolPath(fileName).isEmpty())
        return Source::School;
    if (isFile(programPath(fileName)))
        return Source::Program;
    return Source::Missing;
}

QString VoiceFolders::recordedPath(const QString &fileName) const
{
    if (const QString own = userPath(fileName); isFile(own))
        return own;
    return schoolPath(fileName);
}

QString VoiceFolders::path(const QString &fileName) const
{
    const QString recorded = recordedPath(fileName);
    return recorded.isEmpty() ? programPath(fileName) : recorded;
}

void VoiceFirstPlayer::play(const QString &path, PlayMode mode)
{
    QStringList candidates = folders_.candidates(QFileInfo(path).fileName());
    candidates.last() = path; // the trainer's own name for the program's clip
    inner_.playFirst(candidates, mode);
}

} // namespace quizzolo
