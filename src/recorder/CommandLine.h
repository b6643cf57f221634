#pragma once

#include <QStringList>
#include <optional>

namespace quizzolo::recorder {

// `--elenco` and `--importa NOME FILE`: the recorder without its window. Returns the
// exit status, or nullopt when the arguments ask for the window.
std::optional<int> runCommandLine(const QStringList &arguments, const QString &programFolder);

} // namespace quizzolo::recorder
