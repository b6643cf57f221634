// The real clip player on SDL's dummy and disk drivers: blocking, cutting off, standing in, which file it plays.
#include "app/TabellaLayout.h"
#include "common/VoiceFolders.h"
#include "common/sound/SdlClipPlayer.h"

#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quizzolo;

namespace {

// The clip file of a row: "-" none, "FIFO", "folder", or a shape of WAV holding a steady `level`.
bool makeClip(const QString &path, const QString &shape, float level)
{
    const QMap<QString, std::tuple<int, int, double>> wavs{
        {"good", {SF_FORMAT_PCM_16, 22050, 0.3}},      {"192 kHz", {SF_FORMAT_FLOAT, 192000, 0.3}},
        {"3.04 s", {SF_FORMAT_PCM_16, 22050, 3.04}},   {"NaN", {SF_FORMAT_FLOAT, 22050, 0.3}},
        {"header only", {SF_FORMAT_PCM_16, 22050, 0}}, {"7 s", {SF_FORMAT_PCM_16, 22050, 7}}};
    if (!wavs.contains(shape))
        return shape == "-" || (shape == "FIFO" && mkfifo(QFile::encodeName(path), 0600) == 0) ||
               (shape == "folder" && QDir().mkdir(path));
    const auto [format, rate, seconds] = wavs[shape];
    SF_INFO info{0, rate, 1, SF_FORMAT_WAV | format, 0, 0};
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    const std::vector<float> frames(static_cast<std::size_t>(rate * seconds), shape == "NaN" ? NAN : level);
    const bool written = f && sf_writef_float(f, frames.data(), sf_count_t(frames.size())) == sf_count_t(frames.size());
    return f && sf_close(f) == 0 && written;
}

double secondsFor(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

class AudioTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepareApplication(); }
    void init() { qputenv("SDL_AUDIODRIVER", "dummy"); }

    // A blocking play lasts the clip, whatever driver it ended up with; a clip replaced meanwhile is heard anew.
    void syncPlayLastsTheClip_data()
    {
        QTest::addColumn<QByteArray>("driver");
        QTest::addColumn<QString>("shape"); // as makeClip() makes it
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("heardBefore"); // the file as it was when played before
        // clang-format off
        QTest::newRow("no such driver")         << QByteArray("no-such-driver") << "good" << 0.3 << "-";
        QTest::newRow("driver up, no device")   << QByteArray("disk") << "good" << 0.3 << "-";
        QTest::newRow("replaced: the new clip") << QByteArray("dummy") << "3.04 s" << 3.0 << "good";
        QTest::newRow("replaced a refused one") << QByteArray("dummy") << "good" << 0.3 << "header only";
        // clang-format on
    }

    void syncPlayLastsTheClip()
    {
        QFETCH(QByteArray, driver);
        QFETCH(QString, shape);
        QFETCH(double, seconds);
        QFETCH(QString, heardBefore);
        qputenv("SDL_AUDIODRIVER", driver);
        qputenv("SDL_DISKAUDIOFILE", "/nonexistent/folder/out.raw"); // the disk device cannot open
        SdlClipPlayer player;
        QCOMPARE(player.driverName(), QStringLiteral("dummy"));
        const QString path = dir_.filePath(QString::number(++files_) + ".wav");
        QVERIFY(makeClip(path, heardBefore, 0.5f));
        if (heardBefore != "-")
            player.play(path, PlayMode::Sync);
        QVERIFY(makeClip(path, shape, 0.5f));
        const double took = secondsFor([&] { player.play(path, PlayMode::Sync); });
        QVERIFY2(took >= seconds, qPrintable(QString::number(took)));
    }

    void asyncPlayReturnsAndANewPlayCutsItOff()
    {
        SdlClipPlayer player;
        const QString longClip = dir_.filePath("long.wav"), shortClip = dir_.filePath("short.wav");
        QVERIFY(makeClip(longClip, "7 s", 0.5f) && makeClip(shortClip, "good", 0.5f));
        player.play(longClip, PlayMode::Async); // read once: the time below is the play's, not the reading's
        const double cut = secondsFor([&] { player.play(shortClip, PlayMode::Sync); }); // its own clip only
        const double async = secondsFor([&] { player.play(longClip, PlayMode::Async); });
        QVERIFY2(async < 0.2 && cut >= 0.3 && cut < 1.5, qPrintable(QStringLiteral("%1 %2").arg(async).arg(cut)));
    }

