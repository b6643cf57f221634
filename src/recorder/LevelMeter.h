#pragma once

#include <QWidget>

namespace quizzolo::recorder {

enum class LevelZone { Quiet, Good, Loud };

// Which zone a peak in dBFS falls in: below -30 the voice would be refused or noisy once
// levelled; from -6 there is little room left before it clips.
LevelZone meterZone(double peakDb);

// The microphone's level on a scale from -60 to 0 dBFS, over three coloured zones named
// underneath: troppo basso, bene, troppo forte.
class LevelMeter : public QWidget {
    Q_OBJECT
  public:
    explicit LevelMeter(QWidget *parent = nullptr);

    // The peak of the latest sound; the bar falls back slowly so a word can be read.
    void showPeak(double peakDb);
    void clear();
    double level() const { return level_; }
    LevelZone zone() const { return meterZone(level_); }
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
