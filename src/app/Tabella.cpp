#include "app/Tabella.h"

#include "app/ExitAndCredits.h"
#include "app/ResourceLoader.h"
#include "app/TabellaLayout.h"
#include "app/board/NumberPad.h"
#include "app/board/PointerFeedback.h"
#include "engine/StartUp.h"
#include "engine/Texts.h"
#include "engine/Timer1Control.h"
#include "modes/EuroHunt.h"
#include "modes/Sequences.h"
#include "modes/SingleQuestion.h"
#include "modes/answers/AnswerCheck.h"

#include <QApplication>
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
#include <QShortcut>
#include <QTimer>
#include <QWindow>

namespace quizzolo {

namespace {

// The pad's keys and the gaps around them, in pixels of the designed window: keys of
// 56 are 100 pixels wide on a 1080-line board.
constexpr double padKey = 56, padGap = 7;
constexpr double padMargin = 2 * padKey + 3 * padGap;

const QColor windowGreen(192, 255, 192);

} // namespace

Tabella::Tabella(Outside &outside, const QString &clipFolder, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tabella"));
    setWindowTitle(texts::didascaliaFinestra);
    setWindowIcon(programIcon());
    // Only the board view shows the window's own face, as the margin around the designed window.
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(64, 64, 64));
    setPalette(p);
    setAutoFillBackground(true);
    setFixedSize(800, 600);

    stage_ = new QWidget(this);
    stage_->setGeometry(0, 0, 800, 600);
    p.setColor(QPalette::Window, windowGreen);
    stage_->setPalette(p);
    stage_->setAutoFillBackground(true);
    controls_ = buildControls(stage_, layout_);
    controls_.tabella = this;
    pad_ = new NumberPad(this);
    pad_->hide();
    trainer_ = std::make_unique<Trainer>(controls_, outside, ClipNames(clipFolder));
    setAccessibleTexts();
    connectHandlers();
    Form_Load(*trainer_);
    pad_->setEnabled(!controls_.Text1->isReadOnly());
}

Tabella::~Tabella()
{
    // The controls still move the focus as they go, after this part of the window is gone.
    disconnect(focusFollow_);
}

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
    connect(pad_, &NumberPad::tapped, this, &Tabella::padTapped);
    connect(new QShortcut(Qt::Key_F11, this), &QShortcut::activated, this, [this] { setBoardView(!board_); });
    auto *escape = new QShortcut(Qt::Key_Escape, this);
    escape->setObjectName(QStringLiteral("escape"));
    escape->setEnabled(false);
    connect(escape, &QShortcut::activated, this, [this] { setBoardView(false); });
    focusFollow_ =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { keepFocusAfterTouch(now); });
    for (QWidget *w : pointerControls(c)) {
        w->setMouseTracking(true); // moves without a pressed button count too
        w->installEventFilter(this);
    }
}

bool Tabella::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowHandle()) {
        // Fingers leave no pointer behind; remember which kind of input came last.
        switch (event->type()) {
        case QEvent::TouchBegin: touched_ = fingerDown_ = true; break;
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
            fingerDown_ = false;
            handBackFocus();
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
            touched_ &= static_cast<QMouseEvent *>(event)->source() != Qt::MouseEventNotSynthesized;
            break;
        case QEvent::KeyPress: touched_ = false; break;
        default: break;
        }
        return false;
    }
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
    case QEvent::ReadOnlyChange: pad_->setEnabled(!controls_.Text1->isReadOnly()); return false;
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
        pointerPressed(t, w, scale());
        pressedLink_ = static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton ? w : nullptr;
        break;
    case QEvent::MouseButtonDblClick:
        pressedLink_ = nullptr; // the second click of a double click is no click
        break;
    case QEvent::MouseMove: pointerMoved(t, w, scale()); break;
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

void Tabella::setBoardView(bool on)
{
    board_ = on;
    findChild<QShortcut *>(QStringLiteral("escape"))->setEnabled(on);
    if (on) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        if (const QScreen *s = screen())
            setGeometry(s->geometry()); // also where no window manager honours full screen
        showFullScreen();
    } else {
        showNormal();
        setFixedSize(800, 600);
        centreOnScreen();
    }
    arrange();
}

void Tabella::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    arrange();
}

void Tabella::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (windowHandle())
        windowHandle()->installEventFilter(this); // once: Qt keeps a filter only once
}

void Tabella::arrange()
{
    double s = 1;
    if (board_) {
        s = qMin(height() / 600.0, width() / (800.0 + 2 * padMargin));
        const QSize designed(qRound(800 * s), qRound(600 * s));
        stage_->setGeometry(
            QRect(QPoint((width() - designed.width()) / 2, (height() - designed.height()) / 2), designed));
        const int key = qRound(padKey * s), gap = qRound(padGap * s);
        pad_->arrange(key, gap, designFont(18, true, false, s));
        const int margin = width() - stage_->geometry().right() - 1;
        pad_->move(stage_->geometry().right() + 1 + (margin - pad_->width()) / 2, (height() - pad_->height()) / 2);
    } else {
        stage_->setGeometry(0, 0, 800, 600);
    }
    pad_->setVisible(board_);
    if (s == layout_.scale())
        return;
    layout_.apply(s);
    emit scaleChanged(s);
    rescaleHands(controls_, s);
    // Coins already shown are drawn again at the detail the new size needs.
    for (QLabel *place : {controls_.Image1, controls_.Image2, controls_.Image3})
        if (const int coin = place->property("coin").toInt(); coin != 0 && !place->pixmap().isNull())
            place->setPixmap(trainer_->fuori.pictures.bitmap(coin));
}

void Tabella::padTapped(int key, const QString &text)
{
    // The answer box's own key handling: filter, length, ENTER and its guard.
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(controls_.Text1, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(controls_.Text1, &release);
}

void Tabella::keepFocusAfterTouch(QWidget *now)
{
    // While the finger is down the button it pressed keeps the focus, or it would not click.
    if (!fingerDown_ && now && now != controls_.Text1 && now->window() == this)
        handBackFocus();
}

void Tabella::handBackFocus()
{
    // With a mouse the pointer brings the focus back to the answer box; a finger leaves
    // none behind, so after a tap elsewhere during a question the box takes it back.
    if (!touched_ || !trainer_->stato.cacciaInCorso)
        return;
    QTimer::singleShot(0, this, [this] {
        if (touched_ && trainer_->stato.cacciaInCorso && !QApplication::activeModalWidget())
            controls_.Text1->setFocus();
    });
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
