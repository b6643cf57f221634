// Importing a take: decoded, trimmed, levelled, 22,050 Hz mono 16-bit,
// refused when unusable, and never half-written over the clip there was.
#include "VoiceSamples.h"
#include "recorder/takes/SpeechEnd.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <numeric>
#include <sndfile.h>

using namespace quizzolo;
using namespace quizzolo::recorder;

namespace {

// The voice lasts from 0.8 s, with a second of silence after it; every channel the same.
bool writeInput(const QString &path, int format, int rate, int channels, double voiced, double peak, double noiseDb)
{
    SF_INFO info{0, rate, channels, format, 0, 0};
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    std::vector<float> frames;
    for (float v : spoken(QStringLiteral("s0.8,v%1,s1").arg(voiced), noiseDb, peak, rate))
        frames.insert(frames.end(), static_cast<std::size_t>(channels), v);
    return f && sf_writef_float(f, frames.data(), static_cast<sf_count_t>(frames.size()) / channels) > 0 &&
           sf_close(f) == 0;
}

constexpr int wav16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;

} // namespace

class TakeProcessingTest : public QObject {
    Q_OBJECT

  private slots:
    void import_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<double>("voiced");
        QTest::addColumn<double>("amplitude");
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("outcome"); // "kept", "warned" or the refusal's key word
        QTest::addColumn<double>("noiseDb");  // under the voice; 0 for none

