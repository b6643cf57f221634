#pragma once

#include <QStringList>
#include <optional>

namespace quizzolo::recorder {

// The recorder without its window: `--elenco`, `--importa NOME FILE`, `--importa-tutti
// FILE...` (by the files' names), `--esporta FILE` and `--importa-voce FILE` (the voice
// pack), `--guida` (where the guide is). Returns the exit status, or nullopt when the
// arguments ask for the window.
std::optional<int> runCommandLine(const QStringList &arguments, const QString &programFolder);

} // namespace quizzolo::recorder
