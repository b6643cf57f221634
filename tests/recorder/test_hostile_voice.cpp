// Odd, huge and hostile files in the voice folder: the trainer's player beeps for what it
// may not play and stays small; the recorder reads only regular files, writes only
// regular files inside the folder and names the real cause of a refusal in Italian.
#include "common/SdlClipPlayer.h"
#include "recorder/ClipStore.h"

#include <QDataStream>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <functional>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace quizzolo;
using namespace quizzolo::recorder;

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A header as a careless or hostile writer makes it, `written` bytes of a buzz, then the
// file stretched (sparsely, nothing stored) to `total` bytes.
bool writeWav(const QString &path, int tag, int channels, int rate, int bits, quint32 declared, qint64 written,
              qint64 total = 0)
{
    QByteArray bytes;
    QDataStream w(&bytes, QIODevice::WriteOnly);
    w.setByteOrder(QDataStream::LittleEndian);
    const int align = channels * bits / 8;
    w.writeRawData("RIFF", 4);
    w << quint32(36 + declared);
    w.writeRawData("WAVEfmt ", 8);
    w << quint32(16) << quint16(tag) << quint16(channels) << quint32(rate) << quint32(rate * align) << quint16(align)
      << quint16(bits);
    w.writeRawData("data", 4);
    w << declared;
    for (qint64 i = 0; i < written; ++i)
        w << quint8((i / std::max(1, align)) % 40 < 20 ? 0x30 : 0xd0);
    return writeFile(path, bytes) && (total == 0 || QFile::resize(path, total));
}

// What `work` writes to stderr.
QString stderrOf(const QString &file, const std::function<void()> &work)
{
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO), to = open(QFile::encodeName(file).constData(), O_WRONLY | O_CREAT, 0600);
    dup2(to, STDERR_FILENO);
    work();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(to);
    close(saved);
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()) : QString();
}

// Root passes every permission check: for the "no permission" rows this thread gives up
// that power while `work` runs. False when it could not.
bool asPlainUser(const std::function<void()> &work)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved[2]{}, lowered[2]{};
    const bool got = syscall(SYS_capget, &header, saved) == 0;
    std::copy(saved, saved + 2, lowered);
    lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
    const bool lowers = got && syscall(SYS_capset, &header, lowered) == 0;
    work();
    if (lowers)
        syscall(SYS_capset, &header, saved);
    return lowers || geteuid() != 0;
}

constexpr quint32 second16 = 22050 * 2; // one second of the program's own clips

} // namespace

class HostileVoiceTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { qputenv("SDL_AUDIODRIVER", "dummy"); }

    void playerPlaysOnlyWhatTheRuleAllows_data()
    {
        QTest::addColumn<QString>("clip");     // the file name decides the role, and so the length allowed
        QTest::addColumn<QList<int>>("shape"); // tag, channels, rate, bits
        QTest::addColumn<qint64>("declared");
        QTest::addColumn<qint64>("written"); // -1: as declared
        QTest::addColumn<qint64>("total");   // stretched sparsely to this size; 0: not
        QTest::addColumn<bool>("heard");
        using L = QList<int>;
        // clang-format off
        QTest::newRow("the program's own shape") << "va5"   << L{1, 1, 22050, 16} << qint64(second16) << -1LL << 0LL << true;
        QTest::newRow("48 kHz stereo float")     << "va5"   << L{3, 2, 48000, 32} << qint64(48000 * 8) << -1LL << 0LL << true;
        QTest::newRow("44.1 kHz 24-bit")         << "va5"   << L{1, 1, 44100, 24} << qint64(44100 * 3) << -1LL << 0LL << true;
        QTest::newRow("8 kHz 8-bit")             << "va5"   << L{1, 1, 8000, 8}   << 8000LL << -1LL << 0LL << true;
        QTest::newRow("cut short while copied")  << "va5"   << L{1, 1, 22050, 16} << qint64(second16) << 9000LL << 0LL << true;
        QTest::newRow("anthem of 29 s")          << "anthem1" << L{1, 1, 22050, 16} << qint64(29 * second16) << -1LL << 0LL << true;
        QTest::newRow("1 Hz, 1 MB")              << "va5"   << L{1, 1, 1, 16}     << 1000000LL << -1LL << 0LL << false;
        QTest::newRow("1 Hz, 2 kB")              << "va5"   << L{1, 1, 1, 16}     << 2000LL << -1LL << 0LL << false;
        QTest::newRow("200 MB at 8 kHz 8-bit")   << "va5"   << L{1, 1, 8000, 8}   << 200000000LL << 0LL << 200000044LL << false;
        QTest::newRow("number of 3 s")           << "va5"   << L{1, 1, 22050, 16} << qint64(3 * second16) << -1LL << 0LL << false;
        QTest::newRow("prompt of 10 minutes")    << "voxa_ripeti" << L{1, 1, 8000, 8} << 4800000LL << -1LL << 0LL << false;
        QTest::newRow("unknown name of 40 s")    << "altro" << L{1, 1, 22050, 16} << qint64(40 * second16) << -1LL << 0LL << false;
        QTest::newRow("5.1 channels")            << "va5"   << L{1, 6, 22050, 16} << 22050LL * 12 << -1LL << 0LL << false;
        QTest::newRow("declares 4 GB")           << "va5"   << L{1, 1, 22050, 16} << 0xfffffff0LL << 9000LL << 0LL << false;
        QTest::newRow("a-law")                   << "va5"   << L{6, 1, 8000, 8}   << 8000LL << -1LL << 0LL << false;
        QTest::newRow("a FIFO")                  << "va5"   << L{}                << 0LL << 0LL << 0LL << false;
        // clang-format on
    }

    void playerPlaysOnlyWhatTheRuleAllows()
    {
        QFETCH(QString, clip);
        QFETCH(QList<int>, shape);
        QFETCH(qint64, declared);
        QFETCH(qint64, written);
        QFETCH(qint64, total);
        QFETCH(bool, heard);
        QTemporaryDir dir;
        const QString path = dir.filePath(clip + ".wav");
        if (shape.isEmpty())
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            QVERIFY(writeWav(path, shape[0], shape[1], shape[2], shape[3], quint32(declared),
                             written < 0 ? declared : written, total));
        rusage use{};
        const auto peakKilobytes = [&use] { return getrusage(RUSAGE_SELF, &use) == 0 ? use.ru_maxrss : 0L; };
        SdlClipPlayer player;
        [[maybe_unused]] const long before = peakKilobytes();
        const QString said = stderrOf(dir.filePath("stderr.txt"), [&] { player.play(path, PlayMode::Async); });
        QCOMPARE(said.contains("impossibile leggere il file audio " + path), !heard);
#ifndef __SANITIZE_ADDRESS__ // its quarantine keeps freed memory
        QVERIFY2(peakKilobytes() - before < 50 * 1024, qPrintable(QString::number(peakKilobytes() - before)));
#endif
    }

    void importNamesTheCause_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("cause");
        // clang-format off
        QTest::newRow("missing")               << "missing"    << "non esiste";
        QTest::newRow("a folder")              << "folder"     << "è una cartella";
        QTest::newRow("a FIFO")                << "fifo"       << "non è un file normale";
        QTest::newRow("1 Hz")                  << "1hz"        << "formato non adatto";
        QTest::newRow("200 MB of 64 channels") << "64ch"       << "formato non adatto";
        QTest::newRow("no permission")         << "unreadable" << "permesso";
        // clang-format on
    }

    void importNamesTheCause()
    {
        QFETCH(QString, kind);
        QFETCH(QString, cause);
        QTemporaryDir dir;
        const QString file = dir.filePath("mio.wav");
        const QByteArray name = QFile::encodeName(file);
        QVERIFY(kind == "folder"       ? QDir().mkdir(file)
                : kind == "fifo"       ? mkfifo(name, 0600) == 0
                : kind == "1hz"        ? writeWav(file, 1, 1, 1, 16, 1000000, 1000000)
                : kind == "64ch"       ? writeWav(file, 1, 64, 22050, 16, 200000000, 0, 200000044)
                : kind == "unreadable" ? writeWav(file, 1, 1, 22050, 16, second16, second16) && chmod(name, 0) == 0
                                       : true);
        ClipStore store(VoiceFolders(dir.filePath("voce"), dir.filePath("lib")));
        ProcessedTake take;
        QVERIFY(asPlainUser([&] { take = store.import(*findClip("va5"), file); }));
        QVERIFY2(take.refusal.contains(cause), qPrintable(take.refusal));
        QVERIFY2(take.refusal.contains(file), qPrintable(take.refusal));
        QVERIFY(!QFileInfo::exists(dir.filePath("voce/va5.wav")));
    }

    // A good take saved over whatever lies at the clip's place in the voice folder.
    void saveWritesOnlyARegularFileInTheFolder_data()
    {
        QTest::addColumn<QString>("inTheWay");
        QTest::addColumn<QString>("refusal"); // empty: saved
        // clang-format off
        QTest::newRow("link to another's file") << "link"     << "";
        QTest::newRow("dangling link")          << "dangling" << "";
        QTest::newRow("a FIFO")                 << "fifo"     << "";
        QTest::newRow("a folder")               << "folder"   << "è una cartella";
        QTest::newRow("read-only voice folder") << "readonly" << "permesso";
        // clang-format on
    }

    void saveWritesOnlyARegularFileInTheFolder()
    {
        QFETCH(QString, inTheWay);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        const QString voice = dir.filePath("voce"), target = voice + "/va5.wav", other = dir.filePath("altrui.txt");
        QVERIFY(QDir().mkpath(voice));
        QVERIFY(writeFile(other, "di un altro"));
        QVERIFY(inTheWay == "link"       ? QFile::link(other, target)
                : inTheWay == "dangling" ? QFile::link(dir.filePath("nessuno"), target)
                : inTheWay == "fifo"     ? mkfifo(QFile::encodeName(target), 0600) == 0
                : inTheWay == "folder"   ? QDir().mkdir(target)
                                         : chmod(QFile::encodeName(voice), 0555) == 0);
        ProcessedTake take;
        take.samples.assign(11025, 1000);
        QString error;
        QVERIFY(asPlainUser([&] { error = ClipStore(VoiceFolders(voice, dir.filePath("lib"))).save("va5", take); }));
        chmod(QFile::encodeName(voice).constData(), 0755);
        QCOMPARE(contents(other), QByteArray("di un altro"));
        if (refusal.isEmpty()) {
            QVERIFY2(error.isEmpty(), qPrintable(error));
            QVERIFY(QFileInfo(target).isFile() && !QFileInfo(target).isSymLink());
            QVERIFY(contents(target).startsWith("RIFF"));
        } else {
            QVERIFY2(error.contains(refusal) && error.contains(voice), qPrintable(error));
        }
        QCOMPARE(QDir(voice).entryList(QDir::Hidden | QDir::Files | QDir::System).filter(".va5"), QStringList());
    }
};

QTEST_GUILESS_MAIN(HostileVoiceTest)
#include "test_hostile_voice.moc"
