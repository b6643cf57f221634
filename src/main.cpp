#include "app/RealOutside.h"
#include "app/SdlClipPlayer.h"
#include "app/Tabella.h"
#include "app/TabellaLayout.h"
#include "app/VoiceFolders.h"

#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>

namespace {

bool set(const char *name)
{
    const char *v = std::getenv(name);
    return v && *v;
}

// A local X display ":N" lives behind a socket; without it Qt would abort with a raw
// plugin error, so say it plainly instead.
bool localXServerRunning(const QByteArray &display)
{
    QByteArray number = display.startsWith("unix:") ? display.mid(5) : display.mid(1);
    if (const int dot = number.indexOf('.'); dot >= 0)
        number.truncate(dot);
    return QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X") + QString::fromLatin1(number));
}

bool displayAvailable()
{
    if (set("QT_QPA_PLATFORM") || set("WAYLAND_DISPLAY"))
        return true;
    if (!set("DISPLAY"))
        return false;
    const QByteArray display = qgetenv("DISPLAY");
    const bool local = display.startsWith(':') || display.startsWith("unix:");
    return !local || localXServerRunning(display);
}

} // namespace

int main(int argc, char *argv[])
{
    if (!displayAvailable()) {
        std::fprintf(stderr, "quizzolo: nessun display grafico disponibile: impossibile aprire la finestra\n");
        return 2;
    }
    QApplication app(argc, argv);
    using namespace quizzolo;
    prepareApplication();
    SystemSteadyClock clock;
    QtEventPump pump(clock);
    SdlClipPlayer device;
    VoiceFirstPlayer clips(device,
                           VoiceFolders(VoiceFolders::defaultUserFolder(), QCoreApplication::applicationDirPath()));
    ClockSeededRandom random;
    DesktopLinkOpener links;
    MessageBoxExitQuestion exitQuestion;
    ImmediateProgramEnd end(clips);
    Outside outside{clock, pump, clips, random, links, exitQuestion, end};

    Tabella window(outside, QCoreApplication::applicationDirPath());
    exitQuestion.setParentWindow(&window);
    window.centreOnScreen();
    window.show();
    window.centreOnScreen(); // again, now that the frame size is known
    return QApplication::exec();
}
