#include "app/RealOutside.h"

#include "app/ResourceLoader.h"
#include "engine/Texts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace quizzolo {

double SystemSteadyClock::nowSeconds() const
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void QtEventPump::processPendingEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventPump::waitForEventsUntil(double deadlineSeconds)
{
    const double left = deadlineSeconds - clock_.nowSeconds();
    if (left <= 0) {
        processPendingEvents();
        return;
    }
    // A precise timer wakes the loop at the deadline; coarse ones fire early.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(static_cast<int>(std::ceil(left * 1000.0)));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

ClockSeededRandom::ClockSeededRandom()
    : engine_(static_cast<std::mt19937::result_type>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                                                     std::chrono::system_clock::now().time_since_epoch().count()))
{
}

float ClockSeededRandom::next()
{
    // 24 random bits give every float in [0, 1) on the same grid, and never 1.
    return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f);
}

void DesktopLinkOpener::open(const QUrl &address)
{
    // The desktop's default program, started without a shell and without waiting.
    QDesktopServices::openUrl(address);
}

bool MessageBoxExitQuestion::confirmExit()
{
    QMessageBox box(QMessageBox::Question, texts::attenzione, texts::vuoiUscire, QMessageBox::Yes | QMessageBox::No,
                    window_);
    // The window's face, not the desktop's default sans, which may map to a monospace one.
    QFont face = box.font();
    face.setFamily(QStringLiteral("Arial"));
    box.setFont(face);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void ImmediateProgramEnd::endNow()
{
    clips_.silence();
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(0);
}

QPixmap ResourcePictures::bitmap(int id)
{
    if (scale_ == 1 || qGuiApp == nullptr)
        return loadBitmap(id);
    return loadBitmap(id, qGuiApp->devicePixelRatio() * scale_);
}

} // namespace quizzolo
