#include "recorder/imports/VoicePack.h"

#include "recorder/files/AudioFile.h"
#include "recorder/files/FileSafety.h"
#include "recorder/imports/BatchImport.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <archive.h>
#include <archive_entry.h>
#include <memory>
#include <unistd.h>

namespace quizzolo::recorder {

namespace {

const char *const readMe = "Voce di Quizzolo, registrata con quizzolo-registra.\n"
                           "Per usarla su un altro computer: Registra la tua voce > Importa una voce...\n"
                           "oppure nel terminale: quizzolo-registra --importa-voce QUESTO_FILE\n"
                           "Ogni file .wav prende il posto della voce con lo stesso nome.\n";
const QString readMeName = QStringLiteral("LEGGIMI.txt");

struct ArchiveDeleter {
    void operator()(archive *a) const { archive_free(a); }
};
using Archive = std::unique_ptr<archive, ArchiveDeleter>;

QString entryName(archive_entry *entry)
{
    if (const char *utf8 = archive_entry_pathname_utf8(entry))
        return QString::fromUtf8(utf8);
    const char *bytes = archive_entry_pathname(entry);
    return bytes ? QString::fromLocal8Bit(bytes) : QString();
}

// Reads the entries of an opened archive into `contents`, within packRule.
void readEntries(archive *a, PackContents &contents)
{
    archive_entry *entry = nullptr;
    qint64 kept = 0;
    for (int entries = 0;; ++entries) {
        const int status = archive_read_next_header(a, &entry);
        if (status == ARCHIVE_EOF)
            return;
        if (status < ARCHIVE_WARN) {
            contents.why = entries == 0 ? QStringLiteral("non è un file di voce (un archivio zip o tar)")
                                        : QStringLiteral("il file è danneggiato o troncato");
            return;
        }
        if (entries == packRule::maxEntries) {
            contents.refused << QStringLiteral("contiene più di %1 elementi: gli altri sono stati ignorati")
                                    .arg(packRule::maxEntries);
            return;
        }
        const QString name = entryName(entry);
        const auto type = archive_entry_filetype(entry);
        if (type == AE_IFDIR)
            continue;
        if (type != AE_IFREG || archive_entry_hardlink(entry) || archive_entry_symlink(entry)) {
            contents.refused << QStringLiteral("%1: non è un file normale (un collegamento?).").arg(name);
            continue;
        }
        const la_int64_t declared = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : -1;
        if (declared > packRule::maxMemberBytes || kept + std::max<la_int64_t>(declared, 0) > packRule::maxKeptBytes) {
            contents.refused << QStringLiteral("%1: è troppo grande per una voce.").arg(name);
            continue;
        }
        QByteArray data;
        char block[64 * 1024];
        la_ssize_t n = 0;
        while ((n = archive_read_data(a, block, sizeof block)) > 0 && data.size() <= packRule::maxMemberBytes)
            data.append(block, static_cast<qsizetype>(n));
        if (n < 0) {
            contents.why = QStringLiteral("il file è danneggiato o troncato");
            return;
        }
        if (data.size() > packRule::maxMemberBytes || kept + data.size() > packRule::maxKeptBytes) {
            contents.refused << QStringLiteral("%1: è troppo grande per una voce.").arg(name);
            continue;
        }
        kept += data.size();
        contents.members.push_back({name, std::move(data)});
    }
}

Archive newReader()
{
    Archive a(archive_read_new());
    archive_read_support_filter_gzip(a.get());
    archive_read_support_format_tar(a.get());
    archive_read_support_format_zip(a.get());
    return a;
}

// `why` becomes a sentence naming the pack.
PackContents finished(PackContents contents, const QString &name)
{
    if (!contents.why.isEmpty()) {
        contents.members.clear(); // a damaged pack changes nothing
        contents.why = QStringLiteral("%1 %2.").arg(name, contents.why);
    }
    return contents;
}

la_ssize_t appendTo(archive *, void *bytes, const void *from, size_t n)
{
    static_cast<QByteArray *>(bytes)->append(static_cast<const char *>(from), static_cast<qsizetype>(n));
    return static_cast<la_ssize_t>(n);
}

} // namespace

PackContents readPack(const QString &packFile)
{
    PackContents contents;
    qint64 size = 0;
    const int fd = openRegularFile(packFile, contents.why, &size);
    if (fd < 0) // already a sentence naming it
        return contents;
    const Archive a = newReader();
    if (size > packRule::maxPackBytes)
        contents.why = QStringLiteral("è troppo grande per una voce di Quizzolo");
    else if (archive_read_open_fd(a.get(), fd, 64 * 1024) != ARCHIVE_OK)
        contents.why = QStringLiteral("non è un file di voce (un archivio zip o tar)");
    else
        readEntries(a.get(), contents);
    archive_read_close(a.get());
    close(fd);
    return finished(std::move(contents), QDir::toNativeSeparators(packFile));
}

PackContents readPackBytes(const QByteArray &bytes)
{
    PackContents contents;
    const Archive a = newReader();
    if (bytes.size() > packRule::maxPackBytes)
        contents.why = QStringLiteral("è troppo grande per una voce di Quizzolo");
    else if (archive_read_open_memory(a.get(), bytes.constData(), static_cast<size_t>(bytes.size())) != ARCHIVE_OK)
        contents.why = QStringLiteral("non è un file di voce (un archivio zip o tar)");
    else
        readEntries(a.get(), contents);
    return finished(std::move(contents), QStringLiteral("Il file"));
}

QByteArray packArchive(const std::vector<PackMember> &members, PackFormat format)
{
    QByteArray bytes;
    Archive a(archive_write_new());
    const bool ready = (format == PackFormat::Zip ? archive_write_set_format_zip(a.get())
                                                  : archive_write_set_format_pax_restricted(a.get())) == ARCHIVE_OK &&
                       archive_write_open(a.get(), &bytes, nullptr, appendTo, nullptr) == ARCHIVE_OK;
    if (!ready)
        return {};
    const auto now = static_cast<time_t>(QDateTime::currentSecsSinceEpoch());
    for (const PackMember &m : members) {
        const std::unique_ptr<archive_entry, void (*)(archive_entry *)> entry(archive_entry_new(), archive_entry_free);
        archive_entry_set_pathname_utf8(entry.get(), m.name.toUtf8().constData());
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_perm(entry.get(), 0644);
        archive_entry_set_size(entry.get(), m.data.size());
        archive_entry_set_mtime(entry.get(), now, 0);
        if (archive_write_header(a.get(), entry.get()) != ARCHIVE_OK ||
            archive_write_data(a.get(), m.data.constData(), static_cast<size_t>(m.data.size())) != m.data.size())
            return {};
    }
    return archive_write_close(a.get()) == ARCHIVE_OK ? bytes : QByteArray();
}

bool isReadMe(const QString &memberName)
{
    return QFileInfo(memberName).fileName().compare(readMeName, Qt::CaseInsensitive) == 0;
}

const ClipEntry *clipForMember(const QString &memberName)
{
    return isReadMe(memberName) ? nullptr : clipForFileName(QFileInfo(memberName).fileName());
}

PackResult exportVoicePack(const ClipStore &store, const QString &packFile)
{
    PackResult result;
    std::vector<PackMember> members{{readMeName, QByteArray(readMe)}};
    for (const ClipEntry &c : clipCatalogue()) {
        if (store.source(c.name) != VoiceFolders::Source::User)
            continue;
        QString why;
        qint64 size = 0;
        const int fd = openRegularFile(store.folders().userPath(fileNameOf(c.name)), why, &size);
        QByteArray data(static_cast<qsizetype>(std::clamp<qint64>(size, 0, packRule::maxMemberBytes)), '\0');
        const bool read = fd >= 0 && size <= packRule::maxMemberBytes && ::read(fd, data.data(), data.size()) == size;
        if (fd >= 0)
            close(fd);
        if (!read) {
            result.refused << QStringLiteral("%1: non si può leggere").arg(fileNameOf(c.name));
            continue;
        }
        members.push_back({fileNameOf(c.name), std::move(data)});
    }
    result.clips = static_cast<int>(members.size()) - 1;
    if (result.clips == 0) {
        result.text = QStringLiteral("Non c'è ancora nessuna tua registrazione da esportare.");
        return result;
    }
    const bool tar = packFile.endsWith(QLatin1String(".tar"), Qt::CaseInsensitive);
    const QByteArray bytes = packArchive(members, tar ? PackFormat::Tar : PackFormat::Zip);
    const QString where = QFileInfo(packFile).absoluteFilePath();
    const QString error =
        bytes.isEmpty() ? QStringLiteral("Impossibile preparare l'archivio.") : writeFileSafely(where, bytes);
    if (!error.isEmpty()) {
        result.text = QStringLiteral("Voce non esportata. %1").arg(error);
        return result;
    }
    result.ok = true;
    result.text = QStringLiteral("Esportate %1 voci in %2: su un altro computer, «Importa una voce...».")
                      .arg(result.clips)
                      .arg(QDir::toNativeSeparators(where));
    if (!result.refused.isEmpty())
        result.text += QStringLiteral(" Lasciate fuori: %1.").arg(result.refused.join(QStringLiteral("; ")));
    return result;
}

PackResult importVoicePack(ClipStore &store, const QString &packFile, const PackProgress &progress,
                           const QMap<QString, QString> &assigned)
{
    return importPackContents(store, QFileInfo(packFile).fileName(), readPack(packFile), progress, assigned);
}

namespace {

// "cause: a.wav, b.wav" once for each cause, however many members share it.
QString grouped(const std::vector<std::pair<QString, QString>> &refusals)
{
    QStringList causes;
    QMap<QString, QStringList> names;
    for (const auto &[name, cause] : refusals) {
        if (!names.contains(cause))
            causes << cause;
        names[cause] << name;
    }
    QStringList lines;
    for (const QString &cause : causes)
        lines << QStringLiteral("%1 (%2).").arg(cause, names[cause].join(QStringLiteral(", ")));
    return lines.join(QLatin1Char(' '));
}

QString withoutStop(QString text)
{
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

} // namespace

PackResult importPackContents(ClipStore &store, const QString &shownName, const PackContents &contents,
                              const PackProgress &progress, const QMap<QString, QString> &assigned)
{
    PackResult result;
    result.refused = contents.refused;
    if (!contents.why.isEmpty()) {
        result.text = QStringLiteral("Voce non importata. %1 Nessuna modifica.").arg(contents.why);
        return result;
    }
    result.ok = true;
    QElapsedTimer clock;
    clock.start();
    QMap<const ClipEntry *, int> tries;
    double decoded = 0;
    std::vector<std::pair<QString, QString>> refusals;
    const int total = static_cast<int>(contents.members.size());
    for (int i = 0; i < total; ++i) {
        const PackMember &m = contents.members[static_cast<std::size_t>(i)];
        if (progress && !progress(i, total)) {
            result.cancelled = true;
            break;
        }
        if (isReadMe(m.name))
            continue;
        const ClipEntry *clip = assigned.contains(m.name) ? findClip(assigned.value(m.name)) : clipForMember(m.name);
        const auto refuse = [&](const QString &why) {
            refusals.emplace_back(m.name, withoutStop(why));
            result.refused << QStringLiteral("%1: %2").arg(m.name, why);
        };
        if (!clip) {
            refuse(assigned.contains(m.name) ? QStringLiteral("lasciato fuori")
                                             : QStringLiteral("non è il nome di una voce di Quizzolo"));
        } else if (result.changed.contains(clip->name)) {
            refuse(QStringLiteral("c'è già un file per questa voce"));
        } else if (tries.value(clip) >= packRule::maxTriesPerClip) {
            refuse(QStringLiteral("troppi file per la stessa voce"));
        } else if (decoded > packRule::maxDecodedSeconds ||
                   clock.hasExpired(qint64(packRule::maxImportSeconds * 1000))) {
            refuse(QStringLiteral("non letto: c'è troppo suono da esaminare"));
        } else {
            ++tries[clip];
            const AudioRead read = decodeMedia({-1, m.data, m.data.size()}, m.name, limitsOf(clip->role).maxSeconds);
            decoded += read.decodedSeconds;
            const ProcessedTake take = store.accept(*clip, read);
            if (take.ok())
                result.changed << clip->name;
            else
                refuse(take.refusal);
        }
    }
    result.clips = static_cast<int>(result.changed.size());
    result.text =
        QStringLiteral("%1 %2 voci da %3")
            .arg(result.cancelled ? QStringLiteral("Importazione interrotta: importate") : QStringLiteral("Importate"))
            .arg(result.clips)
            .arg(shownName);
    result.text += result.changed.isEmpty() ? QStringLiteral(".")
                                            : QStringLiteral(": %1.").arg(result.changed.join(QStringLiteral(", ")));
    if (result.cancelled)
        result.text += QStringLiteral(" Le altre voci restano come prima.");
    if (!contents.refused.isEmpty())
        result.text += QStringLiteral(" Lasciati fuori: %1").arg(contents.refused.join(QLatin1Char(' ')));
    if (!refusals.empty())
        result.text += QStringLiteral(" Non usati: %1").arg(grouped(refusals));
    return result;
}

} // namespace quizzolo::recorder
