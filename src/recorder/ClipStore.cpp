#include "recorder/ClipStore.h"

#include "recorder/AudioFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

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
    if (!QDir().mkpath(folders_.userFolder()))
        return QStringLiteral("Impossibile creare la cartella della tua voce %1.").arg(folders_.userFolder());
    const QByteArray wav = encodeClip(take.samples);
    if (wav.isEmpty())
        return QStringLiteral("Impossibile preparare il file audio della registrazione.");
    // A temporary file beside the clip, renamed over it only when written whole.
    QSaveFile file(folders_.userPath(fileNameOf(clipName)));
    if (!file.open(QIODevice::WriteOnly) || file.write(wav) != wav.size() || !file.commit())
        return QStringLiteral("Impossibile salvare %1: %2").arg(file.fileName(), file.errorString());
    return {};
}

ProcessedTake ClipStore::import(const ClipEntry &clip, const QString &file)
{
    const std::optional<Audio> audio = readAudioFile(file);
    if (!audio) {
        ProcessedTake refused;
        refused.refusal = QStringLiteral("%1 non è un file audio leggibile (WAV, FLAC, Ogg o MP3).").arg(file);
        return refused;
    }
    ProcessedTake take = processTake(*audio, clip.role, TakeSource::Imported);
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
    case VoiceFolders::Source::Program: return QStringLiteral("voce di Quizzolo");
    case VoiceFolders::Source::Missing: return QStringLiteral("manca");
    }
    return {};
}

} // namespace quizzolo::recorder
