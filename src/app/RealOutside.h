#pragma once

#include "common/Outside.h"

#include <QPointer>
#include <random>

class QWidget;

namespace quizzolo {

class SystemSteadyClock : public SteadyClock {
  public:
    double nowSeconds() const override;
};

// Waits sleep in the event loop until an event or a precise timer at the deadline.
class QtEventPump : public EventPump {
  public:
    explicit QtEventPump(const SteadyClock &clock) : clock_(clock) {}
    void processPendingEvents() override;
    void waitForEventsUntil(double deadlineSeconds) override;

  private:
    const SteadyClock &clock_;
};

// Seeded once from the clock, so every start asks different questions.
class ClockSeededRandom : public RandomSource {
  public:
    ClockSeededRandom();
    float next() override;

  private:
    std::mt19937 engine_;
};

class DesktopLinkOpener : public LinkOpener {
  public:
    void open(const QUrl &address) override;
};

class MessageBoxExitQuestion : public ExitQuestion {
  public:
    void setParentWindow(QWidget *window) { window_ = window; }
    bool confirmExit() override;

  private:
    QPointer<QWidget> window_;
};

// The coins built into the program, in the detail the window's scale needs.
class ResourcePictures : public PictureSource {
  public:
    QPixmap bitmap(int id) override;
    void setScale(double scale) { scale_ = scale; }

  private:
    double scale_ = 1;
};

// Silences the audio and leaves at once: no handler, pause or clip runs afterwards.
class ImmediateProgramEnd : public ProgramEnd {
  public:
    explicit ImmediateProgramEnd(ClipPlayer &clips) : clips_(clips) {}
    [[noreturn]] void endNow() override;

  private:
    ClipPlayer &clips_;
};

} // namespace quizzolo