    // A file that cannot be played gives way to the next in the lookup order, named on stderr once per run.
    void aClipThatCannotPlayGivesWayToTheNext_data()
    {
        QTest::addColumn<QStringList>("files"); // the user's, the school's, the program's
        QTest::addColumn<QString>("heard");
        QTest::addColumn<int>("named"); // files named on stderr
        using L = QStringList;
        // clang-format off
        QTest::newRow("192 kHz float")         << L{"192 kHz", "-", "good"}     << "user" << 0;
        QTest::newRow("«sette per» of 3.04 s") << L{"3.04 s", "-", "good"}      << "user" << 0;
        QTest::newRow("NaN floats")            << L{"NaN", "-", "good"}         << "program" << 1;
        QTest::newRow("header only")           << L{"header only", "-", "good"} << "program" << 1;
        QTest::newRow("7 s number")            << L{"7 s", "-", "good"}         << "program" << 1;
        QTest::newRow("FIFO")                  << L{"FIFO", "-", "good"}        << "program" << 0;
        QTest::newRow("folder")                << L{"folder", "-", "good"}      << "program" << 0;
        QTest::newRow("bad user: school")      << L{"NaN", "good", "good"}      << "school" << 1;
        QTest::newRow("none playable: beep")   << L{"NaN", "7 s", "header only"} << "beep" << 3;
        QTest::newRow("program missing: beep") << L{"-", "-", "-"}              << "beep" << 1;
        // clang-format on
    }

    void aClipThatCannotPlayGivesWayToTheNext()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, heard);
        QFETCH(int, named);
        QTemporaryDir root;
        const QStringList sources{"user", "school", "program"};
        const QStringList folders{root.filePath("user\x1b[2J"), root.filePath("school"), root.filePath("program")};
        const float levels[] = {0.9f, 0.7f, 0.5f};
        for (int i = 0; i < 3; ++i)
            QVERIFY(QDir().mkdir(folders[i]) && makeClip(folders[i] + "/voxa7.wav", files[i], levels[i]));
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(root.filePath("out.raw")));
        std::fflush(stderr);
        const int saved = dup(STDERR_FILENO),
                  log = open(qPrintable(root.filePath("stderr.txt")), O_WRONLY | O_CREAT, 0600);
        dup2(log, STDERR_FILENO);
        {
            SdlClipPlayer device;
            VoiceFirstPlayer player(device, VoiceFolders(folders[0], folders[2], {folders[1]}));
            for (int play = 0; play < (named ? 2 : 1); ++play) // twice where a name is said once
                player.play(folders[2] + "/voxa7.wav", PlayMode::Sync);
        }
        std::fflush(stderr);
        dup2(saved, STDERR_FILENO);
        close(saved);
        close(log);
        QFile out(root.filePath("out.raw")), err(root.filePath("stderr.txt"));
        QVERIFY(out.open(QFile::ReadOnly) && err.open(QFile::ReadOnly));
        // The steady level heard tells whose clip it was; the beep is a softer tone.
        const QByteArray raw = out.readAll();
        std::vector<int> loud;
        for (qsizetype i = 0; i + 1 < raw.size(); i += 2)
            if (const int s = std::abs(qFromLittleEndian<qint16>(raw.constData() + i)); s > 600)
                loud.push_back(s);
        QVERIFY(!loud.empty());
        std::nth_element(loud.begin(), loud.begin() + loud.size() / 2, loud.end());
        const double level = loud[loud.size() / 2] / 32768.0;
        QString got = "beep";
        for (int i = 0; i < 3; ++i)
            if (std::abs(level - levels[i]) < 0.05)
                got = sources[i];
        QCOMPARE(got, heard);
        // A folder's name cannot clear the teacher's terminal.
        const QString said = err.readAll();
        QVERIFY2(!said.contains(QRegularExpression("[\\x00-\\x09\\x0b-\\x1f]")), qPrintable(said));
        QCOMPARE(said.split('\n').filter(root.path()).size(), named);
    }

  private:
    QTemporaryDir dir_;
    int files_ = 0;
};

QTEST_MAIN(AudioTest)
#include "test_audio.moc"
