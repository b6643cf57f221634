// Endless sequences, their buttons, the pause slider, the paced wait; an impatient child's random actions, nested
// inside pump points, with the window consistent after each.
#include "doubles/Harness.h"

using namespace quizzolo;
using namespace quizzolo::test;

class SequencesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepareApplication(); }

    // The slider moved during a pause: by the program, by a drag (counted when it ends),
    // by keys (Right and Down toward MAX, the slider's right end; Left and Up toward MIN).
    void pauseEndsOnTime_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<double>("movedAfter");
        QTest::addColumn<QString>("move"); // a value, "drag" to 1200, or keys
        QTest::addColumn<double>("endsAfter");
        QTest::newRow("0 s: no event processed") << 0 << 0.0 << "" << 0.0;
        QTest::newRow("999 is 1 s") << 10 << 0.5 << "999" << 1.0;
        QTest::newRow("shortened below the time waited: ends at once") << 10 << 3.0 << "500" << 3.0;
        QTest::newRow("a drag counts when it ends") << 10 << 0.5 << "drag" << 7.5;
        QTest::newRow("Right: one step toward MAX") << 1 << 0.5 << "Right" << 3.0;
        QTest::newRow("Up toward MIN, End to MAX") << 1 << 0.5 << "Up, End" << 10.0;
        QTest::newRow("PgUp toward MIN, Left stops there") << 10 << 0.5 << "PgUp, Left, Left" << 1.0;
    }

    void pauseEndsOnTime()
    {
        QFETCH(int, length);
        QFETCH(double, movedAfter);
        QFETCH(QString, move);
        QFETCH(double, endsAfter);
        Harness h;
        h.t.stato.ritardoSecondi = std::int16_t(length);
        const double start = h.clock.now;
        QScrollBar *slider = h.ui.variaRitardo;
        h.pump.atTime(start + movedAfter, [&] {
            if (move.toInt() > 0)
                return slider->setValue(move.toInt());
            if (move == "drag") { // counts only when let go
                slider->setSliderDown(true);
                slider->setSliderPosition(1200);
                return h.pump.atTime(start + 7.5, [&] { slider->setSliderDown(false); });
            }
            const QKeySequence keys(move);
            for (int i = 0; i < keys.count(); ++i)
                QTest::keyClick(slider, keys[i].key());
        });
        attendi(h.t);
        QCOMPARE(h.clock.now, start + endsAfter);
        QCOMPARE(h.pump.calls > 0, length > 0);
    }

    // Questions follow a pause after the last clip (0.6 s clips, product 56) until a stop at a chosen fake time.
    void cyclesKeepThePaceUntilStopped_data()
    {
        QTest::addColumn<bool>("withResult");
        QTest::addColumn<int>("sliderMoved"); // 0: untouched, 1: before the start, 2: during the first question
        QTest::addColumn<double>("stopAt");
        QTest::addColumn<QList<int>>("starts"); // ms after the start
        QTest::newRow("first sequence: 1 s, slider at 2") << false << 0 << 3.0 << QList<int>{0, 2200};
        QTest::newRow("moved before: the start sets 2 s") << false << 1 << 3.0 << QList<int>{0, 3200};
        QTest::newRow("6 s, stopped 4 s into the pause") << false << 2 << 4.0 << QList<int>{0};
        QTest::newRow("with result: pause, result, 2 s") << true << 0 << 6.0 << QList<int>{0, 5400};
        QTest::newRow("with result, stopped 4 s into 6") << true << 2 << 4.0 << QList<int>{0};
    }

    void cyclesKeepThePaceUntilStopped()
    {
        QFETCH(bool, withResult);
        QFETCH(int, sliderMoved);
        QFETCH(double, stopAt);
        QFETCH(QList<int>, starts);
        Harness h;
        auto click = withResult ? command4_Click : Command3_Click;
        for (int i = 0; i < 3; ++i)
            h.random.pushQuestion(7, 8);
        if (sliderMoved == 1)
            h.ui.variaRitardo->setValue(3000);
        QString faults;
        h.pump.atPump(1, [&] {
            if (sliderMoved == 2)
                h.ui.variaRitardo->setValue(3000);
            faults = h.fault(true);
            QVERIFY(h.ui.variaRitardo->hasFocus() || h.window.focusWidget() == h.ui.variaRitardo);
            h.pump.atTime(h.clock.now + 1.2 + stopAt, [&] {
                click(h.t);
                faults += h.fault(true) + (h.t.stato.fermaOperazioni ? "" : "no stop flag");
                QVERIFY(h.ui.FrameRitardo->isHidden()); // restored at once, before the loop notices
            });
        });
        const double start = h.clock.now;
        click(h.t);
        QCOMPARE(faults, QString());
        QList<int> seen;
        for (const PlayedClip &c : h.clips.played)
            if (c.file.size() == 9 && c.file.startsWith("voxa")) // voxa1..voxa9: a question begins
                seen << qRound((c.at - start) * 1000);
        QCOMPARE(seen, starts);
        QCOMPARE(h.clips.played.size(), std::size_t(seen.size() * (withResult ? 4 : 2))); // a stopped one said whole
        QCOMPARE(h.ui.Text1->text(), withResult ? QStringLiteral("56") : QString());
        QCOMPARE(h.fault(), QString());
    }

    // The result after the pause is that of the question on screen, also one asked in the pause.
    void resultReadAfterThePause()
    {
        Harness h;
        h.random.pushQuestion(7, 8);
        h.random.pushQuestion(3, 4);
        h.pump.atTime(h.clock.now + 1.5, [&] { h.ui.command4->click(), h.ui.Command1->click(); });
        h.ui.command4->click();
        QCOMPARE(h.clips.files().join(' '), "voxa7.wav va8.wav voxa3.wav va4.wav va12.wav");
    }

    void randomActionsKeepTheWindowConsistent_data()
    {
        QTest::addColumn<unsigned>("seed");
        for (unsigned seed = 1; seed <= 30; ++seed)
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
    }

    void randomActionsKeepTheWindowConsistent()
    {
        QFETCH(unsigned, seed);
        Harness h;
        h.clips.clipSeconds = 0.4;
        h.random.fallback.seed(seed);
        std::mt19937 rng(seed);
        const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
        int budget = 1000, depth = 0;
        QString fault, last;
        const auto check = [&](bool anywhere) {
            if (fault.isEmpty() && !(fault = h.fault(anywhere)).isEmpty())
                fault += " after " + last;
        };
        const auto act = [&] {
            --budget;
            if (h.t.stato.cacciaInCorso && pick(2)) // a child who knows the tables climbs to the euro
                return last = "right answer", type(h.ui.Text1, QString::number(h.t.stato.risultato) + '\r');
            std::vector<QWidget *> live;
            for (QWidget *w : h.namedControls())
                if (w->isVisibleTo(&h.window) && w->isEnabled())
                    live.push_back(w);
            QWidget *w = live[std::size_t(pick(int(live.size())))];
            last = h.nameOf(w);
            if (auto *b = qobject_cast<QAbstractButton *>(w); b && b != h.ui.fine)
                return pick(3) ? b->click() : pointer(b);
            if (w == h.ui.variaRitardo)
                return h.ui.variaRitardo->setValue(500 * (1 + pick(10)));
            if (w == h.ui.Text1 && h.ui.Timer1->isEnabled() && pick(2))
                return emit h.ui.Timer1->tick();
            if (w == h.ui.Text1)
                return type(h.ui.Text1, QString(QStringLiteral("07Ax -\r\b")[pick(8)]));
            if (w == h.ui.fine)
                return fine_Click(h.t); // answered No
            pointer(w);
        };
        h.pump.everyPump([&] {
            check(true);
            h.stopSequences(budget <= 0);
            if (budget > 0 && depth < 4 && pick(3) == 0)
                ++depth, act(), --depth;
        });
        while (budget > 0 && fault.isEmpty()) {
            h.clock.advance(std::uniform_real_distribution<double>(0.0, 2.0)(rng)); // the child thinks
            act();
            check(false);
        }
        QCOMPARE(fault, QString());
    }
};

QTEST_MAIN(SequencesTest)
#include "test_sequences.moc"
