#pragma once

#include "engine/Controls.h"
#include "engine/Trainer.h"

#include <QPointer>
#include <QWidget>
#include <memory>

namespace quizzolo {

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

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

  private:
    bool answerBoxEvent(QEvent *event);
    void pointerEvent(QWidget *control, QEvent *event);
    void connectHandlers();
    void setAccessibleTexts();

    Controls controls_;
    std::unique_ptr<Trainer> trainer_;
    QPointer<QWidget> pressedLink_; // where the left button went down
};

} // namespace quizzolo
