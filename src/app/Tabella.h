#pragma once

#include "app/board/ScaledLayout.h"
#include "engine/Controls.h"
#include "engine/Trainer.h"

#include <QPointer>
#include <QWidget>
#include <memory>

namespace quizzolo {

class NumberPad;

// The one window of the program: builds its controls, runs the load handler and
// routes every window event to its handler.
class Tabella : public QWidget {
    Q_OBJECT
  public:
    Tabella(Outside &outside, const QString &clipFolder, QWidget *parent = nullptr);
    ~Tabella() override;

    Trainer &trainer() { return *trainer_; }
    Controls &controls() { return controls_; }

    // Centres the window on the screen it will appear on.
    void centreOnScreen();

    // The board view: full screen, the whole designed window enlarged by one factor to
    // the screen's height (or width) and centred, a number pad in the margin beside it.
    // Switching shows the window.
    void setBoardView(bool on);
    bool boardView() const { return board_; }
    // 1 for the designed window, the enlargement in the board view.
    double scale() const { return layout_.scale(); }
    // The designed window inside this one, and the pad (shown in the board view only).
    QWidget *stage() const { return stage_; }
    NumberPad *pad() const { return pad_; }

  signals:
    void scaleChanged(double scale);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

  private:
    bool answerBoxEvent(QEvent *event);
    void pointerEvent(QWidget *control, QEvent *event);
    void connectHandlers();
    void setAccessibleTexts();
    void arrange();
    void padTapped(int key, const QString &text);
    void keepFocusAfterTouch(QWidget *now);
    void handBackFocus();

    Controls controls_;
    std::unique_ptr<Trainer> trainer_;
    QPointer<QWidget> pressedLink_; // where the left button went down
    ScaledLayout layout_;
    QWidget *stage_ = nullptr;
    NumberPad *pad_ = nullptr;
    bool board_ = false;
    bool touched_ = false; // the last input came from a finger, not a mouse or the keyboard
    bool fingerDown_ = false;
    QMetaObject::Connection focusFollow_;
};

} // namespace quizzolo