        const int flac = SF_FORMAT_FLAC | SF_FORMAT_PCM_16, ogg = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
        const int fl = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        // clang-format off
        QTest::newRow("48 kHz FLAC, soft")       << flac  << 48000 << 1 << 0.8 << 0.05 << "voxa50"      << "kept" << 0.0;
        QTest::newRow("Ogg Vorbis from a phone") << ogg   << 44100 << 2 << 0.7 << 0.3  << "va8"         << "kept" << 0.0;
        QTest::newRow("16 kHz float WAV")        << fl    << 16000 << 1 << 0.5 << 0.9  << "va2"         << "kept" << 0.0;
        QTest::newRow("too quiet")               << wav16 << 44100 << 1 << 0.6 << 0.01 << "va5"         << "basso" << 0.0;
        QTest::newRow("clipped")                 << wav16 << 44100 << 2 << 0.6 << 1.6  << "va5"         << "distorto" << 0.0;
        QTest::newRow("number over 2.5 s")       << wav16 << 22050 << 1 << 2.7 << 0.5  << "va5"         << "dura" << 0.0;
        QTest::newRow("anthem at full scale")    << wav16 << 44100 << 2 << 3.0 << 1.6  << "anthem1"     << "kept" << 0.0;
        QTest::newRow("praise over 1 s")         << wav16 << 44100 << 1 << 1.4 << 0.5  << "voxa_esatto" << "warned" << 0.0;
        QTest::newRow("soft voice 30 dB over noise") << wav16 << 44100 << 1 << 0.6 << 0.2 << "va5" << "kept" << 30.0;
        // clang-format on
    }

    void import()
    {
        QFETCH(int, format);
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(double, voiced);
        QFETCH(double, amplitude);
        QFETCH(QString, clip);
        QFETCH(QString, outcome);
        QFETCH(double, noiseDb);

        QTemporaryDir dir;
        const QString input = dir.filePath("take"), user = dir.filePath("voce"), target = user + "/" + fileNameOf(clip);
        QVERIFY(writeInput(input, format, rate, channels, voiced, amplitude, noiseDb));
        const QByteArray before = "an earlier take";
        QVERIFY(writeBytes(target, before));

        ClipStore store(VoiceFolders(user, dir.filePath(QStringLiteral("lib"))));
        const ProcessedTake take = store.import(*findClip(clip), input);
        QCOMPARE(QDir(user).entryList(QDir::Files), QStringList{fileNameOf(clip)}); // no temporary left
        if (outcome != QLatin1String("kept") && outcome != QLatin1String("warned")) {
            QVERIFY2(take.refusal.contains(outcome), qPrintable(take.refusal));
            QVERIFY2(!take.refusal.contains(QStringLiteral("microfono")), qPrintable(take.refusal)); // a file
            QCOMPARE(contents(target), before);
            return;
        }
        QVERIFY2(take.ok(), qPrintable(take.refusal));
        QCOMPARE(take.warnings.isEmpty(), outcome == QLatin1String("kept"));

        const std::optional<Audio> out = readAudioFile(target);
        QVERIFY(out && out->rate == 22050 && out->channels == 1);
        QCOMPARE(contents(target).size(), 44 + 2 * qsizetype(out->samples.size())); // 16-bit PCM
        // The silences are gone, up to the short margins kept around the voice.
        QVERIFY2(out->seconds() > voiced - 0.05 && out->seconds() < voiced + 0.12,
                 qPrintable(QString::number(out->seconds())));
        const auto &s = out->samples;
        const double peak = peakDbfs(s.data(), s.size());
        const double rms = decibels(std::sqrt(std::inner_product(s.begin(), s.end(), s.begin(), 0.0) / s.size()));
        // As loud as the program's clips: peak -3 dBFS unless the RMS reaches -16 dBFS first.
        QVERIFY2(std::fabs(std::max(peak + 3.0, rms + 16.0)) < 0.3,
                 qPrintable(QStringLiteral("%1, %2 dB").arg(peak).arg(rms)));
        // Faded: no click at either end.
        QVERIFY(std::fabs(out->samples.front()) < 0.01f && std::fabs(out->samples.back()) < 0.01f);
    }

    // Takes processed directly: where the kept part lies, and the reason given.
    void take_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("plan");    // as spoken() reads it
        QTest::addColumn<double>("noiseDb");  // under the voice; 0 for none
        QTest::addColumn<QString>("outcome"); // "kept" (with no warning), or the refusal's or warning's key words
        QTest::addColumn<double>("from");     // where the word lies, when kept
        QTest::addColumn<double>("to");

        const int rec = int(TakeSource::Recorded), limit = int(TakeSource::RecordedUntilTimeLimit);
        // clang-format off
        QTest::newRow("word in hiss, no silence around")       << rec   << "v0.5"              << 20.0 << "kept" << 0.0 << 0.5;
        QTest::newRow("word 22 dB over noise")                 << rec   << "s0.5,v0.7,s1"      << 22.0 << "kept" << 0.5 << 1.2;
        QTest::newRow("word 15 dB over noise")                 << rec   << "s0.5,v0.7,s1"      << 15.0 << "rumore di fondo" << 0.0 << 0.0;
        QTest::newRow("two words 0.17 s apart")                 << rec   << "s0.3,v0.4,s0.17,v0.4,s0.5" << 0.0 << "kept" << 0.3 << 1.27;
        QTest::newRow("two sentences, a pause between")        << rec   << "s0.3,v0.5,s0.3,v1.0,s0.3" << 0.0 << "kept" << 0.3 << 2.1;
        QTest::newRow("a knock apart after the words")         << rec   << "s0.3,v0.7,s0.3,v0.15,s0.3" << 0.0 << "staccato" << 0.3 << 1.45;
        QTest::newRow("children before and after the words")   << rec   << "c0.6,v0.6,c0.4"    << 0.0  << "kept" << 0.6 << 1.2;
        QTest::newRow("children nearly as loud, held to talk")  << rec   << "C0.5,v0.6,C0.4"    << 0.0  << "kept" << 0.5 << 1.1;
        QTest::newRow("one flat peak in the word")             << rec   << "s0.3,v0.3,p0.001,v0.3,s0.3" << 0.0 << "kept" << 0.3 << 0.9;
        QTest::newRow("only a key press")                      << rec   << "s0.5,k0.02,s0.98"  << 0.0  << "bassa" << 0.0 << 0.0;
        QTest::newRow("time up while speaking, started late")  << limit << "s1.5,v3"           << 0.0  << "comincia subito" << 0.0 << 0.0;
        QTest::newRow("time up while speaking from the start") << limit << "s0.3,v4.2"         << 0.0  << "più in fretta" << 0.0 << 0.0;
        QTest::newRow("time up, the word had ended")           << limit << "s0.5,v0.7,s3.3"    << 25.0 << "tieni premuto Spazio" << 0.5 << 1.2;
        QTest::newRow("time up in a loud room")                << limit << "s0.5,v0.7,s3.3"    << 10.0 << "rumore di fondo" << 0.0 << 0.0;
        // clang-format on
    }

    void take()
    {
        QFETCH(int, source);
        QFETCH(QString, plan);
        QFETCH(double, noiseDb);
        QFETCH(QString, outcome);
        QFETCH(double, from);
        QFETCH(double, to);

        const ProcessedTake take =
            processTake(Audio{spoken(plan, noiseDb), clipRate(), 1}, ClipRole::Number, TakeSource(source));
        const QString said = take.refusal + take.warningText();
        QVERIFY2(outcome == "kept" ? take.ok() && take.warnings.isEmpty() : said.contains(outcome), qPrintable(said));
        // The word and nothing else, within 0.1 s at either end.
        QVERIFY2(!take.ok() || (std::fabs(take.from - from) < 0.1 && std::fabs(take.to - to) < 0.1),
                 qPrintable(QStringLiteral("%1-%2 s").arg(take.from).arg(take.to)));
    }
};

QTEST_GUILESS_MAIN(TakeProcessingTest)
#include "test_take_processing.moc"
