// Measures what a child notices: how soon a question is heard, how tight the two
// spoken factors follow each other, how exact and how cheap the pauses are.
// A soak ends the table: memory and pace stay flat over a long run.
// Usage: quizzolo-bench [--quick | --startup]  (--startup: only start-up and memory, more rounds)
#include "Soak.h"
#include "Table.h"
#include "app/RealOutside.h"
#include "app/Tabella.h"
#include "app/TabellaLayout.h"
#include "common/sound/SdlClipPlayer.h"
#include "modes/PacedWait.h"
#include "modes/Sequences.h"
#include "modes/SingleQuestion.h"

#include <QApplication>
#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
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
    Rig(ClipPlayer &player, const QString &folder, bool show = true)
        : timed(player, clock), end(player), outside{clock, pump, timed, random, links, exitQuestion, end, pictures},
          window(outside, folder)
    {
        if (!show)
            return;
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
    ResourcePictures pictures;
    Outside outside;
    Tabella window;
};

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
void sequenceCpu(Tabella &window, double seconds, const char *what)
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
    row(what, share, "%", 1, base);
}

// Notices the first paint of any widget (the trainer's window is covered by its children).
class FirstPaint : public QObject {
  public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && painted < 0)
            painted = timer.nsecsElapsed() / 1e6;
        return false;
    }
    QElapsedTimer timer;
    double painted = -1;
};

double peakMemoryMiB()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024.0;
}

// Runs in a fresh process: start-up to the first painted frame, and peak memory,
// either of the trainer (as main() builds it) or of a bare window of the same size.
int startupChild(int argc, char *argv[], const QByteArray &which)
{
    // From the parent's launch, so loading the program and its libraries counts too.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point launched{std::chrono::nanoseconds(argc > 2 ? QByteArray(argv[2]).toLongLong() : 0)};
    FirstPaint probe;
    probe.timer.start();
    QApplication app(argc, argv);
    std::unique_ptr<SdlClipPlayer> player;
    std::unique_ptr<Rig> rig;
    std::unique_ptr<QWidget> bare;
    QWidget *window = nullptr;
    if (which == "--child-trainer" || which == "--child-board") {
        prepareApplication();
        player = std::make_unique<SdlClipPlayer>();
        rig = std::make_unique<Rig>(*player, QCoreApplication::applicationDirPath(), false);
        window = &rig->window;
    } else {
        bare = std::make_unique<QWidget>();
        bare->setFixedSize(800, 600);
        if (which == "--child-bare-text") {
            // Any window with text pays for the font system once.
            auto *text = new QLabel(QStringLiteral("Chiedimi una operazione"), bare.get());
            text->setFont(QFont(QStringLiteral("Arial"), 18, QFont::Bold));
            text->setGeometry(10, 10, 400, 40);
        }
        window = bare.get();
    }
    app.installEventFilter(&probe);
    if (which == "--child-board")
        rig->window.setBoardView(true); // full screen
    else
        window->show();
    // The whole widget tree paints in the same pass as the window: the frame is
    // complete when the pass that delivered the first paint returns.
    while (probe.painted < 0 && probe.timer.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double frameComplete = std::chrono::duration<double, std::milli>(Clock::now() - launched).count();
    std::printf("%f %f\n", frameComplete, peakMemoryMiB());
    return 0;
}

struct Startup {
    double firstPaintMs = 0;
    double peakMiB = 0;
};

Startup measureStartup(const QString &self, const char *which, int rounds)
{
    std::vector<double> paint, memory;
    for (int i = 0; i < rounds; ++i) {
        QProcess child;
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        child.start(self, {QString::fromLatin1(which),
                           QString::number(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count())});
        child.waitForFinished(30000);
        const QList<QByteArray> parts = child.readAllStandardOutput().trimmed().split(' ');
        if (parts.size() == 2) {
            paint.push_back(parts[0].toDouble());
            memory.push_back(parts[1].toDouble());
        }
    }
    return {median(paint), median(memory)};
}

void startupAgainstBareWindow(const QString &self, int rounds)
{
    const Startup bare = measureStartup(self, "--child-bare", rounds);
    const Startup text = measureStartup(self, "--child-bare-text", rounds);
    const Startup mine = measureStartup(self, "--child-trainer", rounds);
    char base[160];
    std::snprintf(base, sizeof base, "bare window %.1f ms (x%.2f); with one label %.1f ms (x%.2f)", bare.firstPaintMs,
                  mine.firstPaintMs / bare.firstPaintMs, text.firstPaintMs, mine.firstPaintMs / text.firstPaintMs);
    row("launch to first complete frame (median)", mine.firstPaintMs, "ms", 1000, base);
    std::snprintf(base, sizeof base, "bare window %.1f MiB (x%.2f); with one label %.1f MiB (x%.2f)", bare.peakMiB,
                  mine.peakMiB / bare.peakMiB, text.peakMiB, mine.peakMiB / text.peakMiB);
    row("peak memory", mine.peakMiB, "MiB", 200, base);
    const Startup board = measureStartup(self, "--child-board", rounds);
    std::snprintf(base, sizeof base, "%.1f ms, full screen %dx%d", board.firstPaintMs,
                  QApplication::primaryScreen()->size().width(), QApplication::primaryScreen()->size().height());
    row("board view start, % of the designed window's", 100 * board.firstPaintMs / mine.firstPaintMs, "%", 150, base);
}

// Without a display the screen is a 1920 x 1080 board, as in a classroom.
void offscreenBoard(QTemporaryDir &dir)
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY"))
        return;
    QFile config(dir.filePath("screen.json"));
    if (config.open(QIODevice::WriteOnly))
        config.write(R"({"screens": [{"name": "board", "x": 0, "y": 0, "width": 1920, "height": 1080,
                         "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
}

} // namespace

int main(int argc, char *argv[])
{
    QTemporaryDir screenDir;
    offscreenBoard(screenDir);
    if (argc > 1 && QByteArray(argv[1]).startsWith("--child-"))
        return startupChild(argc, argv, QByteArray(argv[1]));
    const bool quick = argc > 1 && QByteArray(argv[1]) == "--quick";
    const bool startupOnly = argc > 1 && QByteArray(argv[1]) == "--startup";
    QApplication app(argc, argv);
    prepareApplication();
    QTemporaryDir dir;
    writeToneClips(dir.path());

    std::printf("| %-46s | %13s | %-9s | %-4s | %s\n", "measure", "value", "target", "", "baseline");
    std::printf("|%s|\n", std::string(100, '-').c_str());
    qputenv("SDL_AUDIODRIVER", "dummy");
    startupAgainstBareWindow(QCoreApplication::applicationFilePath(), quick ? 3 : startupOnly ? 21 : 9);
    if (startupOnly)
        return 0;
    clickToFirstClip(dir.path(), quick ? 3 : 10);
    gapBetweenFactors(dir.path(), dir.filePath("out.raw"), quick ? 2 : 5);
    qputenv("SDL_AUDIODRIVER", "dummy");
    SdlClipPlayer player;
    Rig rig(player, dir.path());
    pauseLateness(rig.window, quick ? 2 : 5);
    sequenceCpu(rig.window, quick ? 5.0 : 20.0, "CPU of a sequence, 10 s pauses (% of a core)");
    rig.window.setBoardView(true);
    sequenceCpu(rig.window, quick ? 5.0 : 10.0, "the same in the board view, 1920x1080");
    soak(QStringLiteral(QUIZZOLO_CLIP_SOURCE_DIR), quick ? 1000 : 10000, quick ? 100 : 1000);
    return 0;
}
