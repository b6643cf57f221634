#include "app/RealOutside.h"
#include "app/SdlClipPlayer.h"
#include "app/Tabella.h"
#include "app/TabellaLayout.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {

bool displayAvailable()
{
    const auto set = [](const char *name) {
        const char *v = std::getenv(name);
        return v && *v;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char *argv[])
{
    if (!displayAvailable()) {
        std::fprintf(stderr, "quizzolo: nessun display grafico (DISPLAY non impostato): impossibile aprire la finestra\n");
        return 2;
    }
    QApplication app(argc, argv);
    using namespace quizzolo;
    prepareApplication();
    SystemSteadyClock clock;
    QtEventPump pump(clock);
    SdlClipPlayer clips;
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
