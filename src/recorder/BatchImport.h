#pragma once

#include "recorder/ClipStore.h"

#include <QStringList>
#include <vector>

namespace quizzolo::recorder {

// The file types the import dialogs offer; phone memos (.m4a) are shown so that choosing
// one gets the conversion tip instead of no file at all.
QString audioFileFilter();

// Phone memos in MP4/AAC (and other formats no library here reads): the reason and a way
// to convert, in Italian; empty for a file worth trying.
QString unreadableFormatTip(const QString &file);

// One file into one clip: the tip above, or ClipStore::import.
ProcessedTake importClip(ClipStore &store, const ClipEntry &clip, const QString &file);

// The clip a file is meant for, by its name: the clip's own ("va5.wav", "VOXA7.mp3") or
// the words said ("sette per.m4a", "cinque.ogg", "Benissimo.wav"); nullptr for none.
const ClipEntry *clipForFileName(const QString &file);

struct ImportPlan {
    struct Item {
        QString file;
        const ClipEntry *clip;
    };
    std::vector<Item> matched; // in the catalogue's order
    QStringList unmatched;     // files whose name is no clip's, or a clip already taken
};
ImportPlan planImport(const QStringList &files);

// The plan as lines to confirm: "va5.wav → va5 «cinque»", then what is left out.
QString planText(const ImportPlan &plan);

struct ImportOutcome {
    QString clip; // the clip's name
    QString file;
    ProcessedTake take;
};
std::vector<ImportOutcome> runImport(ClipStore &store, const ImportPlan &plan);

// "Importate 8 voci su 9. Non usati: ..." for the window.
QString outcomeSummary(const std::vector<ImportOutcome> &outcomes, const QStringList &unmatched);

} // namespace quizzolo::recorder
