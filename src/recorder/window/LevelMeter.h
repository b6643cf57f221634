#pragma once

#include "recorder/takes/SpeechEnd.h"

#include <QWidget>

namespace quizzolo::recorder {

// The microphone's level on a scale from meterFloorDb to 0 dBFS, over the three zones of
// levelZone() in colour, named underneath: troppo basso, bene, troppo forte.
class LevelMeter : public QWidget {
    Q_OBJECT
  public:
    explicit LevelMeter(QWidget *parent = nullptr);

    // The peak of the latest sound; the bar falls back slowly so a word can be read.
    void showPeak(double peakDb);
    void clear();
    double level() const { return level_; }
    LevelZone zone() const { return levelZone(level_); }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    int xOf(double db, const QRect &bar) const;
    double level_ = -100;
};

QString zoneName(LevelZone zone); // "troppo basso", "bene", "troppo forte"

} // namespace quizzolo::recorder
