// Measures what a child notices: how soon a question is heard, how tight the two
// spoken factors follow each other, how exact and how cheap the pauses are.
// Usage: quizzolo-bench [--quick]
#include "app/RealOutside.h"
#include "app/SdlClipPlayer.h"
#include "app/Tabella.h"
#include "app/TabellaLayout.h"
#include "modes/PacedWait.h"
#include "modes/Sequences.h"
#include "modes/SingleQuestion.h"

#include <QApplication>
#include <QDataStream>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

using namespace quizzolo;

namespace {

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// A continuous tone with no silence at either end, so gaps show in the output.
QByteArray toneWav(double seconds)
{
    const int rate = 22050;
    const int frames = static_cast<int>(rate * seconds);
    QByteArray file;
    QDataStream w(&file, QIODevice::WriteOnly);
    w.setByteOrder(QDataStream::LittleEndian);
    w.writeRawData("RIFF", 4);
    w << quint32(36 + frames * 2);
    w.writeRawData("WAVEfmt ", 8);
    w << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(rate * 2) << quint16(2) << quint16(16);
    w.writeRawData("data", 4);
    w << quint32(frames * 2);
    for (int i = 0; i < frames; ++i)
        w << static_cast<qint16>(8000 * std::sin(2 * M_PI * 440 * i / rate));
    return file;
}

void writeToneClips(const QString &folder)
{
    const QByteArray tone = toneWav(0.3);
    for (int n = 1; n <= 9; ++n)
        for (const QString &prefix : {QStringLiteral("voxa"), QStringLiteral("va")}) {
            QFile f(folder + '/' + prefix + QString::number(n) + ".wav");
            if (f.open(QIODevice::WriteOnly))
                f.write(tone);
        }
}

// Times each play() call before handing it to the real player.
class TimedPlayer : public ClipPlayer {
public:
    TimedPlayer(ClipPlayer &real, const SteadyClock &clock) : real_(real), clock_(clock) {}
    void play(const QString &path, PlayMode mode) override
    {
        starts.push_back(clock_.nowSeconds());
        real_.play(path, mode);
        ends.push_back(clock_.nowSeconds());
    }
    void silence() override { real_.silence(); }
    std::vector<double> starts, ends;

private:
    ClipPlayer &real_;
    const SteadyClock &clock_;
};

struct Rig {
    explicit Rig(ClipPlayer &player, const QString &folder)
        : timed(player, clock), end(player), outside{clock, pump, timed, random, links, exitQuestion, end},
          window(outside, folder)
    {
        window.show();
        QApplication::processEvents();
    }
    SystemSteadyClock clock;
    QtEventPump pump{clock};
    TimedPlayer timed;
    ClockSeededRandom random;
    DesktopLinkOpener links;
    MessageBoxExitQuestion exitQuestion;
    ImmediateProgramEnd end;
    Outside outside;
    Tabella window;
};

void row(const char *what, double value, const char *unit, double target, const char *baseline = "")
{
    std::printf("| %-46s | %9.2f %-3s | %-9s | %-4s | %s\n", what, value, unit,
                (std::string("< ") + std::to_string(static_cast<int>(target))).c_str(), value < target ? "ok" : "MISS",
                baseline);
}

// Click to the first clip handed to the device, over several questions.
void clickToFirstClip(const QString &folder, int rounds)
{
    qputenv("SDL_AUDIODRIVER", "dummy");
    SdlClipPlayer player;
    Rig rig(player, folder);
    std::vector<double> latency;
    for (int i = 0; i < rounds; ++i) {
        rig.timed.starts.clear();
        const double click = rig.clock.nowSeconds();
        Command1_Click(rig.window.trainer());
        latency.push_back((rig.timed.starts.front() - click) * 1000);
        Command2_Click(rig.window.trainer());
    }
    row("click to first clip queued (median)", median(latency), "ms", 20);
}

// The silence heard between the first and the second factor, read from what the
// disk driver recorded.
void gapBetweenFactors(const QString &folder, const QString &rawFile, int rounds)
{
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", rawFile.toLocal8Bit());
    {
        SdlClipPlayer player;
        Rig rig(player, folder);
        for (int i = 0; i < rounds; ++i) {
            Command1_Click(rig.window.trainer());
            Command2_Click(rig.window.trainer());
            attendi(rig.window.trainer()); // silence between questions
        }
    }
    qputenv("SDL_AUDIODRIVER", "dummy");
    QFile f(rawFile);
    if (!f.open(QIODevice::ReadOnly))
        return;
    const QByteArray raw = f.readAll();
    const auto *samples = reinterpret_cast<const qint16 *>(raw.constData());
    const qsizetype count = raw.size() / 2;
    // Silent stretches shorter than half a second are gaps between clips.
    std::vector<double> gaps;
    qsizetype silentRun = 0;
    bool sounding = false;
    for (qsizetype i = 0; i < count; ++i) {
        const bool loud = std::abs(samples[i]) > 200;
        if (loud) {
            if (sounding && silentRun > 0 && silentRun < 22050 / 2)
                gaps.push_back(silentRun * 1000.0 / 22050);
            sounding = true;
            silentRun = 0;
        } else {
            ++silentRun;
        }
    }
    // The tone's own zero crossings are a sample or two: ignore them.
    gaps.erase(std::remove_if(gaps.begin(), gaps.end(), [](double g) { return g < 0.5; }), gaps.end());
    row("silent gap between two spoken clips (median)", median(gaps), "ms", 20);
}

// How late a pause notices its end, with the real clock and event loop.
void pauseLateness(Tabella &window, int rounds)
{
    Trainer &t = window.trainer();
    t.stato.ritardoSecondi = 1;
    std::vector<double> late;
    for (int i = 0; i < rounds; ++i) {
        const double start = t.fuori.clock.nowSeconds();
        attendi(t);
        late.push_back((t.fuori.clock.nowSeconds() - start - 1.0) * 1000);
    }
    row("pause end noticed late by (median)", median(late), "ms", 5);
    row("pause end noticed late by (worst)", *std::max_element(late.begin(), late.end()), "ms", 5);
}

// CPU of a running sequence without result, slider at 10 s, against an idle loop.
void sequenceCpu(Tabella &window, double seconds)
{
    const double idleStart = cpuSeconds();
    QTimer::singleShot(static_cast<int>(seconds * 1000), [] { QApplication::exit(); });
    QApplication::exec();
    const double idle = (cpuSeconds() - idleStart) / seconds * 100;

    Trainer &t = window.trainer();
    const double start = cpuSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    QTimer::singleShot(0, [&t] { t.ui.variaRitardo->setValue(5000); });
    QTimer::singleShot(static_cast<int>(seconds * 1000), [&t] { Command3_Click(t); });
    Command3_Click(t);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const double share = (cpuSeconds() - start) / wall * 100;
    char base[64];
    std::snprintf(base, sizeof base, "idle Qt loop %.3f %%", idle);
    row("CPU of a sequence, 10 s pauses (% of a core)", share, "%", 1, base);
}

} // namespace

int main(int argc, char *argv[])
{
    const bool quick = argc > 1 && QByteArray(argv[1]) == "--quick";
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    prepareApplication();
    QTemporaryDir dir;
    writeToneClips(dir.path());

    std::printf("| %-46s | %13s | %-9s | %-4s | %s\n", "measure", "value", "target", "", "baseline");
    std::printf("|%s|\n", std::string(100, '-').c_str());
    clickToFirstClip(dir.path(), quick ? 3 : 10);
    gapBetweenFactors(dir.path(), dir.filePath("out.raw"), quick ? 2 : 5);
    qputenv("SDL_AUDIODRIVER", "dummy");
    SdlClipPlayer player;
    Rig rig(player, dir.path());
    pauseLateness(rig.window, quick ? 2 : 5);
    sequenceCpu(rig.window, quick ? 5.0 : 20.0);
    return 0;
}
