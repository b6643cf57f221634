// An event storm: thousands of random actions of an impatient child, injected at random
// pump points (so their handlers run nested inside long operations) and at the top level,
// with the window's invariants checked after every step.
#include "doubles/Harness.h"
#include "engine/Texts.h"
#include "engine/Timer1Control.h"
#include "modes/RewardTable.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <deque>
#include <memory>
#include <random>

using namespace quizzolo;
using namespace quizzolo::test;

namespace {

// Everything a child can do to the window.
enum class Action {
    AskQuestion,     // Command1
    ShowResult,      // Command2 (the prompt during a hunt question)
    SequenceWithout, // Command3
    SequenceWith,    // command4
    Hunt,            // Command5
    ChooseTable,     // a Sel_Quizzolo option
    MoveSlider,      // variaRitardo
    TypeDigit,
    TypeLetter,
    TypeSpace,
    TypeBackspace,
    PressEnter,
    TypeRightAnswer, // backspaces, the product's digits, ENTER
    PointAtButton,
    PointAtAnswer,
    TimerTick,
    StopAnsweredNo,
};

const char *actionName(Action a)
{
    switch (a) {
    case Action::AskQuestion: return "Command1";
    case Action::ShowResult: return "Command2";
    case Action::SequenceWithout: return "Command3";
    case Action::SequenceWith: return "command4";
    case Action::Hunt: return "Command5";
    case Action::ChooseTable: return "table";
    case Action::MoveSlider: return "slider";
    case Action::TypeDigit: return "digit";
    case Action::TypeLetter: return "letter";
    case Action::TypeSpace: return "space";
    case Action::TypeBackspace: return "backspace";
    case Action::PressEnter: return "ENTER";
    case Action::TypeRightAnswer: return "right answer";
    case Action::PointAtButton: return "point at button";
    case Action::PointAtAnswer: return "point at Text1";
    case Action::TimerTick: return "tick";
    case Action::StopAnsweredNo: return "STOP/No";
    }
    return "?";
}

struct StormFigures {
    int actions = 0;
    int nestedActions = 0;
    int pumps = 0;
    int scored = 0;
    int anthems = 0;
    int sequencesStarted = 0;
    int mostCoins = 0;
    double fakeSeconds = 0;
};

class Storm {
  public:
    Storm(Harness &h, unsigned seed, int budget) : h_(h), rng_(seed), seed_(seed), budget_(budget)
    {
        h_.clips.clipSeconds = 0.4;
        h_.random.fallback.seed(seed * 7919u + 17u);
        QObject::connect(h_.ui.Text1, &QLineEdit::textChanged, h_.ui.Text1,
                         [this](const QString &text) { answerBoxChanged(text); });
        h_.clips.onPlay = [this](const PlayedClip &c) { clipStarted(c); };
        h_.pump.everyPump([this] {
            atPump();
            return true;
        });
    }

    void run()
    {
        const double start = h_.clock.now;
        checkAnywhere();
        while (budget_ > 0 && fault_.isEmpty()) {
            h_.clock.advance(std::uniform_real_distribution<double>(0.0, 2.0)(rng_)); // the child thinks
            step();
            checkTopLevel();
            if (h_.clips.played.size() > 256)
                h_.clips.played.clear();
        }
        figures.fakeSeconds = h_.clock.now - start;
    }

    QString fault() const { return fault_; }
    StormFigures figures;

  private:
    bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    // As a real click needs it: shown (once the window is) and enabled.
    bool live(const QWidget *w) const { return w->isVisibleTo(&h_.window) && w->isEnabled(); }

    std::vector<QWidget *> liveOf(std::initializer_list<QWidget *> widgets) const
    {
        std::vector<QWidget *> out;
        for (QWidget *w : widgets)
            if (live(w))
                out.push_back(w);
        return out;
    }

    std::vector<QWidget *> liveOptions() const
    {
        std::vector<QWidget *> out;
        for (QRadioButton *option : h_.ui.Sel_Quizzolo)
            if (live(option))
                out.push_back(option);
        return out;
    }

