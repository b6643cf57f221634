#pragma once

#include <QPointer>
#include <QProxyStyle>
#include <QRect>
#include <functional>
#include <vector>

class QWidget;

namespace quizzolo {

// The application's style with the marks the style draws at a fixed size (the round mark
// of an option, the arrows of a scroll bar) enlarged by the scale.
class ScaledMarks : public QProxyStyle {
  public:
    ScaledMarks();
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override;
    double scale = 1;
};

// Every control's layout values in twips and points, applied at one scale: 1 is the
// designed 800 x 600 window (15 twips a pixel), 1.8 fills a 1080-line screen. At 1 the
// pixels are exactly those of the layout; any other scale rounds the same values.
class ScaledLayout {
  public:
    // Left, top, width and height in twips, within the control's container.
    void place(QWidget *w, QRect twips);
    // A font size in points (Arial, at 96 dpi).
    void font(QWidget *w, double points, bool bold, bool underline = false);
    // Anything else that follows the scale (drawn lines, line pitches).
    void follow(QWidget *w, std::function<void(double scale)> apply);
    // Its style's marks too (only above 1: the designed window keeps the style's own).
    void marks(QWidget *w);

    void apply(double scale);
    double scale() const { return scale_; }

    static int pixels(double twips, double scale);

  private:
    struct Entry {
        QPointer<QWidget> widget;
        std::function<void(double)> apply;
    };
    std::vector<Entry> entries_;
    double scale_ = 1;
    QPointer<ScaledMarks> marks_; // owned by the window, so it outlives the controls using it
};

} // namespace quizzolo
