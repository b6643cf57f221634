#pragma once

#include <QPointer>
#include <QRect>
#include <functional>
#include <vector>

class QWidget;

namespace quizzolo {

// Every control's design values in twips and points, applied at one scale: 1 is the
// designed 800 x 600 window (15 twips a pixel), 1.8 fills a 1080-line screen. At 1 the
// pixels are exactly those of the design; any other scale rounds the same values.
class ScaledLayout {
  public:
    // Left, top, width and height in twips, within the control's container.
    void place(QWidget *w, QRect twips);
    // A font size in points (Arial, at 96 dpi).
    void font(QWidget *w, double points, bool bold, bool underline = false);
    // Anything else that follows the scale (drawn lines, line pitches).
    void follow(QWidget *w, std::function<void(double scale)> apply);

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
};

} // namespace quizzolo
