#include "common/DesktopStartUp.h"
#include "common/sound/SdlClipPlayer.h"
#include "recorder/Microphone.h"
#include "recorder/files/FileSafety.h"
#include "recorder/imports/CommandLine.h"
#include "recorder/window/RecorderWindow.h"

#include <QApplication>
#include <csignal>
#include <optional>

int main(int argc, char *argv[])
{
    using namespace quizzolo;
    using namespace quizzolo::recorder;
    // A file-size limit makes a write fail with its own message instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    removeStaleTemporaries(VoiceFolders::defaultUserFolder());
    std::optional<int> status;
    {
        QCoreApplication cli(argc, argv);
        status = runCommandLine(QCoreApplication::arguments(), QCoreApplication::applicationDirPath());
    }
    if (status)
        return *status;
    if (!displayAvailable())
        return refuseWithoutDisplay("quizzolo-registra",
                                    "senza finestra: --elenco, --importa NOME FILE, --importa-tutti FILE..., "
                                    "--esporta FILE, --importa-voce FILE");
    QApplication app(argc, argv);
    prepareDesktopApplication(QStringLiteral("quizzolo-registra"));
    QApplication::setDesktopFileName(QStringLiteral("quizzolo-registra"));
    QFont font = QApplication::font();
    font.setFamily(QStringLiteral("Arial")); // as the trainer: Liberation Sans where Arial is missing
    QApplication::setFont(font);

    ClipStore store(VoiceFolders::ofThisSystem(QCoreApplication::applicationDirPath()));
    SdlClipPlayer player;
    Microphone microphone(player.driverName());
    ElapsedClock clock;
    DesktopOpener opener;
    QtRecorderDialogs dialogs;
    RecorderWindow window(store, {player, microphone, clock, opener, dialogs});
    dialogs.setParentWindow(&window);
    window.show();
    return QApplication::exec();
}
