#include "recorder/imports/BatchImport.h"

#include "recorder/files/AudioFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace quizzolo::recorder {

namespace {

// Lower case, no punctuation, single spaces: "Sette_per!" and "sette per" meet.
QString plain(const QString &text)
{
    QString s = text.toLower();
    s.replace(QRegularExpression(QStringLiteral("[^\\p{L}\\p{N}]+")), QStringLiteral(" "));
    return s.trimmed();
}

QString quoted(const QString &words)
{
    return QStringLiteral("«%1»").arg(words);
}

} // namespace

QString audioFileFilter()
{
    return QStringLiteral("File audio (*.wav *.flac *.ogg *.oga *.opus *.mp3 *.m4a *.mp4 *.aac *.amr *.3gp *.3gpp "
                          "*.WAV *.FLAC *.OGG *.OPUS *.MP3 *.M4A *.AAC *.AMR *.3GP);;Tutti i file (*)");
}

const ClipEntry *clipForFileName(const QString &file)
{
    const QString base = QFileInfo(file).completeBaseName();
    if (const ClipEntry *byName = findClip(base.toLower()))
        return byName;
    const QString said = plain(base);
    for (const ClipEntry &c : clipCatalogue()) {
        if (!said.isEmpty() && plain(c.words) == said)
            return &c;
    }
    return nullptr;
}

ImportPlan planImport(const QStringList &files, const QStringList &chosenClips)
{
    ImportPlan plan;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString &file = files[i];
        const ClipEntry *clip = i < chosenClips.size() ? findClip(chosenClips[i]) : clipForFileName(file);
        const bool taken = std::any_of(plan.matched.begin(), plan.matched.end(),
                                       [clip](const ImportPlan::Item &i) { return i.clip == clip; });
        if (clip && !taken)
            plan.matched.push_back({file, clip});
        else
            plan.unmatched << file;
    }
    const auto order = [](const ClipEntry *c) { return c - clipCatalogue().data(); };
    std::sort(plan.matched.begin(), plan.matched.end(),
              [&](const ImportPlan::Item &a, const ImportPlan::Item &b) { return order(a.clip) < order(b.clip); });
    return plan;
}

QString planText(const ImportPlan &plan)
{
    QStringList lines;
    for (const ImportPlan::Item &i : plan.matched)
        lines << QStringLiteral("%1 → %2 %3").arg(QFileInfo(i.file).fileName(), i.clip->name, quoted(i.clip->words));
    if (!plan.unmatched.isEmpty()) {
        QStringList names;
        for (const QString &f : plan.unmatched)
            names << QFileInfo(f).fileName();
        lines << QString()
              << QStringLiteral("Lasciati fuori (il nome non è quello di una voce, o la voce c'è già): %1")
                     .arg(names.join(QStringLiteral(", ")));
    }
    return lines.join(QLatin1Char('\n'));
}

std::vector<ImportOutcome> runImport(ClipStore &store, const ImportPlan &plan)
{
    std::vector<ImportOutcome> outcomes;
    for (const ImportPlan::Item &i : plan.matched) {
        const AudioRead read = readAudio(i.file, limitsOf(i.clip->role).maxSeconds);
        outcomes.push_back({i.clip->name, i.file, store.accept(*i.clip, read), read.notAudio});
    }
    return outcomes;
}

QString outcomeSummary(const std::vector<ImportOutcome> &outcomes, const QStringList &unmatched)
{
    QStringList done, refused, notAudio;
    for (const ImportOutcome &o : outcomes) {
        if (o.take.ok())
            done << o.clip;
        else if (o.notAudio) // one line for them all, however many
            notAudio << QFileInfo(o.file).fileName();
        else
            refused << QStringLiteral("%1: %2").arg(o.clip, o.take.refusal);
    }
    const auto total = static_cast<qsizetype>(outcomes.size()) + unmatched.size();
    QString text = QStringLiteral("Importate %1 voci su %2").arg(done.size()).arg(total);
    if (!done.isEmpty())
        text += QStringLiteral(": %1").arg(done.join(QStringLiteral(", ")));
    text += QLatin1Char('.');
    if (!refused.isEmpty())
        text += QStringLiteral(" Non usati, resta la voce di prima: %1").arg(refused.join(QLatin1Char(' ')));
    if (!notAudio.isEmpty())
        text +=
            QStringLiteral(" Non sono file audio che Quizzolo sa leggere (WAV, FLAC, Ogg, Opus, MP3, M4A, AAC, AMR, "
                           "3GP): %1.")
                .arg(notAudio.join(QStringLiteral(", ")));
    if (!unmatched.isEmpty()) {
        QStringList names;
        for (const QString &f : unmatched)
            names << QFileInfo(f).fileName();
        text += QStringLiteral(" Nome non riconosciuto: %1.").arg(names.join(QStringLiteral(", ")));
    }
    return text;
}

} // namespace quizzolo::recorder
