// The real clip player on SDL's dummy driver: blocking, cutting off, standing in.
#include "app/RealOutside.h"
#include "app/SdlClipPlayer.h"
#include "app/Tabella.h"
#include "app/TabellaLayout.h"
#include "doubles/Doubles.h"
#include "modes/SingleQuestion.h"

#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

using namespace quizzolo;

namespace {

// A PCM WAV holding a soft tone of the given length.
QByteArray wav(int rate, int channels, int bits, double seconds)
{
    const int frames = static_cast<int>(rate * seconds);
    const int bytesPerSample = bits / 8;
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    for (int i = 0; i < frames; ++i) {
        const double v = 0.3 * std::sin(2 * M_PI * 440 * i / rate);
        for (int c = 0; c < channels; ++c) {
            if (bits == 8)
                out << static_cast<quint8>(128 + v * 127);
            else
                out << static_cast<qint16>(v * 32767);
        }
    }
    QByteArray file;
    QDataStream w(&file, QIODevice::WriteOnly);
    w.setByteOrder(QDataStream::LittleEndian);
    w.writeRawData("RIFF", 4);
    w << quint32(36 + data.size());
    w.writeRawData("WAVEfmt ", 8);
    w << quint32(16) << quint16(1) << quint16(channels) << quint32(rate) << quint32(rate * channels * bytesPerSample)
      << quint16(channels * bytesPerSample) << quint16(bits);
    w.writeRawData("data", 4);
    w << quint32(data.size());
    file.append(data);
    return file;
}

QString write(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

double secondsFor(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

class SdlPlayerTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void syncPlayLastsTheClip_data();
    void syncPlayLastsTheClip();
    void asyncPlayReturnsAtOnce();
    void newPlayCutsOffTheOld();
    void unreadableClipPlaysTheBeep_data();
    void unreadableClipPlaysTheBeep();
    void noDeviceFallsBackToSilentPacing();
    void trainerGoesOnWithBrokenClips_data();
    void trainerGoesOnWithBrokenClips();

  private:
    QTemporaryDir dir_;
};

void SdlPlayerTest::initTestCase()
{
    prepareApplication();
    QVERIFY(dir_.isValid());
    qputenv("SDL_AUDIODRIVER", "dummy");
}

void SdlPlayerTest::syncPlayLastsTheClip_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("bits");
    QTest::addColumn<double>("seconds");
    QTest::newRow("16-bit mono 22050 Hz") << 22050 << 1 << 16 << 0.5;
    QTest::newRow("8-bit stereo 44100 Hz") << 44100 << 2 << 8 << 0.4;
    QTest::newRow("16-bit stereo 48000 Hz") << 48000 << 2 << 16 << 0.3;
    QTest::newRow("16-bit mono 8000 Hz") << 8000 << 1 << 16 << 0.3;
}

void SdlPlayerTest::syncPlayLastsTheClip()
{
    QFETCH(int, rate);
    QFETCH(int, channels);
    QFETCH(int, bits);
    QFETCH(double, seconds);
    SdlClipPlayer player;
    QCOMPARE(player.driverName(), QStringLiteral("dummy"));
    const QString path = write(dir_, QStringLiteral("clip%1_%2_%3.wav").arg(rate).arg(channels).arg(bits),
                               wav(rate, channels, bits, seconds));
    const double took = secondsFor([&] { player.play(path, PlayMode::Sync); });
    QVERIFY2(took >= seconds, qPrintable(QString::number(took)));
    QVERIFY2(took < seconds + 0.5, qPrintable(QString::number(took)));
}

void SdlPlayerTest::asyncPlayReturnsAtOnce()
{
    SdlClipPlayer player;
    const QString path = write(dir_, "long.wav", wav(22050, 1, 16, 2.0));
    player.play(path, PlayMode::Sync); // loaded and converted once, as in use
    const double took = secondsFor([&] { player.play(path, PlayMode::Async); });
    QVERIFY2(took < 0.1, qPrintable(QString::number(took)));
    player.silence();
}

void SdlPlayerTest::newPlayCutsOffTheOld()
{
    SdlClipPlayer player;
    const QString longClip = write(dir_, "long2.wav", wav(22050, 1, 16, 2.0));
    const QString shortClip = write(dir_, "short.wav", wav(22050, 1, 16, 0.3));
    const double took = secondsFor([&] {
        player.play(longClip, PlayMode::Async);
        player.play(shortClip, PlayMode::Sync); // waits for its own clip only
    });
    QVERIFY2(took >= 0.3 && took < 1.5, qPrintable(QString::number(took)));
}

void SdlPlayerTest::unreadableClipPlaysTheBeep_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("missing file") << "missing.wav" << QByteArray();
    QTest::newRow("not a WAV") << "text.wav" << QByteArray("questo non e' un file audio");
    QTest::newRow("truncated header") << "truncated.wav" << wav(22050, 1, 16, 0.5).left(30);
    QTest::newRow("empty file") << "empty.wav" << QByteArray("");
}

