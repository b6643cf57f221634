#include "app/SdlClipPlayer.h"
#include "app/TabellaLayout.h"
#include "recorder/CommandLine.h"
#include "recorder/RecorderWindow.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

bool displayNamed()
{
    for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"}) {
        if (const char *v = std::getenv(name); v && *v)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    using namespace quizzolo;
    using namespace quizzolo::recorder;
    std::optional<int> status;
    {
        QCoreApplication cli(argc, argv);
        status = runCommandLine(QCoreApplication::arguments(), QCoreApplication::applicationDirPath());
    }
    if (status)
        return *status;
    if (!displayNamed()) {
        std::fprintf(stderr, "quizzolo-registra: nessun display grafico disponibile: impossibile aprire la finestra "
                             "(senza finestra: --elenco, --importa NOME FILE)\n");
        return 2;
    }
    QApplication app(argc, argv);
    prepareApplication();
    QCoreApplication::setApplicationName(QStringLiteral("quizzolo-registra"));
    QApplication::setDesktopFileName(QStringLiteral("quizzolo-registra"));
    QFont font = QApplication::font();
    font.setFamily(QStringLiteral("Arial")); // as the trainer: Liberation Sans where Arial is missing
    QApplication::setFont(font);

    ClipStore store(VoiceFolders(VoiceFolders::defaultUserFolder(), QCoreApplication::applicationDirPath()));
    SdlClipPlayer player; // first: it picks the audio driver that works
    Microphone microphone;
    RecorderWindow window(store, player, microphone);
    window.show();
    return QApplication::exec();
}
