#include "recorder/window/FileActions.h"

#include "recorder/imports/BatchImport.h"
#include "recorder/imports/VoicePack.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>

namespace quizzolo::recorder {

namespace {

const QString folderKey = QStringLiteral("cartellaFile");

// ~/.config/quizzolo/quizzolo-registra.conf
QSettings settings()
{
    return QSettings(QStringLiteral("quizzolo"), QStringLiteral("quizzolo-registra"));
}

QString quoted(const QString &words)
{
    return QStringLiteral("«%1»").arg(words);
}

} // namespace

QString readablePath(const QString &path)
{
    const QString home = QDir::homePath();
    const QString shown = path.startsWith(home + QLatin1Char('/')) ? QLatin1Char('~') + path.mid(home.size()) : path;
    return QDir::toNativeSeparators(shown);
}

FileActions::FileActions(ClipStore &store, RecorderDialogs &dialogs, ExternalOpener &opener)
    : store_(store), dialogs_(dialogs), opener_(opener),
      lastFolder_(settings().value(folderKey, QDir::homePath()).toString())
{
}

QString FileActions::chosen(const QString &file)
{
    if (!file.isEmpty()) {
        lastFolder_ = QFileInfo(file).absolutePath();
        settings().setValue(folderKey, lastFolder_);
    }
    return file;
}

bool FileActions::importOne(const ClipEntry &clip)
{
    const QString file = chosen(dialogs_.openFile(QStringLiteral("Scegli il file con %1").arg(quoted(clip.words)),
                                                  lastFolder_, audioFileFilter()));
    if (file.isEmpty())
        return false;
    // A file named after another clip was probably meant for it.
    if (const ClipEntry *named = clipForFileName(file);
        named && named != &clip &&
        !dialogs_.confirm(
            QStringLiteral("Importa da file"),
            QStringLiteral("Il nome di %1 è quello di %2 %3, ma stai importando %4 %5. Importarlo lo "
                           "stesso come %5?")
                .arg(QFileInfo(file).fileName(), named->name, quoted(named->words), clip.name, quoted(clip.words))))
        return false;
    const ProcessedTake take = store_.import(clip, file);
    message_ = take.ok() ? QStringLiteral("Importata %1 da %2.%3")
                               .arg(quoted(clip.words), QFileInfo(file).fileName(), take.warningText())
                         : QStringLiteral("File non usato. %1 Resta la voce di prima.").arg(take.refusal);
    return true;
}

bool FileActions::importMany()
{
    const QStringList files = dialogs_.openFiles(
        QStringLiteral("Scegli i file delle voci (per nome: va5.wav, voxa7.mp3, «sette per».ogg...)"), lastFolder_,
        audioFileFilter());
    if (files.isEmpty())
        return false;
    chosen(files.first());
    const ImportPlan proposed = planImport(files);
    std::vector<ClipChoice> choices;
    for (const ImportPlan::Item &i : proposed.matched)
        choices.push_back({QFileInfo(i.file).fileName(), i.clip->name});
    for (const QString &f : proposed.unmatched)
        choices.push_back({QFileInfo(f).fileName(), QString()});
    const auto answer = dialogs_.chooseClips(
        QStringLiteral("Importa più file"),
        QStringLiteral("Questi file prendono il posto delle voci indicate. Per un file con un altro nome (per "
                       "esempio dal telefono) scegli tu la voce, oppure lascialo fuori."),
        choices);
    if (!answer)
        return false;
    QStringList ordered, clips;
    for (const ImportPlan::Item &i : proposed.matched)
        ordered << i.file;
    ordered << proposed.unmatched;
    for (const ClipChoice &c : *answer)
        clips << c.clip;
    const ImportPlan plan = planImport(ordered, clips);
    if (plan.matched.empty()) {
        message_ = QStringLiteral("Nessun file ha il nome di una voce né una voce scelta: chiamali come i file "
                                  "dell'elenco (va5.wav, voxa7.mp3), con le parole dette («sette per.ogg») o "
                                  "scegli la voce di ciascuno.");
        return true;
    }
    message_ = outcomeSummary(runImport(store_, plan), plan.unmatched);
    return true;
}

bool FileActions::exportVoice()
{
    const QString file = chosen(dialogs_.saveFile(QStringLiteral("Salva la tua voce in un file"),
                                                  lastFolder_ + QStringLiteral("/voce-quizzolo.zip"),
                                                  QStringLiteral("Voce di Quizzolo (*.zip);;Archivio tar (*.tar)")));
    if (file.isEmpty())
        return false;
    message_ = exportVoicePack(store_, file).text;
    return true;
}

bool FileActions::importVoice()
{
    const QString file = chosen(
        dialogs_.openFile(QStringLiteral("Scegli il file della voce"), lastFolder_,
                          QStringLiteral("Voce di Quizzolo (*.zip *.tar *.tar.gz *.tgz *.ZIP);;Tutti i file (*)")));
    if (file.isEmpty())
        return false;
    const QString name = QFileInfo(file).fileName();
    const PackContents contents = readPack(file);
    if (!contents.why.isEmpty()) {
        message_ = importPackContents(store_, name, contents).text;
        return true;
    }
    std::vector<ClipChoice> choices;
    for (const PackMember &m : contents.members) {
        if (const ClipEntry *clip = clipForMember(m.name); !isReadMe(m.name))
            choices.push_back({m.name, clip ? clip->name : QString()});
    }
    const auto answer = dialogs_.chooseClips(
        QStringLiteral("Importa una voce"),
        QStringLiteral("Le voci del file %1 prendono il posto delle tue registrazioni indicate. Per un file con un "
                       "altro nome scegli tu la voce, oppure lascialo fuori.")
            .arg(name),
        choices);
    if (!answer)
        return false;
    QMap<QString, QString> assigned;
    for (const ClipChoice &c : *answer)
        assigned.insert(c.file, c.clip);
    const QString title = QStringLiteral("Importo la voce da %1").arg(name);
    const PackResult result = importPackContents(
        store_, name, contents, [&](int done, int total) { return dialogs_.progress(title, done, total); }, assigned);
    dialogs_.progress(title, 1, 1);
    message_ = result.text;
    return true;
}

void FileActions::openGuide()
{
    const QString guide = guideFile(store_.folders().programFolder());
    if (guide.isEmpty()) {
        message_ = QStringLiteral("La guida non è installata insieme al programma: con il pacchetto di Quizzolo si "
                                  "trova in /usr/share/doc/quizzolo/guida-voce.md.");
        return;
    }
    if (opener_.open(QUrl::fromLocalFile(guide))) {
        message_ = QStringLiteral("Apro la guida: %1").arg(readablePath(guide));
        return;
    }
    // No desktop program for it (a bare session): shown by the program itself.
    QFile text(guide);
    if (text.size() < 1024 * 1024 && text.open(QIODevice::ReadOnly))
        dialogs_.showDocument(QStringLiteral("Guida - Registra la tua voce"), QString::fromUtf8(text.readAll()));
    message_ = QStringLiteral("La guida è aperta in una finestra a parte; il file è %1").arg(readablePath(guide));
}

void FileActions::openFolder()
{
    const QString folder = store_.folders().userFolder();
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        message_ =
            QStringLiteral("La cartella della tua voce non c'è e non si può creare: %1").arg(readablePath(folder));
        return;
    }
    message_ = opener_.open(QUrl::fromLocalFile(folder))
                   ? QStringLiteral("Apro la cartella della tua voce: %1").arg(readablePath(folder))
                   : QStringLiteral("Nessun programma ha aperto la cartella: la trovi in %1").arg(readablePath(folder));
}

} // namespace quizzolo::recorder
