#include "recorder/files/ClipStore.h"

#include "recorder/files/AudioFile.h"
#include "recorder/files/FileSafety.h"

#include <QDir>
#include <QFile>

namespace quizzolo::recorder {

VoiceFolders::Source ClipStore::source(const QString &clipName) const
{
    return folders_.source(fileNameOf(clipName));
}

QString ClipStore::playablePath(const QString &clipName) const
{
    return folders_.path(fileNameOf(clipName));
}

QString ClipStore::save(const QString &clipName, const ProcessedTake &take)
{
    if (!take.ok())
        return take.refusal;
    if (folders_.userFolder().isEmpty())
        return QStringLiteral("Non so dove salvare la tua voce: manca la cartella dei dati dell'utente.");
    const QByteArray wav = encodeClip(take.samples);
    if (wav.isEmpty())
        return QStringLiteral("Impossibile preparare il file audio della registrazione.");
    if (const QString error = replaceInFolder(folders_.userFolder(), fileNameOf(clipName), wav, sharing_);
        !error.isEmpty())
        return QStringLiteral("Impossibile salvare la voce. %1").arg(error);
    return {};
}

ProcessedTake ClipStore::import(const ClipEntry &clip, const QString &file)
{
    return accept(clip, readAudio(file, limitsOf(clip.role).maxSeconds));
}

ProcessedTake ClipStore::accept(const ClipEntry &clip, const AudioRead &read)
{
    if (!read.audio) {
        ProcessedTake refused;
        refused.refusal = read.refusal;
        return refused;
    }
    ProcessedTake take = processTake(*read.audio, clip.role, TakeSource::Imported);
    if (take.ok()) {
        if (const QString error = save(clip.name, take); !error.isEmpty())
            take.refusal = error;
    }
    return take;
}

QString ClipStore::restore(const QString &clipName)
{
    const QString path = folders_.userPath(fileNameOf(clipName));
    if (path.isEmpty() || !QFile::exists(path) || QFile::remove(path))
        return {};
    return QStringLiteral("Impossibile togliere %1.").arg(path);
}

QString sourceText(VoiceFolders::Source source)
{
    switch (source) {
    case VoiceFolders::Source::User: return QStringLiteral("la tua voce");
    case VoiceFolders::Source::School: return QStringLiteral("voce della scuola");
    case VoiceFolders::Source::Program: return QStringLiteral("voce di Quizzolo");
    case VoiceFolders::Source::Missing: return QStringLiteral("manca");
    }
    return {};
}

} // namespace quizzolo::recorder
