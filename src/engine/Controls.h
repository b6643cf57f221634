#pragma once

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;
class QWidget;

namespace quizzolo {

class Timer1Control;

// The window's controls that the trainer drives, by their given names. The window
// owns them; the engine and the modes only change their run-time properties.
struct Controls {
    QWidget *tabella = nullptr;
    Timer1Control *Timer1 = nullptr;
    QGroupBox *FrameRitardo = nullptr;
    QScrollBar *variaRitardo = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QWidget *Frame3 = nullptr;
    QPushButton *fine = nullptr;
    QPushButton *command4 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command5 = nullptr;
    QLabel *Image3 = nullptr;
    QLabel *Image2 = nullptr;
    QLabel *Image1 = nullptr;
    QWidget *Frame2 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    std::array<QWidget *, 4> lines{}; // Line1..Line4
    QWidget *Frame1 = nullptr;
    std::array<QRadioButton *, 10> Sel_Quizzolo{};
    QLabel *Label8 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label3 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command1 = nullptr;
};

} // namespace quizzolo
