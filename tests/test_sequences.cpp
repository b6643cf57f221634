// Endless sequences, their toggle buttons, the pause slider and the paced wait.
#include "app/RealOutside.h"
#include "doubles/Harness.h"
#include "engine/StartUp.h"
#include "engine/Texts.h"
#include "engine/Timer1Control.h"
#include "modes/EuroHunt.h"
#include "modes/PacedWait.h"
#include "modes/Sequences.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

using namespace quizzolo;
using namespace quizzolo::test;

namespace {

// Start times of the questions asked so far: a question begins with the clip of its
// first factor, voxa1..voxa9 (the tens of a result are voxa20..voxa80).
std::vector<double> questionStarts(const RecordingClipPlayer &clips)
{
    static const QRegularExpression firstFactor(QStringLiteral("^voxa[1-9]\\.wav$"));
    std::vector<double> starts;
    for (const PlayedClip &c : clips.played)
        if (firstFactor.match(c.file).hasMatch())
            starts.push_back(c.at);
    return starts;
}

// Clicks the running "Ferma" button once n questions have been asked.
void stopAfterQuestions(Harness &h, std::size_t n)
{
    h.pump.everyPump([&h, n] {
        if (questionStarts(h.clips).size() < n)
            return true;
        Command3_Click(h.t);
        return false;
    });
}

} // namespace

class SequencesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepareApplication(); }

    void sliderValueToSeconds_data();
    void sliderValueToSeconds();
    void pauseEndsExactlyOnTime_data();
    void pauseEndsExactlyOnTime();
    void sliderMovedDuringAPauseMovesItsEnd_data();
    void sliderMovedDuringAPauseMovesItsEnd();
    void firstSequencePausesOneSecond();
    void startAndStopToggleTheControls_data();
    void startAndStopToggleTheControls();
    void stopFourSecondsIntoASixSecondPause_data();
    void stopFourSecondsIntoASixSecondPause();
    void stopWhileAClipIsSpokenFinishesTheCycle();
    void restartWhileTheOldCycleFinishesNestsOneLoop();
    void tableChangedDuringASequenceAppliesNext();
    void startingASequenceEndsAPausedHunt();
    void stopKeepsTheLastPause();
    void realPauseWaitsAndHandlesEvents();
};

void SequencesTest::sliderValueToSeconds_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("seconds");
    QTest::newRow("minimum") << 500 << 1;
    QTest::newRow("999") << 999 << 1;
    QTest::newRow("1000") << 1000 << 2;
    QTest::newRow("2999") << 2999 << 5;
    QTest::newRow("3000") << 3000 << 6;
    QTest::newRow("4999") << 4999 << 9;
    QTest::newRow("maximum") << 5000 << 10;
}

void SequencesTest::sliderValueToSeconds()
{
    QFETCH(int, value);
    QFETCH(int, seconds);
    Harness h;
    h.ui.variaRitardo->setValue(value == 1000 ? 1500 : 1000); // make sure it changes
    h.ui.variaRitardo->setValue(value);
    QCOMPARE(int(h.t.stato.ritardoSecondi), seconds);
}

void SequencesTest::pauseEndsExactlyOnTime_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("minimumWaits");
    QTest::newRow("1 second") << 1 << 1;
    QTest::newRow("10 seconds") << 10 << 1;
    QTest::newRow("0 seconds: no event is processed") << 0 << 0;
}

void SequencesTest::pauseEndsExactlyOnTime()
{
    QFETCH(int, length);
    QFETCH(int, minimumWaits);
    Harness h;
    h.t.stato.ritardoSecondi = static_cast<std::int16_t>(length);
    const double start = h.clock.now;
    attendi(h.t);
    QCOMPARE(h.clock.now, start + length);
    QVERIFY(h.pump.waits >= minimumWaits);
    if (length == 0)
        QCOMPARE(h.pump.calls, 0);
}

void SequencesTest::sliderMovedDuringAPauseMovesItsEnd_data()
{
    QTest::addColumn<int>("lengthBefore");
    QTest::addColumn<double>("movedAfter");
    QTest::addColumn<int>("sliderValue");
    QTest::addColumn<double>("endsAfter");
    QTest::newRow("shorter than already waited: ends at once") << 10 << 3.0 << 500 << 3.0;
    QTest::newRow("longer: stretches from the start") << 1 << 0.5 << 5000 << 10.0;
    QTest::newRow("shorter but not yet reached") << 10 << 1.0 << 1500 << 3.0;
}

void SequencesTest::sliderMovedDuringAPauseMovesItsEnd()
{
    QFETCH(int, lengthBefore);
    QFETCH(double, movedAfter);
    QFETCH(int, sliderValue);
    QFETCH(double, endsAfter);
    Harness h;
    h.t.stato.ritardoSecondi = static_cast<std::int16_t>(lengthBefore);
    const double start = h.clock.now;
    h.pump.atTime(start + movedAfter, [&] { h.ui.variaRitardo->setValue(sliderValue); });
    attendi(h.t);
    QCOMPARE(h.clock.now, start + endsAfter);
}

