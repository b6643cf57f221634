#pragma once

// Everything a test of the window drives: the window, its controls, the handlers.
#include "app/ExitAndCredits.h"
#include "app/RealOutside.h"
#include "app/Tabella.h"
#include "app/TabellaLayout.h"
#include "doubles/Doubles.h"
#include "engine/Timer1Control.h"
#include "modes/EuroHunt.h"
#include "modes/PacedWait.h"
#include "modes/Sequences.h"
#include "modes/SingleQuestion.h"
#include "modes/answers/AnswerCheck.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>
#include <array>
#include <vector>

namespace quizzolo::test {

// The sequence buttons' own texts, as the child must read them.
namespace caption {
inline const QString ferma = QStringLiteral("Ferma le operazioni di seguito");
inline const QString senzaRisultato = QStringLiteral("Operazioni di seguito, senza il risultato");
inline const QString conRisultato = QStringLiteral("Operazioni di seguito, con il risultato");
} // namespace caption

// The real window and handlers, wired to the doubles.
struct Harness {
    FakeClock clock;
    ScriptedPump pump{clock};
    RecordingClipPlayer clips{clock};
    ScriptedRandom random;
    RecordingLinkOpener links;
    ScriptedExitQuestion exitQuestion;
    ThrowingProgramEnd end{clips};
    ResourcePictures realPictures;
    RememberingPictures pictures{realPictures};
    Outside outside{clock, pump, clips, random, links, exitQuestion, end, pictures};
    Tabella window{outside, QStringLiteral("/clips")};
    Trainer &t = window.trainer();
    Controls &ui = window.controls();

    // Shown and active, so that focus moves really happen.
    [[nodiscard]] bool showActive()
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
    // Controls by name ("tutte", "1".."9": the table options; "tabella": the window's area), and back.
    QMap<QString, QWidget *> namedControls() const;
    QWidget *control(const QString &name) const { return namedControls().value(name); }
    QString nameOf(QWidget *w) const { return namedControls().key(w, QStringLiteral("?")); }
    // Opens the hunt question a × b and answers it with ENTER.
    void answer(int a, int b, const QString &typed);
    // Clicks a sequence button that is not idle (when `now`): its sequence stops.
    void stopSequences(bool now = true)
    {
        for (auto [button, idle] :
             {std::pair{ui.Command3, caption::senzaRisultato}, {ui.command4, caption::conRisultato}})
            if (now && button->text() != idle)
                button->click();
    }
    // The same at every pump point from now on.
    void stopSequencesAtPumps()
    {
        pump.everyPump([this] { stopSequences(); });
    }
    // The reward count as a test sets it, between two steps.
    void setCount(float count) { t.stato.euroVinti = lastCount = count; }
    // Whether a reward place shows coin `id` (0: hidden and empty).
    bool shows(QLabel *place, int id) const;
    // What is inconsistent in the window, the trainer state and what was heard since the last check; empty when all
    // is well. `anywhere` leaves out what holds only when no handler runs.
    QString fault(bool anywhere = false) const;

  private:
    mutable float lastCount = 0;
    mutable std::size_t clipsChecked = 0;
};

// Key presses carrying each character, as X11 sends them: '\r' ENTER, '\b' Backspace, '\x7f' Delete.
void type(QWidget *w, const QString &text);
// The pointer moving over, or a button pressed on, a control.
void pointer(QWidget *w, QEvent::Type type = QEvent::MouseMove, Qt::MouseButton button = Qt::NoButton);
// A finger on a touch screen: down and up in the middle of `w` after `holdMs`.
void tap(QWidget *w, int holdMs = 0);
// The program's own cursor `id` (101 open hand, 102 closed hand) over `w`.
bool showsCursor(QWidget *w, int id);
QPointingDevice *touchScreen();

} // namespace quizzolo::test
