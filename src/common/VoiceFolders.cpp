#include "common/VoiceFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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

} // namespace

VoiceFolders::VoiceFolders(QString userFolder, QString programFolder)
    : user_(std::move(userFolder)), program_(std::move(programFolder))
{
}

QString VoiceFolders::defaultUserFolder()
{
    // Generic, not per application: the trainer and the recorder share it whatever
    // their application names are.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? QString() : data + QStringLiteral("/quizzolo/voce");
}

QString VoiceFolders::userPath(const QString &fileName) const
{
    return join(user_, fileName);
}

QString VoiceFolders::programPath(const QString &fileName) const
{
    return join(program_, fileName);
}

VoiceFolders::Source VoiceFolders::source(const QString &fileName) const
{
    if (isFile(userPath(fileName)))
        return Source::User;
    if (isFile(programPath(fileName)))
        return Source::Program;
    return Source::Missing;
}

QString VoiceFolders::path(const QString &fileName) const
{
    return source(fileName) == Source::User ? userPath(fileName) : programPath(fileName);
}

void VoiceFirstPlayer::play(const QString &path, PlayMode mode)
{
    const QString own = folders_.userPath(QFileInfo(path).fileName());
    inner_.play(isFile(own) ? own : path, mode);
}

} // namespace quizzolo