void SequencesTest::firstSequencePausesOneSecond()
{
    Harness h;
    h.clips.clipSeconds = 0.5;
    stopAfterQuestions(h, 3);
    Command3_Click(h.t);
    const auto starts = questionStarts(h.clips);
    QCOMPARE(starts.size(), std::size_t(3));
    // Two clips of 0.5 s and a pause of 1 s, although the slider shows 1000.
    QCOMPARE(starts[1] - starts[0], 2.0);
    QCOMPARE(starts[2] - starts[1], 2.0);
    QCOMPARE(h.ui.variaRitardo->value(), 1000);
}

void SequencesTest::startAndStopToggleTheControls_data()
{
    QTest::addColumn<bool>("withResult");
    QTest::newRow("without result") << false;
    QTest::newRow("with result") << true;
}

void SequencesTest::startAndStopToggleTheControls()
{
    QFETCH(bool, withResult);
    Harness h;
    QPushButton *own = withResult ? h.ui.command4 : h.ui.Command3;
    QPushButton *other = withResult ? h.ui.Command3 : h.ui.command4;
    const QString idle = own->text();
    bool checkedWhileRunning = false;
    h.pump.atPump(3, [&] {
        QCOMPARE(own->text(), texts::ferma);
        QVERIFY(own->isEnabled());
        QVERIFY(!other->isEnabled() && !h.ui.Command1->isEnabled() && !h.ui.Command5->isEnabled());
        QVERIFY(h.ui.Command2->isHidden());
        QVERIFY(!h.ui.FrameRitardo->isHidden());
        QCOMPARE(h.ui.FrameRitardo->title(), withResult ? texts::ritardaRisultato : texts::ritardaOperazioni);
        QCOMPARE(h.t.stato.conRisultato, withResult);
        QCOMPARE(QApplication::focusWidget() == h.ui.variaRitardo || h.ui.variaRitardo->hasFocus() ||
                     h.window.focusWidget() == h.ui.variaRitardo,
                 true);
        (withResult ? command4_Click : Command3_Click)(h.t);
        // The stop restores everything at once, before the loop notices.
        QCOMPARE(own->text(), idle);
        QVERIFY(other->isEnabled() && h.ui.Command1->isEnabled() && h.ui.Command5->isEnabled());
        QVERIFY(h.ui.FrameRitardo->isHidden());
        QVERIFY(h.t.stato.fermaOperazioni);
        checkedWhileRunning = true;
    });
    (withResult ? command4_Click : Command3_Click)(h.t);
    QVERIFY(checkedWhileRunning);
    QCOMPARE(questionStarts(h.clips).size(), std::size_t(1));
    QCOMPARE(h.t.handlerDepth, 0);
}

void SequencesTest::stopFourSecondsIntoASixSecondPause_data()
{
    QTest::addColumn<bool>("withResult");
    QTest::newRow("without result: nothing more") << false;
    QTest::newRow("with result: result and 2 s still come") << true;
}

void SequencesTest::stopFourSecondsIntoASixSecondPause()
{
    QFETCH(bool, withResult);
    Harness h;
    h.random.pushQuestion(7, 8);
    auto click = withResult ? command4_Click : Command3_Click;
    double pauseStart = 0;
    h.pump.atPump(1, [&] { h.ui.variaRitardo->setValue(3000); }); // 6 s, while the question is spoken
    h.clips.onPlay = [&](const PlayedClip &c) {
        if (c.file == "va8.wav") {
            pauseStart = c.at + h.clips.clipSeconds;
            h.pump.atTime(pauseStart + 4.0, [&] { click(h.t); });
        }
    };
    click(h.t);
    QCOMPARE(h.ui.variaRitardo->value(), 1000);
    QCOMPARE(int(h.t.stato.ritardoSecondi), 2);
    if (withResult) {
        QCOMPARE(h.clips.files(), (QStringList{"voxa7.wav", "va8.wav", "voxa50.wav", "va6.wav"}));
        QCOMPARE(h.clips.played[2].at, pauseStart + 4.0); // the pause ended at its next check
        QCOMPARE(h.clock.now, pauseStart + 4.0 + 2 * h.clips.clipSeconds + 2.0);
        QCOMPARE(h.ui.Text1->text(), QStringLiteral("56"));
    } else {
        QCOMPARE(h.clips.files(), (QStringList{"voxa7.wav", "va8.wav"}));
        QCOMPARE(h.clock.now, pauseStart + 4.0);
    }
}

