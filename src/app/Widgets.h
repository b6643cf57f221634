#pragma once

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>
#include <QWidget>

namespace quizzolo {

// A push button whose caption wraps at word boundaries and stays centred, as the
// long captions of the sequence buttons need.
class CaptionButton : public QPushButton {
    Q_OBJECT
  public:
    using QPushButton::QPushButton;

    // A solid coloured face inside the usual bevel, as the green buttons have.
    void setFaceColor(const QColor &color);

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    QColor face_;
};

// The credit sentence: opaque, word-wrapped, with its lines a fixed pitch apart so
// that the author's name and the web address fall exactly under their links.
class CreditText : public QLabel {
    Q_OBJECT
  public:
    CreditText(const QString &text, double linePitchPx, QWidget *parent);

    void setLinePitch(double px)
    {
        pitch_ = px;
        update();
    }

    // The wrapped lines and the top of each, as painted.
    QStringList lines() const;
    int lineTop(int index) const;

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    double pitch_;
};

// A horizontal scroll bar whose Right and Left keys move the value toward the right
// and the left end, as on the desktop the window is modelled on; Qt's scroll bars run
// those two keys backwards. Up, Down, Page Up, Page Down, Home and End stay as Qt has them.
class PauseSlider : public QScrollBar {
    Q_OBJECT
  public:
    explicit PauseSlider(QWidget *parent) : QScrollBar(Qt::Horizontal, parent) {}

  protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// A straight line drawn between two points of its parent, with round ends; it takes
// no clicks and paints nothing else.
class LineWidget : public QWidget {
    Q_OBJECT
  public:
    explicit LineWidget(QWidget *parent);
    void setEnds(QPoint from, QPoint to, int widthPx);

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    QPoint from_;
    QPoint to_;
    int width_ = 1;
};

} // namespace quizzolo
