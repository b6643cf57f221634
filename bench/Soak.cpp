#include "Soak.h"

#include "Table.h"
#include "app/RealOutside.h"
#include "app/Tabella.h"
#include "common/sound/SdlClipPlayer.h"
#include "engine/Texts.h"
#include "modes/EuroHunt.h"
#include "modes/PacedWait.h"
#include "modes/Sequences.h"
#include "modes/answers/AnswerCheck.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <functional>
#include <malloc.h>
#include <unistd.h>
#include <vector>

using namespace quizzolo;

namespace {

// The steady clock, pushed forward over every pause while skipping.
class SkippingClock : public SteadyClock {
  public:
    double nowSeconds() const override { return real_.nowSeconds() + skipped; }
    double skipped = 0;

  private:
    SystemSteadyClock real_;
};

// The real event pump; while skipping, a wait handles what is pending and then jumps the
// clock to its deadline.
class SkippingPump : public EventPump {
  public:
    explicit SkippingPump(SkippingClock &clock) : clock_(clock), real_(clock) {}
    void processPendingEvents() override
    {
        real_.processPendingEvents();
        afterEvents();
    }
    void waitForEventsUntil(double deadlineSeconds) override
    {
        if (!skipping)
            return real_.waitForEventsUntil(deadlineSeconds);
        real_.processPendingEvents();
        clock_.skipped += std::max(0.0, deadlineSeconds - clock_.nowSeconds());
        afterEvents();
    }
    bool skipping = false;
    std::function<void()> afterEvents = [] {};

  private:
    SkippingClock &clock_;
    QtEventPump real_;
};

// Every clip goes to the real device, none is waited for.
class NoWaitPlayer : public ClipPlayer {
  public:
    explicit NoWaitPlayer(ClipPlayer &real) : real_(real) {}
    void play(const QString &path, PlayMode) override { real_.play(path, PlayMode::Async); }
    void silence() override { real_.silence(); }

  private:
    ClipPlayer &real_;
};

// Counts the questions: each one draws two values.
class CountingRandom : public RandomSource {
  public:
    float next() override { return ++drawn, real_.next(); }
    long drawn = 0;

  private:
    ClockSeededRandom real_;
};

struct Footprint {
    double heapMiB, residentMiB, lateMs;
};

Footprint footprint(Trainer &t, SkippingPump &pump)
{
    // Pause lateness on the real clock: median of five one-second pauses.
    pump.skipping = false;
    t.stato.ritardoSecondi = 1;
    std::vector<double> late;
    for (int i = 0; i < 5; ++i) {
        const double start = t.fuori.clock.nowSeconds();
        attendi(t);
        late.push_back((t.fuori.clock.nowSeconds() - start - 1.0) * 1000);
    }
    std::sort(late.begin(), late.end());
    pump.skipping = true;
    const struct mallinfo2 heap = mallinfo2();
    long pages = 0, resident = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return {static_cast<double>(heap.uordblks + heap.hblkhd) / (1 << 20),
            static_cast<double>(resident * sysconf(_SC_PAGESIZE)) / (1 << 20), late[2]};
}

// One run of each practice: a sequence without and one with result, then hunt questions
// answered right twice for every wrong answer, so the count climbs to the euro and again.
void practise(Trainer &t, SkippingPump &pump, CountingRandom &random, int cycles, int questions)
{
    for (auto *click : {&Command3_Click, &command4_Click}) {
        const long end = random.drawn + cycles; // half the cycles each, two draws a question
        QPushButton *running = click == &Command3_Click ? t.ui.Command3 : t.ui.command4;
        pump.afterEvents = [&] {
            if (random.drawn >= end && running->text() == texts::ferma)
                click(t);
        };
        click(t);
    }
    pump.afterEvents = [] {};
    for (int i = 0; i < questions; ++i) {
        Command5_Click(t);
        t.ui.Text1->setText(QString::number(t.stato.risultato + (i % 3 == 2 ? 1 : 0)));
        int enter = 13;
        Text1_KeyPress(t, enter);
    }
}

} // namespace

void soak(const QString &clipFolder, int sequenceCycles, int huntQuestions)
{
    SdlClipPlayer device;
    NoWaitPlayer player(device);
    SkippingClock clock;
    SkippingPump pump(clock);
    CountingRandom random;
    DesktopLinkOpener links;
    MessageBoxExitQuestion exitQuestion;
    ImmediateProgramEnd end(player);
    ResourcePictures pictures;
    Outside outside{clock, pump, player, random, links, exitQuestion, end, pictures};
    Tabella window(outside, clipFolder);
    window.show();
    QApplication::processEvents();
    Trainer &t = window.trainer();

    pump.skipping = true;
    practise(t, pump, random, 200, 60); // every clip, font and picture once
    const Footprint before = footprint(t, pump);
    const double startedAt = clock.nowSeconds() - clock.skipped;
    practise(t, pump, random, sequenceCycles, huntQuestions);
    const double took = clock.nowSeconds() - clock.skipped - startedAt;
    const Footprint after = footprint(t, pump);

    char what[96], base[128];
    std::snprintf(what, sizeof what, "soak heap growth, %d cycles + %d hunts", sequenceCycles, huntQuestions);
    std::snprintf(base, sizeof base, "heap %.2f -> %.2f MiB, %.0f s of work, %.1f h of pauses skipped", before.heapMiB,
                  after.heapMiB, took, clock.skipped / 3600);
    row(what, after.heapMiB - before.heapMiB, "MiB", 1, base);
    std::snprintf(base, sizeof base, "resident %.1f -> %.1f MiB", before.residentMiB, after.residentMiB);
    row("soak resident memory growth", after.residentMiB - before.residentMiB, "MiB", 4, base);
    std::snprintf(base, sizeof base, "1 s pause late by %.2f ms at the start, %.2f ms at the end", before.lateMs,
                  after.lateMs);
    row("soak change in pause lateness", after.lateMs - before.lateMs, "ms", 2, base);
}
