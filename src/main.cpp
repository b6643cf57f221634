#include "app/RealOutside.h"
#include "app/Tabella.h"
#include "app/TabellaLayout.h"
#include "common/DesktopStartUp.h"
#include "common/VoiceFolders.h"
#include "common/sound/SdlClipPlayer.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (!quizzolo::displayAvailable())
        return quizzolo::refuseWithoutDisplay("quizzolo");
    QApplication app(argc, argv);
    using namespace quizzolo;
    prepareApplication();
    SystemSteadyClock clock;
    QtEventPump pump(clock);
    SdlClipPlayer device;
    VoiceFirstPlayer clips(device, VoiceFolders::ofThisSystem(QCoreApplication::applicationDirPath()));
    ClockSeededRandom random;
    DesktopLinkOpener links;
    MessageBoxExitQuestion exitQuestion;
    ImmediateProgramEnd end(clips);
    ResourcePictures pictures;
    Outside outside{clock, pump, clips, random, links, exitQuestion, end, pictures};

    Tabella window(outside, QCoreApplication::applicationDirPath());
    exitQuestion.setParentWindow(&window);
    QObject::connect(&window, &Tabella::scaleChanged, &window, [&pictures](double s) { pictures.setScale(s); });
    if (QCoreApplication::arguments().contains(QStringLiteral("--lavagna"))) {
        window.setBoardView(true); // at the classroom's whiteboard
        return QApplication::exec();
    }
    window.centreOnScreen();
    window.show();
    window.centreOnScreen(); // again, now that the frame size is known
    return QApplication::exec();
}