void SdlPlayerTest::unreadableClipPlaysTheBeep()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    SdlClipPlayer player;
    QString path = dir_.filePath(name);
    if (name != "missing.wav")
        path = write(dir_, name, bytes);
    // The beep built into the program stands in, and a blocking play waits for it.
    const double took = secondsFor([&] { player.play(path, PlayMode::Sync); });
    QVERIFY2(took >= 0.2 && took < 1.0, qPrintable(QString::number(took)));
}

void SdlPlayerTest::noDeviceFallsBackToSilentPacing()
{
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    SdlClipPlayer player;
    qputenv("SDL_AUDIODRIVER", "dummy");
    QCOMPARE(player.driverName(), QStringLiteral("dummy"));
    const QString path = write(dir_, "paced.wav", wav(22050, 1, 16, 0.4));
    const double took = secondsFor([&] { player.play(path, PlayMode::Sync); });
    QVERIFY2(took >= 0.4 && took < 1.0, qPrintable(QString::number(took)));
}

void SdlPlayerTest::trainerGoesOnWithBrokenClips_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("beeps");
    QTest::newRow("clip folder missing: three beeps") << "missing-folder" << 3;
    // A WAV cut short plays what it holds; only the missing product clip beeps.
    QTest::newRow("factor clips truncated") << "truncated-clips" << 1;
}

void SdlPlayerTest::trainerGoesOnWithBrokenClips()
{
    QFETCH(QString, folder);
    QFETCH(int, beeps);
    const QString path = dir_.filePath(folder);
    if (folder == "truncated-clips") {
        QDir().mkpath(path);
        for (int n = 1; n <= 9; ++n)
            for (const char *prefix : {"voxa", "va"})
                write(dir_, folder + QStringLiteral("/%1%2.wav").arg(prefix).arg(n), wav(22050, 1, 16, 0.3).left(50));
    }
    SdlClipPlayer player;
    SystemSteadyClock clock;
    QtEventPump pump(clock);
    test::ScriptedRandom random;
    random.pushQuestion(3, 4);
    test::RecordingLinkOpener links;
    test::ScriptedExitQuestion exitQuestion;
    test::ThrowingProgramEnd end(player);
    Outside outside{clock, pump, player, random, links, exitQuestion, end};
    Tabella window(outside, path);
    Trainer &t = window.trainer();
    // Unreadable clips are the beep instead, and the question and result go on as usual.
    const double took = secondsFor([&] {
        Command1_Click(t);
        Command2_Click(t);
    });
    QCOMPARE(window.controls().Label1->text(), QStringLiteral("3"));
    QCOMPARE(window.controls().Label2->text(), QStringLiteral("4"));
    QCOMPARE(window.controls().Text1->text(), QStringLiteral("12"));
    QVERIFY2(took >= beeps * 0.2, qPrintable(QString::number(took))); // each beep waited for
}

QTEST_MAIN(SdlPlayerTest)
#include "test_sdl_player.moc"