void SequencesTest::stopWhileAClipIsSpokenFinishesTheCycle()
{
    Harness h;
    h.random.pushQuestion(3, 3);
    h.clips.onPlay = [&](const PlayedClip &c) {
        if (c.file == "voxa3.wav") // handled at the next pump point, after the question
            h.pump.atPump(h.pump.calls + 1, [&] { Command3_Click(h.t); });
    };
    const double start = h.clock.now;
    Command3_Click(h.t);
    QCOMPARE(h.clips.files(), (QStringList{"voxa3.wav", "va3.wav"}));
    QCOMPARE(h.clock.now, start + 2 * h.clips.clipSeconds + 1.0); // the pause still ran
    QCOMPARE(h.ui.Command3->text(), texts::senzaRisultato);
}

void SequencesTest::restartWhileTheOldCycleFinishesNestsOneLoop()
{
    Harness h;
    int stops = 0;
    h.pump.everyPump([&] {
        const std::size_t asked = questionStarts(h.clips).size();
        if (stops == 0 && asked == 1 && h.t.handlerDepth == 1) {
            Command3_Click(h.t); // stop...
            ++stops;
            Command3_Click(h.t); // ...and start again at once: a loop nested in the old one
            return true;
        }
        if (stops == 1 && asked == 3 && h.t.handlerDepth == 2) {
            Command3_Click(h.t); // the final stop ends both
            ++stops;
            return false;
        }
        return true;
    });
    Command3_Click(h.t);
    QCOMPARE(stops, 2);
    QCOMPARE(h.t.deepestNesting, 3); // outer start, nested start, final stop
    QCOMPARE(questionStarts(h.clips).size(), std::size_t(3));
    QCOMPARE(h.ui.Command3->text(), texts::senzaRisultato);
    QVERIFY(h.t.stato.fermaOperazioni);
    QCOMPARE(h.t.handlerDepth, 0);
}

void SequencesTest::tableChangedDuringASequenceAppliesNext()
{
    Harness h;
    h.random.pushQuestion(2, 2);
    h.random.pushQuestion(1, 4);
    h.pump.atPump(1, [&] { Sel_Quizzolo_Click(h.t, 6); });
    stopAfterQuestions(h, 2);
    Command3_Click(h.t);
    QCOMPARE(h.clips.files().mid(0, 4), (QStringList{"voxa2.wav", "va2.wav", "voxa6.wav", "va4.wav"}));
}

void SequencesTest::startingASequenceEndsAPausedHunt()
{
    Harness h;
    h.t.stato.euroVinti = 7;
    h.ui.Timer1->setEnabled(true);
    h.ui.Image1->setVisible(true);
    h.ui.Text1->setReadOnly(false);
    h.pump.atPump(1, [&] { command4_Click(h.t); });
    command4_Click(h.t);
    QVERIFY(!h.ui.Timer1->isEnabled());
    QVERIFY(!h.t.stato.cacciaInCorso);
    QVERIFY(h.ui.Text1->isReadOnly());
    QVERIFY(h.ui.Image1->isHidden());
    QCOMPARE(h.t.stato.euroVinti, 7.0f);
}

void SequencesTest::stopKeepsTheLastPause()
{
    Harness h;
    h.pump.atPump(1, [&] {
        h.ui.variaRitardo->setValue(3000);
        Command3_Click(h.t); // the stop puts the slider back to 1000: 2 seconds
    });
    Command3_Click(h.t);
    QCOMPARE(int(h.t.stato.ritardoSecondi), 2);
    // The next sequence starts with that 2-second pause.
    h.clips.played.clear();
    stopAfterQuestions(h, 2);
    Command3_Click(h.t);
    const auto starts = questionStarts(h.clips);
    QCOMPARE(starts[1] - starts[0], 2 * h.clips.clipSeconds + 2.0);
}

void SequencesTest::realPauseWaitsAndHandlesEvents()
{
    SystemSteadyClock clock;
    QtEventPump pump(clock);
    FakeClock unusedClock;
    RecordingClipPlayer clips(unusedClock);
    ScriptedRandom random;
    RecordingLinkOpener links;
    ScriptedExitQuestion exitQuestion;
    ThrowingProgramEnd end(clips);
    Outside outside{clock, pump, clips, random, links, exitQuestion, end};
    Tabella window(outside, QString());
    bool handled = false;
    QTimer::singleShot(200, &window, [&] { handled = true; });
    const double start = clock.nowSeconds();
    attendi(window.trainer());
    const double waited = clock.nowSeconds() - start;
    QVERIFY(handled);
    QVERIFY2(waited >= 1.0, qPrintable(QString::number(waited)));
    QVERIFY2(waited < 1.5, qPrintable(QString::number(waited)));
}

QTEST_MAIN(SequencesTest)
#include "test_sequences.moc"