    std::vector<QWidget *> pointerTargets() const
    {
        const Controls &ui = h_.ui;
        return liveOf({ui.Command1, ui.Command2, ui.Command3, ui.command4, ui.Command5, ui.fine, ui.Label7, ui.Label8});
    }

    QWidget *anyOf(const std::vector<QWidget *> &widgets)
    {
        return widgets[static_cast<std::size_t>(pick(static_cast<int>(widgets.size())))];
    }

    bool questionDrawn() const { return h_.random.drawn >= 2; }

    // Only what a real child could do now: a click needs a visible, enabled control.
    std::vector<std::pair<Action, int>> choices() const
    {
        const Controls &ui = h_.ui;
        std::vector<std::pair<Action, int>> c;
        auto add = [&](bool possible, Action a, int weight) {
            if (possible)
                c.emplace_back(a, weight);
        };
        add(live(ui.Command1), Action::AskQuestion, 3);
        add(live(ui.Command2), Action::ShowResult, 3);
        add(live(ui.Command3), Action::SequenceWithout, 3);
        add(live(ui.command4), Action::SequenceWith, 3);
        add(live(ui.Command5), Action::Hunt, 3);
        add(!liveOptions().empty(), Action::ChooseTable, 1);
        add(live(ui.variaRitardo), Action::MoveSlider, 2);
        const bool box = live(ui.Text1);
        add(box, Action::TypeDigit, 3);
        add(box, Action::TypeLetter, 1);
        add(box, Action::TypeSpace, 1);
        add(box, Action::TypeBackspace, 1);
        add(box, Action::PressEnter, 3);
        add(box && questionDrawn(), Action::TypeRightAnswer, 3);
        add(!pointerTargets().empty(), Action::PointAtButton, 2);
        add(box, Action::PointAtAnswer, 2);
        add(ui.Timer1->isEnabled(), Action::TimerTick, 4);
        add(live(ui.fine), Action::StopAnsweredNo, 1);
        return c;
    }

    void step()
    {
        const auto c = choices();
        int total = 0;
        for (const auto &[a, w] : c)
            total += w;
        int r = pick(total);
        Action chosen = c.front().first;
        for (const auto &[a, w] : c) {
            if (r < w) {
                chosen = a;
                break;
            }
            r -= w;
        }
        --budget_;
        ++figures.actions;
        if (depth_ > 0)
            ++figures.nestedActions;
        trace_.push_back(QStringLiteral("%1@%2").arg(QLatin1String(actionName(chosen))).arg(depth_));
        if (trace_.size() > 16)
            trace_.pop_front();
        ++depth_;
        perform(chosen);
        --depth_;
    }

    void sendKey(int key, const QString &text)
    {
        // A character that is not ENTER never pumps; ENTER may (the wait before the euro).
        typing_ = key != Qt::Key_Return;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(h_.ui.Text1, &press);
        typing_ = false;
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(h_.ui.Text1, &release);
    }

