// Recording through SDL's disk driver, which reads a raw file as the microphone: the
// take ends about a second after the speech, never in a pause within it.
#include "VoiceSamples.h"
#include "recorder/Microphone.h"
#include "recorder/takes/SpeechEnd.h"
#include "recorder/takes/TakeProcessing.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <SDL.h>
#include <cmath>

using namespace quizzolo;
using namespace quizzolo::recorder;

class CaptureTest : public QObject {
    Q_OBJECT

  private slots:
    void takeEnds_data()
    {
        QTest::addColumn<QString>("plan");
        QTest::addColumn<double>("endsAt"); // seconds of captured sound; 0 for never
        QTest::addColumn<double>("kept");   // seconds of the processed take; 0 for refused
        QTest::addColumn<double>("noiseDb");

        QTest::newRow("word, then silence") << "s0.5,v0.7,s3" << 2.2 << 0.79 << 0.0;
        QTest::newRow("pause of half a second inside") << "s0.3,v0.4,s0.5,v0.4,s3" << 2.6 << 1.39 << 0.0;
        QTest::newRow("silence only") << "s4" << 0.0 << 0.0 << 0.0;
        QTest::newRow("key press, then the word") << "k0.02,s1.3,v0.7,s3" << 3.02 << 0.79 << 0.0;
        QTest::newRow("tap after the word") << "s0.5,v0.7,s0.3,k0.04,s3" << 2.2 << 0.79 << 30.0;
        QTest::newRow("noise as loud as the word") << "s0.5,v0.7,s3" << 0.0 << 0.0 << 5.0;
        QTest::newRow("a murmur far off, then the word") << "s0.2,m0.3,s1.1,v0.7,s2" << 3.3 << 0.79 << 0.0;
        QTest::newRow("no microphone") << "" << 0.0 << 0.0 << 0.0;
    }

    void takeEnds()
    {
        QFETCH(QString, plan);
        QFETCH(double, endsAt);
        QFETCH(double, kept);
        QFETCH(double, noiseDb);

        QByteArray raw;
        for (float v : spoken(plan, noiseDb)) {
            const auto s = static_cast<qint16>(std::lround(v * 32767));
            raw.append(reinterpret_cast<const char *>(&s), sizeof s);
        }
        QTemporaryDir dir;
        QVERIFY(plan.isEmpty() || writeBytes(dir.filePath("microphone.raw"), raw));
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIODELAY", "2"); // ~10 times faster than real time
        qputenv("SDL_DISKAUDIOFILEIN", QFile::encodeName(dir.filePath("microphone.raw")));
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(dir.filePath("speaker.raw")));

        Microphone microphone(QStringLiteral("disk"));
        QVERIFY2(microphone.available() == !plan.isEmpty(), qPrintable(microphone.problem()));
        if (plan.isEmpty()) { // nothing for the disk driver to read
            QVERIFY(microphone.problem().contains(QStringLiteral("Nessun microfono")));
            return;
        }
        microphone.start();
        std::vector<float> captured;
        SpeechEnd end;
        // Fed in steps of 10 ms up to a set length, however the device hands the sound over.
        const std::size_t window = clipRate() / 100, most = std::min<std::size_t>(raw.size() / 2, 3.5 * clipRate());
        std::size_t fed = 0;
        for (int polls = 0; polls < 2000 && !end.over() && fed + window <= most; ++polls) {
            SDL_Delay(5);
            microphone.fetch(captured);
            for (; fed + window <= std::min(captured.size(), most) && !end.over(); fed += window)
                end.feed(captured.data() + fed, window);
        }
        microphone.stop();
        QCOMPARE(end.over(), endsAt > 0);
        if (endsAt > 0)
            QVERIFY2(std::fabs(static_cast<double>(fed) / clipRate() - endsAt) < 0.06,
                     qPrintable(QString::number(static_cast<double>(fed) / clipRate())));

        captured.resize(fed);
        const ProcessedTake take = processTake(Audio{captured, clipRate(), 1}, ClipRole::Number);
        QCOMPARE(take.ok(), kept > 0);
        if (kept > 0)
            QVERIFY2(std::fabs(take.seconds - kept) < 0.03, qPrintable(QString::number(take.seconds)));
    }
};

QTEST_GUILESS_MAIN(CaptureTest)
#include "test_capture.moc"
