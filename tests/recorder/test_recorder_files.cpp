// The recorder's files and folders: writes cut short, links, every clip's words as a file's
// name, each way a recording is read, errors told in Italian.
#include "VoiceSamples.h"
#include "common/sound/ClipDecoder.h"
#include "recorder/files/AudioFile.h"
#include "recorder/files/ClipStore.h"
#include "recorder/files/FileSafety.h"
#include "recorder/files/SchoolVoice.h"
#include "recorder/imports/BatchImport.h"
#include "recorder/imports/VoicePack.h"
#include "recorder/window/FileActions.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstring>
#include <sndfile.h>
#include <sys/resource.h>

using namespace quizzolo;
using namespace quizzolo::recorder;

namespace {

// Whether `got` is `want` sample by sample: each within `tolerance`, or below 0, the error's
// energy within that share of the signal's, the length within a block coder's padding and
// the start within its delay (up to 25 ms).
bool matches(const std::vector<float> &got, const std::vector<float> &want, double tolerance, int rate)
{
    const std::size_t slack = tolerance > 0 ? 0 : std::size_t(rate / 20);
    if (got.size() + slack < want.size() || got.size() > want.size() + slack) {
        qWarning("%zu samples for %zu", got.size(), want.size());
        return false;
    }
    double off = 1e9;
    for (std::size_t delay = 0; delay <= slack / 2; ++delay) {
        double largest = 0, error = 0, signal = 0;
        for (std::size_t i = 0; i + delay < std::min(got.size(), want.size()); ++i) {
            const double d = double(got[i + delay]) - double(want[i]);
            largest = std::max(largest, std::abs(d));
            error += d * d;
            signal += double(want[i]) * double(want[i]);
        }
        off = std::min(off, tolerance > 0 ? largest : std::sqrt(error / signal));
    }
    if (off > std::abs(tolerance))
        qWarning("off by %g", off);
    return off <= std::abs(tolerance);
}

} // namespace

class RecorderFilesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); } // as the recorder's main

    // A file-size limit stands for a disk that fills part-way: the write falls short.
    void writeCutShortKeepsTheOldClip_data()
    {
        QTest::addColumn<qint64>("limit"); // bytes a file may reach
        QTest::addColumn<bool>("saved");
        QTest::newRow("limit just the size") << qint64(100000) << true;
        QTest::newRow("one byte short") << qint64(99999) << false;
        QTest::newRow("full from the start") << qint64(0) << false;
    }

    void writeCutShortKeepsTheOldClip()
    {
        QFETCH(qint64, limit);
        QFETCH(bool, saved);
        QTemporaryDir dir;
        const QString clip = dir.filePath("va5.wav");
        const QByteArray old(3000, 'o'), fresh(100000, 'n');
        QVERIFY(writeFileSafely(clip, old).isEmpty());
        rlimit before{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &before) == 0);
        const rlimit cut{rlim_t(limit), before.rlim_max};
        QVERIFY(setrlimit(RLIMIT_FSIZE, &cut) == 0);
        const QString refusal = replaceInFolder(dir.path(), "va5.wav", fresh);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &before) == 0);
        QCOMPARE(refusal.contains("dimensione massima"), !saved);
        QCOMPARE(contents(clip), saved ? fresh : old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"va5.wav"});
    }

    // The voice folder may be a link (a shared or network folder); the clip lands where it points.
    void voiceFolderBehindALink_data()
    {
        QTest::addColumn<QString>("voice");     // the voice folder, under the test's folder
        QTest::addColumn<QStringList>("links"); // link=target pairs made first
        QTest::addColumn<QString>("lands");     // where the clip is then, "" when refused
        QTest::addColumn<QString>("refusal");
        // clang-format off
        QTest::newRow("a link to a folder") << "voce" << QStringList{"voce=real"} << "real" << "";
        QTest::newRow("a link to a link")   << "voce" << QStringList{"l=real", "voce=l"} << "real" << "";
        QTest::newRow("a link above it")    << "share/voce" << QStringList{"share=real"} << "real/voce" << "";
        QTest::newRow("a link to nothing")  << "voce" << QStringList{"voce=gone"} << "" << "non esiste";
        QTest::newRow("a link to itself")   << "voce" << QStringList{"voce=voce"} << "" << "gira in tondo";
        // clang-format on
    }

    void voiceFolderBehindALink()
    {
        QFETCH(QString, voice);
        QFETCH(QStringList, links);
        QFETCH(QString, lands);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("real"));
        for (const QString &l : links)
            QVERIFY(QFile::link(dir.filePath(l.section('=', 1)), dir.filePath(l.section('=', 0, 0))));
        const QString said = replaceInFolder(dir.filePath(voice), "va5.wav", "RIFF");
        QVERIFY2(refusal.isEmpty() ? said.isEmpty() : said.contains(refusal), qPrintable(said));
        QCOMPARE(QFileInfo(dir.path() + "/" + lands + "/va5.wav").isFile(), !lands.isEmpty());
        QCOMPARE(VoiceFolders(dir.filePath(voice), {}, {}).source("va5.wav") == VoiceFolders::Source::User,
                 !lands.isEmpty());
    }

    // A file named as its clip, or after the clip's words as they are, without their
    // punctuation (what a phone or another desktop leaves of them), or in another case.
    void everyClipsWordsNameItsFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("clip");
        const QByteArray catalogue = contents(QStringLiteral(QUIZZOLO_CLIP_SOURCE_DIR "/catalogue.tsv"));
        int clips = 0;
        for (const QString &line : QString::fromUtf8(catalogue).split('\n')) {
            const QStringList f = line.split('\t');
            if (f.size() < 6 || f[0] != "clip")
                continue;
            const QString name = f[1], words = f[5];
            QString bare = words;
            bare.remove(QRegularExpression("[!?.,;:«»\"']"));
            QTest::addRow("%s as it is", qPrintable(name)) << words + ".wav" << name;
            QTest::addRow("%s bare", qPrintable(name)) << bare.trimmed() + ".m4a" << name;
            ++clips;
        }
        QCOMPARE(clips, 35);
    }

    void everyClipsWordsNameItsFile()
    {
        QFETCH(QString, file);
        QFETCH(QString, clip);
        const ClipEntry *found = clipForFileName(file);
        QCOMPARE(found ? found->name : QString("(none)"), clip);
    }

    // A pack's read-me, however a desktop spelled it, is not taken for a clip.
    void readMeInAnyCase()
    {
        for (const char *name : {"LEGGIMI.txt", "leggimi.txt", "voce/Leggimi.TXT"})
            QVERIFY2(isReadMe(name) && !clipForMember(name), name);
    }

    // Each way a recording is read, written from a reference (by libsndfile, or by a command from
    // a float WAV of it, IN) and read back sample by sample: lossless within their quantisation,
    // lossy within a share of the signal; a WAV also by the trainer's clip reader.
    void everyEncodingReadsAsItsReference_data()
    {
        QTest::addColumn<int>("format");   // libsndfile's, or 0: ffmpeg's arguments in `file`
        QTest::addColumn<QString>("file"); // its name
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<double>("tolerance"); // largest difference; below 0: error share of the signal
        const int wav = SF_FORMAT_WAV;
        // clang-format off
        QTest::newRow("WAV float stereo")   << (wav | SF_FORMAT_FLOAT)      << "a.wav"  << 16000 << 2 << 1e-4;
        QTest::newRow("WAV 8 channels") << (wav | SF_FORMAT_PCM_16) << "a.wav" << 22050 << 8 << 1e-4;
        QTest::newRow("WAV MS ADPCM")       << (wav | SF_FORMAT_MS_ADPCM)   << "a.wav"  << 16000 << 1 << -0.1;
        QTest::newRow("WAV GSM")            << (wav | SF_FORMAT_GSM610)     << "a.wav"  << 8000  << 1 << -0.5;
        QTest::newRow("W64 16-bit")         << (SF_FORMAT_W64 | SF_FORMAT_PCM_16)  << "a.w64"  << 16000 << 1 << 1e-4;
        QTest::newRow("FLAC 24-bit stereo") << (SF_FORMAT_FLAC | SF_FORMAT_PCM_24) << "a.flac" << 48000 << 2 << 1e-4;
        QTest::newRow("Ogg Vorbis")         << (SF_FORMAT_OGG | SF_FORMAT_VORBIS)  << "a.ogg"  << 16000 << 1 << -0.2;
        QTest::newRow("Opus")               << (SF_FORMAT_OGG | SF_FORMAT_OPUS)    << "a.opus" << 48000 << 1 << -0.2;
        QTest::newRow("MP3")                << (SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III) << "a.mp3" << 16000 << 1 << -0.2;
        QTest::newRow("M4A AAC stereo") << 0 << "ffmpeg -v error -i IN -c:a aac -b:a 96k a.m4a" << 44100 << 2 << -0.35;
        QTest::newRow("old phone, AMR") << 0 << "sox IN -t amr-nb a.amr" << 8000 << 1 << -0.7;
        QTest::newRow("streamed WAV header") << 0 << "ffmpeg -v error -i IN -f wav - | cat > a.wav" << 16000 << 1 << 1e-4;
        QTest::newRow("MOV, a video first") << 0 << "ffmpeg -v error -i IN -f lavfi -i color=s=16x16:d=0.1 -map 1:v -map 0:a -c:v mjpeg -c:a pcm_s16be a.mov" << 16000 << 1 << 1e-4;
        // clang-format on
    }

    void everyEncodingReadsAsItsReference()
    {
        QFETCH(int, format);
        QFETCH(QString, file);
        QFETCH(int, rate);
        QFETCH(int, channels);
        QFETCH(double, tolerance);
        QTemporaryDir dir;
        // 0.6 s of voice, at a third and inverted on the other channels; what is heard is their mean.
        std::vector<float> made, mono;
        for (const float v : spoken(QStringLiteral("v0.6"), 0, 0.6, rate)) {
            float sum = 0;
            for (int c = 0; c < channels; ++c)
                sum += made.emplace_back(c == 0 ? v : -v / 3);
            mono.push_back(sum / float(channels));
        }
        const QString path = dir.filePath(file.section(' ', -1));
        SF_INFO info{0, rate, channels, format ? format : SF_FORMAT_WAV | SF_FORMAT_FLOAT, 0, 0};
        SNDFILE *out = sf_open(qPrintable(format ? path : dir.filePath("in.wav")), SFM_WRITE, &info);
        QVERIFY2(out, sf_strerror(nullptr));
        QCOMPARE(sf_writef_float(out, made.data(), sf_count_t(made.size()) / channels),
                 sf_count_t(made.size()) / channels);
        sf_close(out);
        if (!format) {
            QProcess encoder;
            encoder.setWorkingDirectory(dir.path());
            encoder.start("bash", {"-c", QString(file).replace("IN", "in.wav")});
            QVERIFY(encoder.waitForFinished(30000) && encoder.exitCode() == 0);
        }

        const AudioRead read = readAudio(path);
        QVERIFY2(read.audio, qPrintable(read.refusal));
        QCOMPARE(read.audio->rate, rate);
        QVERIFY2(matches(read.audio->samples, mono, tolerance, rate), "the recorder's reading");
        if (!path.endsWith(".wav"))
            return;
        const SDL_AudioSpec device{rate, AUDIO_F32SYS, 1, 0, 0, 0, 0, nullptr, nullptr};
        Samples bytes;
        QString why;
        QVERIFY2(ClipDecoder(device).decodeFile(path, 2.5, bytes, &why), qPrintable(why));
        std::vector<float> played(bytes.size() / sizeof(float));
        std::memcpy(played.data(), bytes.data(), played.size() * sizeof(float));
        QVERIFY2(matches(played, mono, tolerance < 0 ? tolerance : std::max(tolerance, 1 / 16384.0), rate),
                 "the trainer's reading");
    }

    // What stands at a clip's name when the teacher gives the program's clip back, or the
    // administrator takes the school's voice away: a link goes, never what it points to.
    void removingAClip_data()
    {
        QTest::addColumn<QString>("there");
        QTest::addColumn<bool>("done");
        QTest::newRow("nothing") << "" << true;
        QTest::newRow("a file") << "file" << true;
        QTest::newRow("a link to a file elsewhere") << "link" << true;
        QTest::newRow("a folder") << "folder" << false;
    }

    void removingAClip()
    {
        QFETCH(QString, there);
        QFETCH(bool, done);
        for (const bool school : {false, true}) {
            QTemporaryDir dir;
            const QString voice = dir.filePath("voce"), clip = voice + "/va5.wav", elsewhere = dir.filePath("va5.wav");
            QVERIFY(QDir().mkpath(voice) && writeFileSafely(elsewhere, "RIFF").isEmpty());
            QVERIFY(there != "file" || writeFileSafely(clip, "RIFF").isEmpty());
            QVERIFY(there != "link" || QFile::link(elsewhere, clip));
            QVERIFY(there != "folder" || QDir().mkpath(clip));
            const bool said =
                school ? removeSchoolVoice(voice).ok : ClipStore(VoiceFolders(voice, {})).restore("va5").isEmpty();
            QCOMPARE(said, done);
            QCOMPARE(QFileInfo(clip).exists() || QFileInfo(clip).isSymLink(), !done);
            QCOMPARE(contents(elsewhere), QByteArray("RIFF"));
        }
    }

    // Folders that are not there: without a voice folder of her own (no home) a clip in the
    // current folder is not the user's; a missing school folder is not one she is kept out of.
    void foldersThatAreNotThere()
    {
        QTemporaryDir dir;
        QVERIFY(writeFileSafely(dir.filePath("va5.wav"), "RIFF").isEmpty());
        const QString before = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const VoiceFolders folders({}, {}, {dir.filePath("nessuna"), dir.path()});
        QVERIFY(folders.source("va5.wav") != VoiceFolders::Source::User);
        QDir::setCurrent(before);
        QCOMPARE(unreadableSchoolFolders(folders), QStringList());
    }

    // A path is shown from the home folder on only when it lies inside it.
    void pathsShownFromHome()
    {
        QTemporaryDir home;
        const QByteArray before = qgetenv("HOME");
        qputenv("HOME", home.path().toUtf8());
        const QStringList shown{readablePath(home.path() + "/voce"), readablePath(home.path() + "bella/voce")};
        qputenv("HOME", before);
        QCOMPARE(shown, (QStringList{"~/voce", home.path() + "bella/voce"}));
    }

    // The errors a teacher meets on saving or importing, told in Italian with what they concern;
    // the rest with their own text too, never as a bare number.
    void everyErrorHasItsText_data()
    {
        QTest::addColumn<QList<int>>("errors");
        QTest::addColumn<QString>("says");
        QTest::newRow("missing") << QList<int>{ENOENT} << "non esiste";
        QTest::newRow("not allowed") << QList<int>{EACCES, EPERM} << "permesso";
        QTest::newRow("read-only") << QList<int>{EROFS} << "sola lettura";
        QTest::newRow("full") << QList<int>{ENOSPC, EDQUOT} << "pieno";
        QTest::newRow("every other") << QList<int>{EIO,    ENOTDIR,   ENAMETOOLONG, ENOMEM, EBUSY,     EAGAIN, EXDEV,
                                                   EEXIST, EOVERFLOW, EINVAL,       ESTALE, ETIMEDOUT, ENXIO}
                                     << "";
    }

    void everyErrorHasItsText()
    {
        QFETCH(QList<int>, errors);
        QFETCH(QString, says);
        for (const int error : errors) {
            const QString text = causeOf(error, "/scuola/va5.wav");
            QVERIFY2(text.contains(says) && text.contains("/scuola/va5.wav") && !text.contains("(errore"),
                     qPrintable(text));
        }
        QVERIFY(causeOf(EPROTO, "/scuola/va5.wav").contains("errore 71")); // the rest: at least which
    }
};

QTEST_MAIN(RecorderFilesTest)
#include "test_recorder_files.moc"