    void pointAt(QWidget *w)
    {
        const QPointF local(w->width() / 2.0, w->height() / 2.0);
        QMouseEvent move(QEvent::MouseMove, local, w->mapToGlobal(local), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }

    void perform(Action a)
    {
        Controls &ui = h_.ui;
        switch (a) {
        case Action::AskQuestion: ui.Command1->click(); break;
        case Action::ShowResult: ui.Command2->click(); break;
        case Action::SequenceWithout:
            figures.sequencesStarted += ui.Command3->text() == texts::senzaRisultato;
            ui.Command3->click();
            break;
        case Action::SequenceWith:
            figures.sequencesStarted += ui.command4->text() == texts::conRisultato;
            ui.command4->click();
            break;
        case Action::Hunt: ui.Command5->click(); break;
        case Action::ChooseTable: qobject_cast<QAbstractButton *>(anyOf(liveOptions()))->click(); break;
        case Action::MoveSlider: {
            static const QAbstractSlider::SliderAction moves[] = {
                QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
                QAbstractSlider::SliderPageStepAdd,   QAbstractSlider::SliderPageStepSub,
                QAbstractSlider::SliderToMinimum,     QAbstractSlider::SliderToMaximum};
            if (chance(0.5))
                ui.variaRitardo->setValue(500 + pick(4501));
            else
                ui.variaRitardo->triggerAction(moves[pick(6)]);
            break;
        }
        case Action::TypeDigit: {
            const int d = pick(10);
            sendKey(Qt::Key_0 + d, QString::number(d));
            break;
        }
        case Action::TypeLetter: {
            const int l = pick(26);
            const bool upper = chance(0.5);
            sendKey(Qt::Key_A + l, QString(QChar((upper ? 'A' : 'a') + l)));
            break;
        }
        case Action::TypeSpace: sendKey(Qt::Key_Space, QStringLiteral(" ")); break;
        case Action::TypeBackspace: sendKey(Qt::Key_Backspace, QStringLiteral("\b")); break;
        case Action::PressEnter: sendKey(Qt::Key_Return, QStringLiteral("\r")); break;
        case Action::TypeRightAnswer: {
            // The product of the question on display, as the child works it out.
            const QString digits = QString::number(h_.t.stato.fattore1 * h_.t.stato.fattore2);
            sendKey(Qt::Key_Backspace, QStringLiteral("\b"));
            sendKey(Qt::Key_Backspace, QStringLiteral("\b"));
            for (QChar c : digits)
                sendKey(Qt::Key_0 + c.digitValue(), QString(c));
            sendKey(Qt::Key_Return, QStringLiteral("\r"));
            break;
        }
        case Action::PointAtButton: pointAt(anyOf(pointerTargets())); break;
        case Action::PointAtAnswer: pointAt(ui.Text1); break;
        case Action::TimerTick: emit ui.Timer1->tick(); break;
        case Action::StopAnsweredNo: ui.fine->click(); break;
        }
    }

    // The budget is spent: end any running sequence with its own button so the top
    // level gets control back.
    void stopRunningSequence()
    {
        for (QPushButton *b : {h_.ui.Command3, h_.ui.command4}) {
            if (b->text() == texts::ferma && live(b)) {
                ++depth_;
                b->click();
                --depth_;
            }
        }
    }

    void atPump()
    {
        ++figures.pumps;
        checkAnywhere();
        // Nothing nests by itself: every level is one action still being handled.
        if (h_.t.handlerDepth != depth_)
            fail(QStringLiteral("handler depth %1 at a pump with %2 actions running")
                     .arg(h_.t.handlerDepth)
                     .arg(depth_));
        if (budget_ <= 0 || !fault_.isEmpty()) {
            stopRunningSequence();
            return;
        }
        if (!chance(0.3))
            return;
        do
            step();
        while (budget_ > 0 && chance(0.25));
    }

    void clipStarted(const PlayedClip &c)
    {
        if (c.file == QLatin1String("voxa_esatto.wav") || c.file == QLatin1String("voxa_ripeti.wav")) {
            ++figures.scored;
            // Scored against the question the child has been asked.
            const TrainerState &s = h_.t.stato;
            if (s.risultato != s.fattore1 * s.fattore2)
                fail(QStringLiteral("answer scored against %1 while %2 x %3 is asked")
                         .arg(s.risultato)
                         .arg(s.fattore1)
                         .arg(s.fattore2));
        }
        if (c.file == QLatin1String("anthem1.wav"))
            ++figures.anthems;
    }

    void answerBoxChanged(const QString &text)
    {
        // The answer of an open hunt question is the child's alone to write.
        if (!typing_ && h_.t.stato.cacciaInCorso && !text.isEmpty())
            fail(QStringLiteral("the trainer wrote \"%1\" into the box of an open hunt question").arg(text));
    }

    void fail(const QString &what)
    {
        if (!fault_.isEmpty())
            return;
        QStringList last(trace_.begin(), trace_.end());
        fault_ = QStringLiteral("seed %1, action %2 (depth %3): %4\n   last actions: %5")
                     .arg(seed_)
                     .arg(figures.actions)
                     .arg(h_.t.handlerDepth)
                     .arg(what, last.join(QStringLiteral(", ")));
        budget_ = 0;
    }

    void expect(bool holds, const char *what)
    {
        if (!holds)
            fail(QString::fromLatin1(what));
    }

    // What holds at every pump point as well as at the top level.
    void checkAnywhere()
    {
        const Controls &ui = h_.ui;
        const TrainerState &s = h_.t.stato;
        expect(s.euroVinti >= 0.0f && s.euroVinti <= static_cast<float>(euroCount) &&
                   s.euroVinti == std::floor(s.euroVinti),
               "euroVinti outside 0..20 or not whole");
        figures.mostCoins = std::max(figures.mostCoins, static_cast<int>(s.euroVinti));
        int checked = 0;
        int index = -1;
        for (int i = 0; i < 10; ++i) {
            if (ui.Sel_Quizzolo[static_cast<std::size_t>(i)]->isChecked()) {
                ++checked;
                index = i;
            }
        }
        expect(checked == 1, "not exactly one table option checked");
        expect(index == s.tabellaScelta, "tabellaScelta differs from the checked option");
        if (questionDrawn()) {
            expect(s.fattore1 >= 1 && s.fattore1 <= 9 && s.fattore2 >= 1 && s.fattore2 <= 9, "factor outside 1..9");
        }
        expect(s.ritardoSecondi >= 1 && s.ritardoSecondi <= 10, "pause outside 1..10 seconds");
        expect(ui.variaRitardo->value() >= 500 && ui.variaRitardo->value() <= 5000, "slider outside 500..5000");
        expect(!(ui.Timer1->isEnabled() && s.cacciaInCorso), "Timer1 runs while a hunt question is open");
        expect(!s.rispostaInValutazione || (s.cacciaInCorso && s.euroVinti == static_cast<float>(euroCount)),
               "an answer is being scored outside the wait before the euro");

        const bool without = ui.Command3->text() == texts::ferma;
        const bool with = ui.command4->text() == texts::ferma;
        expect(!(without && with), "both sequence buttons show the stop caption");
        expect((without || with) == live(ui.FrameRitardo),
               "pause slider shown without a running sequence, or hidden with one");
        if (without || with) {
            QPushButton *own = without ? ui.Command3 : ui.command4;
            QPushButton *other = without ? ui.command4 : ui.Command3;
            expect(live(own), "the stop button cannot be clicked");
            expect(!other->isEnabled() && !ui.Command1->isEnabled() && !ui.Command5->isEnabled(),
                   "another mode can start while a sequence runs");
            expect(ui.Command2->isHidden(), "Command2 shown while a sequence runs");
            expect(ui.FrameRitardo->title() == (without ? texts::ritardaOperazioni : texts::ritardaRisultato),
                   "pause frame title does not match the running sequence");
            expect(!s.cacciaInCorso && ui.Text1->isReadOnly(), "hunt question open while a sequence runs");
        }
    }

    // What holds when no handler runs.
    void checkTopLevel()
    {
        checkAnywhere();
        const Controls &ui = h_.ui;
        const TrainerState &s = h_.t.stato;
        expect(h_.t.handlerDepth == 0, "a handler still runs at the top level");
        expect(!s.rispostaInValutazione, "an answer is still being scored at the top level");
        if (questionDrawn()) {
            expect(s.risultato == s.fattore1 * s.fattore2, "risultato is not the product of the factors");
            expect(ui.Label1->text() == QString::number(s.fattore1), "Label1 does not show fattore1");
            expect(ui.Label2->text() == QString::number(s.fattore2), "Label2 does not show fattore2");
        }
        expect(ui.Command3->text() == texts::senzaRisultato && ui.command4->text() == texts::conRisultato,
               "a sequence button shows the stop caption with no sequence running");
        expect(ui.FrameRitardo->isHidden(), "pause slider shown with no sequence running");
        expect(ui.Text1->isReadOnly() == !s.cacciaInCorso,
               "answer box writable without a hunt question, or locked with one");

        const bool modesEnabled[] = {ui.Command1->isEnabled(), ui.Command3->isEnabled(), ui.command4->isEnabled(),
                                     ui.Command5->isEnabled()};
        const bool allEnabled = std::all_of(std::begin(modesEnabled), std::end(modesEnabled), [](bool b) { return b; });
        const bool noneEnabled =
            std::none_of(std::begin(modesEnabled), std::end(modesEnabled), [](bool b) { return b; });
        if (s.cacciaInCorso) {
            expect(live(ui.Command2) && ui.Command2->text() == texts::scriviRisultato,
                   "hunt question without its prompt");
            expect(noneEnabled, "another mode can start during a hunt question");
        } else if (!ui.Command2->isHidden()) {
            expect(ui.Command2->text() == texts::fammiVedere, "the result button shows the hunt prompt");
            expect(noneEnabled, "another mode can start while a question waits for its result");
            expect(!ui.Timer1->isEnabled(), "Timer1 runs while a question waits for its result");
        } else {
            expect(allEnabled, "idle, yet some mode cannot be started");
        }

        // The coins shown are those of the count, or none.
        const std::array<QLabel *, 3> places{ui.Image1, ui.Image2, ui.Image3};
        const auto row = rewardRow(s.euroVinti);
        bool anyShown = false;
        bool asCounted = row.has_value();
        for (std::size_t i = 0; i < 3; ++i) {
            anyShown = anyShown || !places[i]->isHidden();
            if (row)
                asCounted = asCounted && places[i]->isHidden() == (row->ids[i] == 0);
        }
        expect(!anyShown || asCounted, "coins shown that do not match the count");
    }

    Harness &h_;
    std::mt19937 rng_;
    unsigned seed_;
    int budget_;
    int depth_ = 0; // actions of this storm now running
    bool typing_ = false;
    std::deque<QString> trace_;
    QString fault_;
};

// Types each character as a key press carrying that text, as a keyboard layout would.
void type(QWidget *w, const QString &text)
{
    for (QChar c : text) {
        const int key = c == QLatin1Char('\r') ? int(Qt::Key_Return) : int(Qt::Key_unknown);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

QString buttonName(const Controls &ui, const QPushButton *b)
{
    if (b == ui.Command1)
        return QStringLiteral("Command1");
    if (b == ui.Command3)
        return QStringLiteral("Command3");
    if (b == ui.command4)
        return QStringLiteral("command4");
    return QStringLiteral("Command5");
}

// Empty when the window shows an open hunt question the way the hunt sets it up.
QString notAnOpenHuntQuestion(Harness &h)
{
    const Controls &ui = h.ui;
    if (!h.t.stato.cacciaInCorso)
        return QStringLiteral("no hunt question open");
    if (!ui.Text1->text().isEmpty())
        return QStringLiteral("the answer box already holds \"%1\"").arg(ui.Text1->text());
    if (ui.Text1->isReadOnly())
        return QStringLiteral("the answer box is locked");
    if (!ui.Command2->isVisibleTo(&h.window) || ui.Command2->text() != texts::scriviRisultato)
        return QStringLiteral("the prompt is not shown");
    for (QPushButton *b : {ui.Command1, ui.Command3, ui.command4, ui.Command5})
        if (b->isEnabled())
            return QStringLiteral("%1 can be clicked").arg(buttonName(ui, b));
    if (ui.Timer1->isEnabled())
        return QStringLiteral("Timer1 runs");
    return {};
}

// Empty when, with no hunt question open, the window is idle or waits for a result.
QString notASettledWindow(Harness &h)
{
    const Controls &ui = h.ui;
    if (h.t.stato.cacciaInCorso)
        return QStringLiteral("a hunt question is open");
    const bool waitsForResult = !ui.Command2->isHidden();
    if (waitsForResult && ui.Command2->text() != texts::fammiVedere)
        return QStringLiteral("the result button reads \"%1\"").arg(ui.Command2->text());
    if (waitsForResult && ui.Timer1->isEnabled())
        return QStringLiteral("Timer1 runs while the question waits for its result");
    for (QPushButton *b : {ui.Command1, ui.Command3, ui.command4, ui.Command5})
        if (b->isEnabled() == waitsForResult)
            return QStringLiteral("%1 is %2")
                .arg(buttonName(ui, b), b->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled"));
    return {};
}

} // namespace

class StormTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepareApplication(); }

    void randomActionsKeepTheWindowConsistent_data();
    void randomActionsKeepTheWindowConsistent();

    // Single cases the storm found, each reduced to its few clicks.
    void huntOpenedDuringAnotherModeStaysIntact_data();
    void huntOpenedDuringAnotherModeStaysIntact();
    void huntAnsweredDuringAQuestionLeavesTheWindowSettled_data();
    void huntAnsweredDuringAQuestionLeavesTheWindowSettled();
    void answerIsScoredAgainstTheQuestionAsked_data();
    void answerIsScoredAgainstTheQuestionAsked();
    void eachClickDuringAQuestionNestsOneLevel_data();
    void eachClickDuringAQuestionNestsOneLevel();
};

void StormTest::randomActionsKeepTheWindowConsistent_data()
{
    QTest::addColumn<unsigned>("seed");
    QTest::addColumn<int>("actions");
    // QUIZZOLO_STORM_SEEDS=N runs seeds 1..N instead of the twenty of every build.
    const int seeds = std::max(20, qEnvironmentVariableIntValue("QUIZZOLO_STORM_SEEDS"));
    for (unsigned seed = 1; seed <= static_cast<unsigned>(seeds); ++seed)
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed << 2000;
}

void StormTest::randomActionsKeepTheWindowConsistent()
{
    QFETCH(unsigned, seed);
    QFETCH(int, actions);
    auto h = std::make_unique<Harness>();
    Storm storm(*h, seed, actions);
    storm.run();
    const StormFigures &f = storm.figures;
    qInfo("%d actions (%d nested), %d pumps, deepest nesting %d, %d answers scored, %d anthems, "
          "%d sequences, most coins %d, %.0f fake seconds",
          f.actions, f.nestedActions, f.pumps, h->t.deepestNesting, f.scored, f.anthems, f.sequencesStarted,
          f.mostCoins, f.fakeSeconds);
    QVERIFY2(storm.fault().isEmpty(), qPrintable(storm.fault()));
    QCOMPARE(f.actions, actions);
    QCOMPARE(h->t.handlerDepth, 0);
    // Each level is a click that arrived while the one beneath it was being handled;
    // at this pace of clicks the nesting stays shallow.
    QVERIFY2(h->t.deepestNesting <= 12, qPrintable(QString::number(h->t.deepestNesting)));
}

void StormTest::huntOpenedDuringAnotherModeStaysIntact_data()
{
    QTest::addColumn<QString>("situation");
    QTest::newRow("hunt clicked in the pause of a stopped sequence with the result") << "pause";
    QTest::newRow("hunt clicked between tens and units of a stopped sequence's result") << "result";
    QTest::newRow("hunt clicked while a double-clicked result is spoken") << "double click";
}

void StormTest::huntOpenedDuringAnotherModeStaysIntact()
{
    QFETCH(QString, situation);
    Harness h;
    h.random.pushQuestion(7, 8); // 56: the result has tens and units, a pump between them
    h.random.pushQuestion(3, 4); // the hunt question
    bool clicked = false;
    auto stopAndHunt = [&] {
        clicked = true;
        if (situation == "double click")
            h.ui.Command2->click();
        else
            h.ui.command4->click(); // stop
        h.ui.Command5->click();
    };
    h.clips.onPlay = [&](const PlayedClip &c) {
        if (clicked)
            return;
        if (situation == "pause" && c.file == "va8.wav")
            h.pump.atTime(c.at + h.clips.clipSeconds + 0.5, stopAndHunt);
        else if (situation != "pause" && c.file == "voxa50.wav")
            h.pump.atPump(h.pump.calls + 1, stopAndHunt); // the pump after "sei"
    };
    if (situation == "double click") {
        h.ui.Command1->click();
        h.ui.Command2->click();
    } else {
        h.ui.command4->click();
    }
    QVERIFY(clicked);
    QCOMPARE(h.clips.files().back(), QStringLiteral("va4.wav")); // nothing said after the question
    const QString fault = notAnOpenHuntQuestion(h);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

void StormTest::huntAnsweredDuringAQuestionLeavesTheWindowSettled_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("right answer") << "12\r";
    QTest::newRow("wrong answer") << "13\r";
}

void StormTest::huntAnsweredDuringAQuestionLeavesTheWindowSettled()
{
    QFETCH(QString, answer);
    Harness h;
    h.random.pushQuestion(2, 5);
    h.random.pushQuestion(3, 4);
    const int c = h.pump.calls;
    // "Chiedimi", "Caccia all'euro" while it is spoken, the hunt answered at once.
    h.pump.atPump(c + 2, [&] { h.ui.Command5->click(); });
    h.pump.atPump(c + 4, [&] { type(h.ui.Text1, answer); });
    h.ui.Command1->click();
    QCOMPARE(h.t.stato.euroVinti, answer == "12\r" ? 1.0f : 0.0f);
    const QString fault = notASettledWindow(h);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
}

void StormTest::answerIsScoredAgainstTheQuestionAsked_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<float>("coins");
    QTest::newRow("the last question's product earns nothing") << "6\r" << 0.0f;
    QTest::newRow("this question's product earns a coin") << "56\r" << 1.0f;
}

void StormTest::answerIsScoredAgainstTheQuestionAsked()
{
    QFETCH(QString, typed);
    QFETCH(float, coins);
    Harness h;
    h.random.pushQuestion(2, 3);
    h.ui.Command1->click();
    h.ui.Command2->click(); // 6 stands in the box
    h.random.pushQuestion(7, 8);
    // Keys that were waiting when the hunt question began, handled as its first factor shows.
    h.pump.atPump(h.pump.calls + 1, [&] { type(h.ui.Text1, typed); });
    h.ui.Command5->click();
    QCOMPARE(h.t.stato.euroVinti, coins);
}

void StormTest::eachClickDuringAQuestionNestsOneLevel_data()
{
    QTest::addColumn<int>("clicks");
    QTest::newRow("10 clicks") << 10;
    QTest::newRow("60 clicks") << 60;
}

void StormTest::eachClickDuringAQuestionNestsOneLevel()
{
    QFETCH(int, clicks);
    Harness h;
    int done = 0;
    std::uintptr_t firstLevel = 0;
    std::uintptr_t lastLevel = 0;
    // "Chiedimi" again while every question is spoken: nothing disables it before the
    // question ends, so each click nests one level deeper; only the clicks bound it.
    h.pump.everyPump([&] {
        if (h.t.handlerDepth != done + 1 || !h.ui.Command1->isEnabled())
            return true;
        const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
        (done == 0 ? firstLevel : lastLevel) = here;
        if (done == clicks)
            return false;
        ++done;
        h.ui.Command1->click();
        return true;
    });
    h.ui.Command1->click();
    QCOMPARE(done, clicks);
    QCOMPARE(h.t.deepestNesting, clicks + 1);
    QCOMPARE(h.t.handlerDepth, 0);
    qInfo("%td bytes of stack per level", static_cast<std::ptrdiff_t>(firstLevel - lastLevel) / clicks);
    // Unwound, the window waits for the result of the innermost question.
    QCOMPARE(h.ui.Label1->text(), QString::number(h.t.stato.fattore1));
    QCOMPARE(h.ui.Label2->text(), QString::number(h.t.stato.fattore2));
    QCOMPARE(int(h.t.stato.risultato), h.t.stato.fattore1 * h.t.stato.fattore2);
    const QString fault = notASettledWindow(h);
    QVERIFY2(fault.isEmpty(), qPrintable(fault));
    QVERIFY(!h.ui.Command2->isHidden());
}

QTEST_MAIN(StormTest)
#include "test_storm.moc"
