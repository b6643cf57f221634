#include "recorder/CommandLine.h"

#include "recorder/ClipStore.h"

#include <QTextStream>
#include <cstdio>

namespace quizzolo::recorder {

namespace {

const char *const program = "quizzolo-registra";

void say(std::FILE *to, const QString &line)
{
    std::fprintf(to, "%s: %s\n", program, line.toLocal8Bit().constData());
}

int list(const ClipStore &store)
{
    QTextStream out(stdout);
    for (const ClipEntry &c : clipCatalogue())
        out << c.name.leftJustified(12) << ' ' << ('"' + c.words + '"').leftJustified(46) << ' '
            << sourceText(store.source(c.name)) << '\n';
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

} // namespace

std::optional<int> runCommandLine(const QStringList &arguments, const QString &programFolder)
{
    const QStringList args = arguments.mid(1);
    // Qt's own options (-platform, -style, -session ...) leave the window to open.
    if (args.isEmpty() || !args[0].startsWith(QLatin1String("--")))
        return std::nullopt;
    ClipStore store(VoiceFolders(VoiceFolders::defaultUserFolder(), programFolder));
    if (args == QStringList{QStringLiteral("--elenco")})
        return list(store);
    if (args.size() == 3 && args[0] == QLatin1String("--importa"))
        return import(store, args[1], args[2]);
    say(stderr, QStringLiteral("uso: quizzolo-registra [--elenco | --importa NOME FILE]"));
    return 64;
}

} // namespace quizzolo::recorder
