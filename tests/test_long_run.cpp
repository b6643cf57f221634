// Long runs on the fake clock: ten thousand cycles of each endless sequence and a thousand
// hunt questions. The heap in use, the stack depth and the pace must not drift.
#include "doubles/Harness.h"
#include "engine/Texts.h"
#include "engine/Timer1Control.h"
#include "modes/RewardTable.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <limits>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define QUIZZOLO_HEAP_FROM_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUIZZOLO_HEAP_FROM_SANITIZER 1
#endif
#endif

#ifdef QUIZZOLO_HEAP_FROM_SANITIZER
// From the sanitizer runtime; GCC does not install its interface headers.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

using namespace quizzolo;
using namespace quizzolo::test;

namespace {

// Bytes the program holds on the heap now. Under AddressSanitizer its own allocator
// counts them (the process size there also holds freed blocks in quarantine).
std::size_t heapInUse()
{
#ifdef QUIZZOLO_HEAP_FROM_SANITIZER
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
#endif
}

long residentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

std::uintptr_t stackHere()
{
    return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
}

// Less than 4 bytes per repetition, at least one page: the smallest block the heap
// hands out is 32 bytes, so any block kept per cycle or per question shows; the
// allocator's own bookkeeping moves by a few dozen bytes at most.
std::ptrdiff_t heapGrowthAllowed(int repetitions)
{
    return std::max<std::ptrdiff_t>(4096, 4 * static_cast<std::ptrdiff_t>(repetitions));
}

void typeInto(QWidget *w, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + c.digitValue(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_0 + c.digitValue(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

void pressEnter(QWidget *w)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(w, &release);
}

} // namespace

class LongRunTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepareApplication(); }

    void sequenceCyclesStayFlat_data();
    void sequenceCyclesStayFlat();
    void huntQuestionsStayFlat_data();
    void huntQuestionsStayFlat();
};

void LongRunTest::sequenceCyclesStayFlat_data()
{
    QTest::addColumn<bool>("withResult");
    QTest::addColumn<int>("checkpoint");
    QTest::addColumn<int>("cycles");
    QTest::newRow("without result") << false << 1000 << 10000;
    QTest::newRow("with result") << true << 1000 << 10000;
}

void LongRunTest::sequenceCyclesStayFlat()
{
    QFETCH(bool, withResult);
    QFETCH(int, checkpoint);
    QFETCH(int, cycles);
    Harness h;
    h.clips.clipSeconds = 0.01;
    QPushButton *button = withResult ? h.ui.command4 : h.ui.Command3;

    int spoken = 0; // synchronous clips: each takes clipSeconds of fake time
    h.clips.onPlay = [&](const PlayedClip &c) { spoken += c.mode == PlayMode::Sync; };
    std::size_t heapAtCheckpoint = 0;
    std::size_t heapAtEnd = 0;
    long residentAtCheckpoint = 0;
    long residentAtEnd = 0;
    int nestingAtCheckpoint = 0;
    std::uintptr_t deepestEarly = std::numeric_limits<std::uintptr_t>::max();
    std::uintptr_t deepestLate = std::numeric_limits<std::uintptr_t>::max();
    int inconsistent = 0;
    h.pump.everyPump([&] {
        h.clips.played.clear(); // the record would grow; capacity is kept
        const int asked = h.random.drawn / 2;
        std::uintptr_t &deepest = asked <= checkpoint ? deepestEarly : deepestLate;
        deepest = std::min(deepest, stackHere());
        // Every cycle, the loop must still show a running sequence.
        inconsistent += button->text() != texts::ferma || h.t.handlerDepth != 1;
        if (asked == checkpoint && heapAtCheckpoint == 0) {
            heapAtCheckpoint = heapInUse();
            residentAtCheckpoint = residentKiB();
            nestingAtCheckpoint = h.t.deepestNesting;
        }
        if (asked == cycles) {
            heapAtEnd = heapInUse();
            residentAtEnd = residentKiB();
            button->click(); // stop: this cycle is the last
            return false;
        }
        return true;
    });
    const double start = h.clock.now;
    button->click();

    QCOMPARE(h.random.drawn / 2, cycles);
    QCOMPARE(inconsistent, 0);
    QCOMPARE(h.t.handlerDepth, 0);
    QCOMPARE(nestingAtCheckpoint, 1);
    QCOMPARE(h.t.deepestNesting, 2); // the start click and, nested in it, the stop click
    QVERIFY(deepestLate != std::numeric_limits<std::uintptr_t>::max());
    QCOMPARE(deepestLate, deepestEarly); // no cycle runs a frame deeper than the first ones
    QCOMPARE(button->text(), withResult ? texts::conRisultato : texts::senzaRisultato);
    QCOMPARE(h.ui.Label1->text(), QString::number(h.t.stato.fattore1));
    QCOMPARE(int(h.t.stato.risultato), h.t.stato.fattore1 * h.t.stato.fattore2);
    // The pace does not drift: clips, 1 s pauses and (with the result) 2 s after it.
    const double expected = spoken * h.clips.clipSeconds + cycles * (withResult ? 3.0 : 1.0);
    QVERIFY2(std::abs((h.clock.now - start) - expected) < 1e-6,
             qPrintable(QStringLiteral("%1 s of fake time, %2 s expected").arg(h.clock.now - start).arg(expected)));

    const auto growth = static_cast<std::ptrdiff_t>(heapAtEnd) - static_cast<std::ptrdiff_t>(heapAtCheckpoint);
    qInfo("heap in use %zu -> %zu bytes (%+td) between cycle %d and %d; resident %ld -> %ld KiB", heapAtCheckpoint,
          heapAtEnd, growth, checkpoint, cycles, residentAtCheckpoint, residentAtEnd);
    QVERIFY2(growth < heapGrowthAllowed(cycles - checkpoint),
             qPrintable(QStringLiteral("heap grew by %1 bytes").arg(growth)));
}

