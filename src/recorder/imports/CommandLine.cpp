#include "recorder/imports/CommandLine.h"

#include "common/TerminalText.h"
#include "recorder/RecorderOutside.h"
#include "recorder/files/ClipStore.h"
#include "recorder/files/SchoolVoice.h"
#include "recorder/imports/BatchImport.h"
#include "recorder/imports/VoicePack.h"

#include <QFileInfo>
#include <QTextStream>
#include <cstdio>

namespace quizzolo::recorder {

namespace {

const char *const program = "quizzolo-registra";

// Every line goes through here: outside names can't steer the terminal.
void say(std::FILE *to, const QString &line)
{
    std::fprintf(to, "%s: %s\n", program, terminalText(line).constData());
}

int list(const ClipStore &store)
{
    for (const QString &folder : unreadableSchoolFolders(store.folders()))
        say(stderr, QStringLiteral("la cartella della voce della scuola %1 c'è, ma non si può leggere: le sue voci non "
                                   "si sentono. L'amministratore può renderla leggibile a tutti.")
                        .arg(folder));
    QTextStream out(stdout);
    for (const ClipEntry &c : clipCatalogue()) {
        const VoiceFolders::Source source = store.source(c.name);
        QString from = sourceText(source);
        if (source != VoiceFolders::Source::Missing && !QFileInfo(store.playablePath(c.name)).isReadable())
            from += QStringLiteral(" (illeggibile: non si sente)");
        out << c.name.leftJustified(12) << ' ' << ('"' + c.words + '"').leftJustified(46) << ' ' << from << '\n';
    }
    return 0;
}

int import(ClipStore &store, const QString &name, const QString &file)
{
    const ClipEntry *clip = findClip(name);
    if (!clip) {
        say(stderr, QStringLiteral("\"%1\" non è il nome di una voce (vedi quizzolo-registra --elenco)").arg(name));
        return 2;
    }
    const ProcessedTake take = store.import(*clip, file);
    if (!take.ok()) {
        say(stderr, QStringLiteral("%1: %2 Nessuna modifica.").arg(clip->name, take.refusal));
        return 1;
    }
    say(stdout, QStringLiteral("%1 importata (%2 secondi): %3.%4")
                    .arg(clip->name, secondsText(take.seconds), store.folders().userPath(fileNameOf(clip->name)),
                         take.warningText()));
    return 0;
}

// Each file to the clip its name says; one line per file.
int importAll(ClipStore &store, const QStringList &files)
{
    const ImportPlan plan = planImport(files);
    int status = 0;
    for (const ImportOutcome &o : runImport(store, plan)) {
        if (o.take.ok()) {
            say(stdout, QStringLiteral("%1 importata da %2 (%3 secondi).%4")
                            .arg(o.clip, o.file, secondsText(o.take.seconds), o.take.warningText()));
        } else {
            say(stderr, QStringLiteral("%1: %2 Nessuna modifica.").arg(o.file, o.take.refusal));
            status = 1;
        }
    }
    for (const QString &file : plan.unmatched) {
        say(stderr, QStringLiteral("%1: il nome non è quello di una voce (va5.wav, voxa7.mp3, \"sette per.ogg\") "
                                   "o la voce è già in un altro file. Nessuna modifica.")
                        .arg(file));
        status = 1;
    }
    return status;
}

int pack(const PackResult &result)
{
    say(result.ok && result.refused.isEmpty() ? stdout : stderr, result.text);
    return result.ok && result.refused.isEmpty() ? 0 : 1;
}

int guide(const QString &programFolder)
{
    const QString path = guideFile(programFolder);
    if (path.isEmpty()) {
        say(stderr, QStringLiteral("la guida non è installata"));
        return 1;
    }
    QTextStream(stdout) << terminalText(path) << '\n';
    return 0;
}

} // namespace

std::optional<int> runCommandLine(const QStringList &arguments, const QString &programFolder)
{
    const QStringList args = arguments.mid(1);
    // Qt's own options (-platform, -style, -session ...) leave the window to open.
    if (args.isEmpty() || !args[0].startsWith(QLatin1String("--")))
        return std::nullopt;
    ClipStore store(VoiceFolders::ofThisSystem(programFolder));
    if (args == QStringList{QStringLiteral("--elenco")})
        return list(store);
    if (args.size() == 3 && args[0] == QLatin1String("--importa"))
        return import(store, args[1], args[2]);
    if (args.size() >= 2 && args[0] == QLatin1String("--importa-tutti"))
        return importAll(store, args.mid(1));
    if (args.size() == 2 && args[0] == QLatin1String("--esporta"))
        return pack(exportVoicePack(store, args[1]));
    if (args.size() == 2 && args[0] == QLatin1String("--importa-voce"))
        return pack(importVoicePack(store, args[1]));
    if (args == QStringList{QStringLiteral("--guida")})
        return guide(programFolder);
    if ((args.size() == 2 || args.size() == 3) && args[0] == QLatin1String("--voce-della-scuola"))
        return pack(installSchoolVoice(args[1], args.size() == 3 ? args[2] : defaultSchoolFolder()));
    if (args.size() <= 2 && args[0] == QLatin1String("--togli-voce-della-scuola"))
        return pack(removeSchoolVoice(args.size() == 2 ? args[1] : defaultSchoolFolder()));
    say(stderr, QStringLiteral("uso: quizzolo-registra [--elenco | --importa NOME FILE | --importa-tutti FILE... | "
                               "--esporta FILE | --importa-voce FILE | --guida | --voce-della-scuola FILE [CARTELLA] | "
                               "--togli-voce-della-scuola [CARTELLA]]"));
    return 64;
}

} // namespace quizzolo::recorder
