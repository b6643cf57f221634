#pragma once

#include <QWidget>
#include <array>

class QPushButton;

namespace quizzolo {

// The keys a child taps at the board instead of the keyboard on the teacher's desk:
// 1 to 9 and 0, one that deletes the last digit, and INVIO. A tap is handed on as the
// key press the keyboard would make. The keys never take the focus from the answer box.
class NumberPad : public QWidget {
    Q_OBJECT
  public:
    explicit NumberPad(QWidget *parent);

    // Two columns of square keys `keyPx` wide, `gapPx` apart, captions in `font`.
    void arrange(int keyPx, int gapPx, const QFont &font);
    static QSize sizeFor(int keyPx, int gapPx);

    // "0".."9", "cancella", "invio".
    QPushButton *key(const QString &name) const;

  signals:
    // A Qt key code and the text the keyboard gives it ("7", "\b", "\r").
    void tapped(int key, const QString &text);

  private:
    std::array<QPushButton *, 12> keys_{};
};

} // namespace quizzolo