void LongRunTest::huntQuestionsStayFlat_data()
{
    QTest::addColumn<int>("checkpoint");
    QTest::addColumn<int>("questions");
    QTest::newRow("1000 questions, right and wrong answers") << 100 << 1000;
}

void LongRunTest::huntQuestionsStayFlat()
{
    QFETCH(int, checkpoint);
    QFETCH(int, questions);
    Harness h;
    h.clips.clipSeconds = 0.01;
    int anthems = 0;
    h.clips.onPlay = [&](const PlayedClip &c) { anthems += c.file == QLatin1String("anthem1.wav"); };

    int count = 0; // the coins as the child would count them
    int expectedAnthems = 0;
    int byTimer = 0;
    std::size_t heapAtCheckpoint = 0;
    long residentAtCheckpoint = 0;
    for (int q = 1; q <= questions; ++q) {
        if (h.ui.Timer1->isEnabled()) {
            emit h.ui.Timer1->tick(); // the next question comes by itself
            ++byTimer;
        } else {
            h.ui.Command5->click(); // after the euro, or the very first question
        }
        if (count == euroCount)
            count = 0;
        QVERIFY(h.t.stato.cacciaInCorso);
        QVERIFY(h.ui.Text1->text().isEmpty());
        // Mostly right, so the count climbs to the euro again and again; every
        // fourth answer wrong, every seventh right answer typed with a leading 0.
        const bool right = q % 4 != 0;
        const int product = h.t.stato.fattore1 * h.t.stato.fattore2;
        QString typed = QString::number(right ? product : product + 1);
        if (right && q % 7 == 0 && typed.size() == 1)
            typed.prepend(QLatin1Char('0'));
        typeInto(h.ui.Text1, typed);
        pressEnter(h.ui.Text1);
        count = right ? count + 1 : std::max(count - 1, 0);
        expectedAnthems += count == euroCount;
        QCOMPARE(h.t.stato.euroVinti, static_cast<float>(count));
        QVERIFY(!h.t.stato.cacciaInCorso);
        QCOMPARE(h.ui.Timer1->isEnabled(), count < euroCount);
        h.clips.played.clear();
        if (q == checkpoint) {
            heapAtCheckpoint = heapInUse();
            residentAtCheckpoint = residentKiB();
        }
    }
    const std::size_t heapAtEnd = heapInUse();
    const long residentAtEnd = residentKiB();

    QVERIFY(expectedAnthems >= 10);
    QCOMPARE(anthems, expectedAnthems);
    QVERIFY(byTimer > questions / 2);
    QCOMPARE(h.t.deepestNesting, 1);
    QCOMPARE(h.t.handlerDepth, 0);
    const auto growth = static_cast<std::ptrdiff_t>(heapAtEnd) - static_cast<std::ptrdiff_t>(heapAtCheckpoint);
    qInfo("heap in use %zu -> %zu bytes (%+td) between question %d and %d; resident %ld -> %ld KiB; %d euros won",
          heapAtCheckpoint, heapAtEnd, growth, checkpoint, questions, residentAtCheckpoint, residentAtEnd, anthems);
    QVERIFY2(growth < heapGrowthAllowed(questions - checkpoint),
             qPrintable(QStringLiteral("heap grew by %1 bytes").arg(growth)));
}

QTEST_MAIN(LongRunTest)
#include "test_long_run.moc"
