#pragma once

#include "recorder/files/ClipStore.h"

#include <QStringList>
#include <vector>

namespace quizzolo::recorder {

// The file types the import dialogs offer: every one the import reads.
QString audioFileFilter();

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
// Each file to the clip its name says, or to the one chosen for it ("" for none).
ImportPlan planImport(const QStringList &files, const QStringList &chosenClips = {});

// The plan as lines to confirm: "va5.wav → va5 «cinque»", then what is left out.
QString planText(const ImportPlan &plan);

struct ImportOutcome {
    QString clip; // the clip's name
    QString file;
    ProcessedTake take;
    bool notAudio = false; // no library here reads it as sound
};
std::vector<ImportOutcome> runImport(ClipStore &store, const ImportPlan &plan);

// "Importate 8 voci su 9. Non usati: ..." for the window.
QString outcomeSummary(const std::vector<ImportOutcome> &outcomes, const QStringList &unmatched);

} // namespace quizzolo::recorder
