#include "recorder/FileActions.h"

#include "recorder/BatchImport.h"
#include "recorder/VoicePack.h"

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
    const ProcessedTake take = importClip(store_, clip, file);
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
    const ImportPlan plan = planImport(files);
    if (plan.matched.empty()) {
        message_ = QStringLiteral("Nessun file ha il nome di una voce: chiamali come i file dell'elenco (va5.wav, "
                                  "voxa7.mp3) o con le parole dette («sette per.ogg»).");
        return true;
    }
    if (!dialogs_.confirm(QStringLiteral("Importa più file"),
                          QStringLiteral("Questi file prendono il posto delle voci indicate:\n\n%1\n\nImportarli?")
                              .arg(planText(plan))))
        return false;
    message_ = outcomeSummary(runImport(store_, plan), plan.unmatched);
    return true;
}

bool FileActions::exportVoice()
{
    const QString file = chosen(dialogs_.saveFile(QStringLiteral("Salva la tua voce in un file"),
                                                  lastFolder_ + QStringLiteral("/voce-quizzolo.tar"),
                                                  QStringLiteral("Voce di Quizzolo (*.tar)")));
    if (file.isEmpty())
        return false;
    message_ = exportVoicePack(store_, file).text;
    return true;
}

bool FileActions::importVoice()
{
    const QString file = chosen(dialogs_.openFile(QStringLiteral("Scegli il file della voce"), lastFolder_,
                                                  QStringLiteral("Voce di Quizzolo (*.tar);;Tutti i file (*)")));
    if (file.isEmpty() ||
        !dialogs_.confirm(QStringLiteral("Importa una voce"),
                          QStringLiteral("Le voci del file %1 prendono il posto delle tue registrazioni con lo "
                                         "stesso nome. Continuare?")
                              .arg(QFileInfo(file).fileName())))
        return false;
    message_ = importVoicePack(store_, file).text;
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
