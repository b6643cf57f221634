#pragma once

#include <QObject>
#include <QTimer>

namespace quizzolo {

// The euro hunt's pacing timer with the semantics of a form timer: Enabled starts it
// counting from that moment, enabling it again while it runs changes nothing, and
// while enabled it ticks every interval.
class Timer1Control : public QObject {
    Q_OBJECT
  public:
    explicit Timer1Control(QObject *parent = nullptr);

    void setEnabled(bool enabled);
    bool isEnabled() const { return timer_.isActive(); }
    int interval() const { return timer_.interval(); }
    int remainingMs() const { return timer_.remainingTime(); }

  signals:
    void tick();

  private:
    QTimer timer_;
};

} // namespace quizzolo
