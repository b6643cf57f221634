#include "recorder/VoicePack.h"

#include "recorder/BatchImport.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <cstring>

namespace quizzolo::recorder {

namespace {

constexpr int block = 512;
constexpr qint64 largestPack = 64 * 1024 * 1024; // 35 clips are a few MB at most
const char *const readMe = "Voce di Quizzolo, registrata con quizzolo-registra.\n"
                           "Per usarla su un altro computer: Registra la tua voce > Importa una voce...\n"
                           "oppure nel terminale: quizzolo-registra --importa-voce QUESTO_FILE\n"
                           "Ogni file .wav prende il posto della voce con lo stesso nome.\n";

void putOctal(char *field, int width, qint64 value)
{
    const QByteArray digits = QByteArray::number(value, 8).rightJustified(width - 1, '0');
    std::memcpy(field, digits.constData(), static_cast<std::size_t>(width - 1));
    field[width - 1] = '\0';
}

qint64 octal(const char *field, int width, bool *ok)
{
    const QByteArray text = QByteArray(field, width).split('\0').first().trimmed();
    return text.isEmpty() ? (*ok = false, 0) : text.toLongLong(ok, 8);
}

unsigned checksum(const char *header)
{
    unsigned sum = 0;
    for (int i = 0; i < block; ++i)
        sum += (i >= 148 && i < 156) ? ' ' : static_cast<unsigned char>(header[i]);
    return sum;
}

} // namespace

QByteArray tarArchive(const TarMembers &members)
{
    QByteArray tar;
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    for (const auto &[name, data] : members) {
        char h[block] = {};
        std::memcpy(h, name.toUtf8().left(99).constData(), static_cast<std::size_t>(name.toUtf8().left(99).size()));
        putOctal(h + 100, 8, 0644);
        putOctal(h + 108, 8, 0);
        putOctal(h + 116, 8, 0);
        putOctal(h + 124, 12, data.size());
        putOctal(h + 136, 12, now);
        h[156] = '0';
        std::memcpy(h + 257, "ustar", 6);
        std::memcpy(h + 263, "00", 2);
        putOctal(h + 148, 7, checksum(h));
        h[155] = ' ';
        tar.append(h, block);
        tar.append(data);
        tar.append(QByteArray((block - data.size() % block) % block, '\0'));
    }
    tar.append(QByteArray(2 * block, '\0'));
    return tar;
}

std::optional<TarMembers> readTar(const QByteArray &archive, QString *why, QStringList *skipped)
{
    TarMembers members;
    qint64 at = 0;
    while (at + block <= archive.size()) {
        const char *h = archive.constData() + at;
        if (std::all_of(h, h + block, [](char c) { return c == '\0'; }))
            return members;
        bool sizeOk = false, sumOk = false;
        const qint64 size = octal(h + 124, 12, &sizeOk);
        if (std::memcmp(h + 257, "ustar", 5) != 0 || octal(h + 148, 8, &sumOk) != checksum(h) || !sumOk || !sizeOk ||
            size < 0 || at + block + size > archive.size()) {
            *why = at == 0 ? QStringLiteral("non è un file di voce esportato da Quizzolo (un archivio tar)")
                           : QStringLiteral("il file è danneggiato o troncato");
            return std::nullopt;
        }
        QByteArray name = QByteArray(h, 100).split('\0').first();
        if (const QByteArray prefix = QByteArray(h + 345, 155).split('\0').first(); !prefix.isEmpty())
            name = prefix + '/' + name;
        if (h[156] == '0' || h[156] == '\0')
            members.emplace_back(QString::fromUtf8(name), archive.mid(at + block, size));
        else if (h[156] != '5' && h[156] != 'x' && h[156] != 'g') // folders and extended headers say nothing
            *skipped << QString::fromUtf8(name);
        at += block + (size + block - 1) / block * block;
    }
    *why = QStringLiteral("il file è troncato");
    return std::nullopt;
}

PackResult exportVoicePack(const ClipStore &store, const QString &packFile)
{
    PackResult result;
    TarMembers members{{QStringLiteral("LEGGIMI.txt"), QByteArray(readMe)}};
    for (const ClipEntry &c : clipCatalogue()) {
        if (store.source(c.name) != VoiceFolders::Source::User)
            continue;
        const QString path = store.folders().userPath(fileNameOf(c.name));
        QFile f(path);
        const QFileInfo info(path);
        if (info.isSymLink() || !info.isFile() || info.size() > largestPack || !f.open(QIODevice::ReadOnly)) {
            result.refused << QStringLiteral("%1: non si può leggere").arg(fileNameOf(c.name));
            continue;
        }
        members.emplace_back(fileNameOf(c.name), f.readAll());
    }
    result.clips = static_cast<int>(members.size()) - 1;
    if (result.clips == 0) {
        result.text = QStringLiteral("Non c'è ancora nessuna tua registrazione da esportare.");
        return result;
    }
    const QByteArray tar = tarArchive(members);
    QSaveFile out(packFile);
    if (!out.open(QIODevice::WriteOnly) || out.write(tar) != tar.size() || !out.commit()) {
        result.text = QStringLiteral("Impossibile scrivere %1: controlla la cartella e lo spazio libero.")
                          .arg(QFileInfo(packFile).fileName());
        return result;
    }
    result.ok = true;
    result.text = QStringLiteral("Esportate %1 voci in %2: su un altro computer, «Importa una voce...».")
                      .arg(result.clips)
                      .arg(packFile);
    if (!result.refused.isEmpty())
        result.text += QStringLiteral(" Lasciate fuori: %1.").arg(result.refused.join(QStringLiteral("; ")));
    return result;
}

PackResult importVoicePack(ClipStore &store, const QString &packFile)
{
    PackResult result;
    const QFileInfo info(packFile);
    QFile f(packFile);
    QString why;
    std::optional<TarMembers> members;
    if (!info.exists())
        why = QStringLiteral("il file non c'è");
    else if (!info.isFile()) // a pipe or a device would block, a folder is no pack
        why = QStringLiteral("non è un file normale");
    else if (info.size() > largestPack)
        why = QStringLiteral("è troppo grande per una voce di Quizzolo");
    else if (!f.open(QIODevice::ReadOnly))
        why = QStringLiteral("non si può leggere");
    else
        members = readTar(f.readAll(), &why, &result.refused);
    for (QString &name : result.refused)
        name += QStringLiteral(": non è un file normale (un collegamento?).");
    QTemporaryDir scratch;
    if (members && !scratch.isValid()) {
        members.reset();
        why = QStringLiteral("manca lo spazio per i file temporanei");
    }
    if (!members) {
        result.text = QStringLiteral("Voce non importata: %1 %2. Nessuna modifica.").arg(info.fileName(), why);
        return result;
    }
    result.ok = true;
    QStringList done;
    for (const auto &[name, data] : *members) {
        const QString fileName = QFileInfo(name).fileName();
        if (fileName == QLatin1String("LEGGIMI.txt"))
            continue;
        const ClipEntry *clip = fileName.endsWith(QLatin1String(".wav")) ? findClip(fileName.chopped(4)) : nullptr;
        if (!clip || done.contains(clip->name)) {
            result.refused << QStringLiteral("%1: %2.").arg(name,
                                                            clip ? QStringLiteral("c'è già un file per questa voce")
                                                                 : QStringLiteral("non è una voce di Quizzolo"));
            continue;
        }
        // Through a private copy, so it meets every rule of an imported file.
        QFile copy(scratch.filePath(fileName));
        if (!copy.open(QIODevice::WriteOnly) || copy.write(data) != data.size()) {
            result.refused << QStringLiteral("%1: manca lo spazio per i file temporanei.").arg(name);
            continue;
        }
        copy.close();
        const ProcessedTake take = importClip(store, *clip, copy.fileName());
        copy.remove();
        if (take.ok())
            done << clip->name;
        else
            result.refused << QStringLiteral("%1: %2").arg(name, take.refusal);
    }
    result.clips = static_cast<int>(done.size());
    result.text = QStringLiteral("Importate %1 voci da %2").arg(result.clips).arg(info.fileName());
    result.text += done.isEmpty() ? QStringLiteral(".") : QStringLiteral(": %1.").arg(done.join(QStringLiteral(", ")));
    if (!result.refused.isEmpty())
        result.text += QStringLiteral(" Non usati: %1").arg(result.refused.join(QLatin1Char(' ')));
    return result;
}

} // namespace quizzolo::recorder
