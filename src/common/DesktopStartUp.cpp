#include "common/DesktopStartUp.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

namespace quizzolo {

namespace {

bool set(const char *name)
{
    const char *v = std::getenv(name);
    return v && *v;
}

// A local X display ":N" lives behind a socket.
bool localXServerRunning(const QByteArray &display, const QString &socketFolder)
{
    QByteArray number = display.startsWith("unix:") ? display.mid(5) : display.mid(1);
    if (const int dot = number.indexOf('.'); dot >= 0)
        number.truncate(dot);
    return QFileInfo::exists(socketFolder + QStringLiteral("/X") + QString::fromLatin1(number));
}

} // namespace

bool displayAvailable(const QString &socketFolder)
{
    if (set("QT_QPA_PLATFORM") || set("WAYLAND_DISPLAY"))
        return true;
    if (!set("DISPLAY"))
        return false;
    const QByteArray display = qgetenv("DISPLAY");
    const bool local = display.startsWith(':') || display.startsWith("unix:");
    return !local || localXServerRunning(display, socketFolder);
}

int refuseWithoutDisplay(const char *program, const char *hint)
{
    std::fprintf(stderr, "%s: nessun display grafico disponibile: impossibile aprire la finestra%s%s%s\n", program,
                 hint ? " (" : "", hint ? hint : "", hint ? ")" : "");
    return 2;
}

void prepareDesktopApplication(const QString &name)
{
    QCoreApplication::setApplicationName(name);
    QCoreApplication::setApplicationVersion(QStringLiteral(QUIZZOLO_VERSION));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // Liberation Sans has Arial's metrics, so captions wrap as designed.
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    // Yes and No, file dialogs and the like speak the desktop's language.
    auto *translator = new QTranslator(qApp);
    if (translator->load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

} // namespace quizzolo
