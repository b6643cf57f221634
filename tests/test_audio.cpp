// The real clip player on SDL's dummy driver: blocking, cutting off, standing in.
#include "app/TabellaLayout.h"
#include "common/SdlClipPlayer.h"

#include <QDataStream>
#include <QTemporaryDir>
#include <QtTest>

using namespace quizzolo;

namespace {

// A PCM WAV of silence; `keep` bytes of it (all when negative).
QByteArray wav(int rate, int channels, int bits, double seconds, int keep = -1)
{
    QByteArray file;
    QDataStream w(&file, QIODevice::WriteOnly);
    w.setByteOrder(QDataStream::LittleEndian);
    const int frames = int(rate * seconds), bytes = frames * channels * bits / 8;
    w.writeRawData("RIFF", 4);
    w << quint32(36 + bytes);
    w.writeRawData("WAVEfmt ", 8);
    w << quint32(16) << quint16(1) << quint16(channels) << quint32(rate) << quint32(rate * channels * bits / 8)
      << quint16(channels * bits / 8) << quint16(bits);
    w.writeRawData("data", 4);
    w << quint32(bytes);
    file.append(QByteArray(bytes, bits == 8 ? char(128) : char(0))); // silence paces like speech
    return keep < 0 ? file : file.left(keep);
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

    // A blocking play returns at the clip's end, whatever the driver it ended up with; a
    // clip replaced while the program runs is heard as it now is.
    void syncPlayLastsTheClip_data()
    {
        QTest::addColumn<QByteArray>("driver");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QByteArray>("heardBefore"); // the file as it was when played before
        // clang-format off
        QTest::newRow("16-bit mono 22050 Hz")   << QByteArray("dummy") << wav(22050, 1, 16, 0.3) << 0.3 << QByteArray();
        QTest::newRow("8-bit stereo 44100 Hz")  << QByteArray("dummy") << wav(44100, 2, 8, 0.25) << 0.25 << QByteArray();
        QTest::newRow("missing: the beep")      << QByteArray("dummy") << QByteArray() << 0.2 << QByteArray();
        QTest::newRow("cut header: the beep")   << QByteArray("dummy") << wav(22050, 1, 16, 0.5, 30) << 0.2 << QByteArray();
        QTest::newRow("no such driver")         << QByteArray("no-such-driver") << wav(22050, 1, 16, 0.25) << 0.25 << QByteArray();
        QTest::newRow("driver up, no device")   << QByteArray("disk") << wav(22050, 1, 16, 0.25) << 0.25 << QByteArray();
        QTest::newRow("replaced: the new clip") << QByteArray("dummy") << wav(22050, 1, 16, 0.3) << 0.3 << wav(22050, 1, 16, 0.05);
        // clang-format on
    }

    void syncPlayLastsTheClip()
    {
        QFETCH(QByteArray, driver);
        QFETCH(QByteArray, bytes);
        QFETCH(double, seconds);
        QFETCH(QByteArray, heardBefore);
        qputenv("SDL_AUDIODRIVER", driver);
        qputenv("SDL_DISKAUDIOFILE", "/nonexistent/folder/out.raw"); // the disk device cannot open
        SdlClipPlayer player;
        QCOMPARE(player.driverName(), QStringLiteral("dummy"));
        const QString path = dir_.filePath(QString::number(++files_) + ".wav");
        const auto write = [&](const QByteArray &content) {
            QFile f(path);
            return content.isEmpty() || (f.open(QIODevice::WriteOnly) && f.write(content) == content.size());
        };
        QVERIFY(write(heardBefore));
        if (!heardBefore.isEmpty())
            player.play(path, PlayMode::Sync);
        QVERIFY(write(bytes));
        const double took = secondsFor([&] { player.play(path, PlayMode::Sync); });
        QVERIFY2(took >= seconds, qPrintable(QString::number(took)));
    }

    void asyncPlayReturnsAndANewPlayCutsItOff()
    {
        SdlClipPlayer player;
        const QString longClip = dir_.filePath("long.wav"), shortClip = dir_.filePath("short.wav");
        for (const auto &[path, seconds] : {std::pair{longClip, 2.0}, std::pair{shortClip, 0.3}}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(wav(22050, 1, 16, seconds)) > 0);
        }
        const double async = secondsFor([&] { player.play(longClip, PlayMode::Async); });
        const double cut = secondsFor([&] { player.play(shortClip, PlayMode::Sync); }); // its own clip only
        QVERIFY2(async < 0.2 && cut >= 0.3 && cut < 1.5, qPrintable(QStringLiteral("%1 %2").arg(async).arg(cut)));
    }

  private:
    QTemporaryDir dir_;
    int files_ = 0;
};

QTEST_MAIN(AudioTest)
#include "test_audio.moc"
