#include "app/Tabella.h"

#include "app/ExitAndCredits.h"
#include "app/PointerFeedback.h"
#include "app/ResourceLoader.h"
#include "app/TabellaLayout.h"
#include "engine/StartUp.h"
#include "engine/Texts.h"
#include "engine/Timer1Control.h"
#include "modes/AnswerCheck.h"
#include "modes/EuroHunt.h"
#include "modes/Sequences.h"
#include "modes/SingleQuestion.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>

namespace quizzolo {

Tabella::Tabella(Outside &outside, const QString &clipFolder, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tabella"));
    setWindowTitle(texts::didascaliaFinestra);
    setWindowIcon(programIcon());
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(192, 255, 192));
    setPalette(p);
    setAutoFillBackground(true);
    setFixedSize(800, 600);

    controls_ = buildControls(this);
    trainer_ = std::make_unique<Trainer>(controls_, outside, ClipNames(clipFolder));
    setAccessibleTexts();
    connectHandlers();
    Form_Load(*trainer_);
}

Tabella::~Tabella() = default;

void Tabella::centreOnScreen()
{
    const QScreen *s = screen();
    if (!s)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(s->availableGeometry().center());
    move(frame.topLeft());
}

void Tabella::connectHandlers()
{
    Trainer &t = *trainer_;
    Controls &c = controls_;
    connect(c.Command1, &QPushButton::clicked, this, [&t] { Command1_Click(t); });
    connect(c.Command2, &QPushButton::clicked, this, [&t] { Command2_Click(t); });
    connect(c.Command3, &QPushButton::clicked, this, [&t] { Command3_Click(t); });
    connect(c.command4, &QPushButton::clicked, this, [&t] { command4_Click(t); });
    connect(c.Command5, &QPushButton::clicked, this, [&t] { Command5_Click(t); });
    connect(c.fine, &QPushButton::clicked, this, [&t] { fine_Click(t); });
    connect(c.Timer1, &Timer1Control::tick, this, [&t] { Timer1_Timer(t); });
    connect(c.variaRitardo, &QScrollBar::valueChanged, this, [&t] { variaRitardo_Change(t); });
    auto *group = c.Sel_Quizzolo[0]->group();
    connect(group, &QButtonGroup::idClicked, this, [&t](int id) { Sel_Quizzolo_Click(t, id); });

    c.Text1->installEventFilter(this);
    c.Text1->setMouseTracking(true);
    for (QWidget *w : pointerControls(c)) {
        w->setMouseTracking(true); // moves without a pressed button count too
        w->installEventFilter(this);
    }
}

bool Tabella::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == controls_.Text1)
        return answerBoxEvent(event);
    if (auto *w = qobject_cast<QWidget *>(watched))
        pointerEvent(w, event);
    return false;
}

bool Tabella::answerBoxEvent(QEvent *event)
{
    Trainer &t = *trainer_;
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        // Only typed characters reach the key handler; Delete carries a text of its own
        // on X11 but types nothing.
        if (key->text().isEmpty() || key->key() == Qt::Key_Delete)
            return false;
        int code = characterCode(key->text());
        Text1_KeyPress(t, code);
        if (code == 0)
            return true; // discarded
        // ENTER was scored; the single-line box has nothing to insert for it.
        return code == 13;
    }
    case QEvent::InputMethod: {
        // Dead keys and compose sequences arrive here, not as key presses: the same
        // filter keeps their accented letters out.
        auto *input = static_cast<QInputMethodEvent *>(event);
        QString kept;
        for (QChar c : input->commitString()) {
            int code = characterCode(QString(c));
            Text1_KeyPress(t, code);
            if (code != 0)
                kept += c;
        }
        if (kept != input->commitString())
            input->setCommitString(kept, input->replacementStart(), input->replacementLength());
        return false;
    }
    case QEvent::MouseMove: Text1_MouseMove(t); return false;
    default: return false;
    }
}

void Tabella::pointerEvent(QWidget *w, QEvent *event)
{
    // A disabled control raises no mouse events of its own.
    if (!w->isEnabled())
        return;
    Trainer &t = *trainer_;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        pointerPressed(t, w);
        pressedLink_ = static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton ? w : nullptr;
        break;
    case QEvent::MouseButtonDblClick:
        pressedLink_ = nullptr; // the second click of a double click is no click
        break;
    case QEvent::MouseMove: pointerMoved(t, w); break;
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const bool click =
            pressedLink_ == w && mouse->button() == Qt::LeftButton && w->rect().contains(mouse->position().toPoint());
        pressedLink_ = nullptr;
        if (click && qobject_cast<QLabel *>(w))
            linkClicked(t, w);
        break;
    }
    default: break;
    }
}

void Tabella::closeEvent(QCloseEvent *event)
{
    event->accept();
    // Whatever runs underneath (a pause, a sequence, a spoken clip) ends with the window.
    trainer_->fuori.end.endNow();
}

void Tabella::setAccessibleTexts()
{
    Controls &c = controls_;
    c.Label1->setAccessibleDescription(QStringLiteral("Primo fattore"));
    c.Label2->setAccessibleDescription(QStringLiteral("Secondo fattore"));
    c.Text1->setAccessibleName(QStringLiteral("Risultato"));
    c.Text1->setAccessibleDescription(QStringLiteral("Scrivi qui il risultato e premi INVIO"));
    c.Command1->setAccessibleName(texts::chiedimi);
    c.Command2->setAccessibleName(texts::fammiVedere);
    c.Command3->setAccessibleName(texts::senzaRisultato);
    c.command4->setAccessibleName(texts::conRisultato);
    c.Command5->setAccessibleName(texts::caccia);
    c.fine->setAccessibleName(QStringLiteral("STOP, esci dal programma"));
    c.FrameRitardo->setAccessibleName(QStringLiteral("Ritardo"));
    c.variaRitardo->setAccessibleName(QStringLiteral("Pausa tra le operazioni, da 1 a 10 secondi"));
    c.Label3->setAccessibleName(texts::titolo);
    c.Label4->setAccessibleName(QStringLiteral("Minimo"));
    c.Label5->setAccessibleName(QStringLiteral("Massimo"));
    c.Label6->setAccessibleName(QStringLiteral("Riconoscimenti"));
    c.Label7->setAccessibleName(QStringLiteral("Scrivi all'autore"));
    c.Label8->setAccessibleName(QStringLiteral("Apri il sito web"));
    c.Image1->setAccessibleName(QStringLiteral("Premio"));
    c.Image2->setAccessibleName(QStringLiteral("Premio"));
    c.Image3->setAccessibleName(QStringLiteral("Premio"));
    c.Frame1->setAccessibleName(QStringLiteral("Tabelline"));
    c.Frame2->setAccessibleName(QStringLiteral("Operazione"));
    c.Frame3->setAccessibleName(QStringLiteral("Modi di esercitarsi"));
    c.Sel_Quizzolo[0]->setAccessibleName(QStringLiteral("Tutte le tabelline"));
    for (int i = 1; i <= 9; ++i)
        c.Sel_Quizzolo[static_cast<std::size_t>(i)]->setAccessibleName(QStringLiteral("Tabellina del %1").arg(i));
    for (QWidget *line : c.lines)
        line->setAccessibleName(QStringLiteral("Segno"));
}

} // namespace quizzolo
