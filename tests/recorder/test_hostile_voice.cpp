// Odd, huge and hostile files in the voice folder: the trainer's player beeps for what it may
// not play and stays small; the recorder reads and writes only regular files, names the cause.
#include "VoiceSamples.h"
#include "common/sound/SdlClipPlayer.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quizzolo;
using namespace quizzolo::recorder;

namespace {

// A header as a careless or hostile writer makes it (shape: tag, channels, rate, bits), then
// `written` bytes of a buzz; with none, the file is stretched sparsely to the size declared.
bool writeWav(const QString &path, const QList<int> &shape, quint32 declared, qint64 written)
{
    const auto le = [](quint32 v, int n) {
        v = qToLittleEndian(v);
        return QByteArray(reinterpret_cast<const char *>(&v), n);
    };
    const int align = shape[1] * shape[3] / 8;
    QByteArray b = "RIFF" + le(36 + declared, 4) + "WAVEfmt " + le(16, 4) + le(shape[0], 2) + le(shape[1], 2) +
                   le(shape[2], 4) + le(shape[2] * align, 4) + le(align, 2) + le(shape[3], 2) + "data" +
                   le(declared, 4);
    for (qint64 i = 0; i < written; ++i)
        b += char((i / std::max(1, align)) % 40 < 20 ? 0x30 : 0xd0);
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(b) == b.size() &&
           (written > 0 || f.resize(b.size() + qint64(declared)));
}

constexpr quint32 second16 = 22050 * 2; // one second of the program's own clips

} // namespace

class HostileVoiceTest : public QObject {
    Q_OBJECT

  private slots:
    void playerPlaysOnlyWhatTheRuleAllows_data()
    {
        QTest::addColumn<QString>("clip");     // the file name decides the role, and so the length allowed
        QTest::addColumn<QList<int>>("shape"); // tag, channels, rate, bits
        QTest::addColumn<qint64>("declared");
        QTest::addColumn<qint64>("written"); // -1: as declared
        QTest::addColumn<bool>("heard");
        using L = QList<int>;
        // clang-format off
        QTest::newRow("cut short while copied") << "va5"         << L{1, 1, 22050, 16} << qint64(second16)      << 9000LL << true;
        QTest::newRow("anthem of 29 s")         << "anthem1"     << L{1, 1, 22050, 16} << qint64(29 * second16) << -1LL   << true;
        QTest::newRow("1 Hz, 1 MB")             << "va5"         << L{1, 1, 1, 16}     << 1000000LL             << -1LL   << false;
        QTest::newRow("200 MB at 8 kHz 8-bit")  << "va5"         << L{1, 1, 8000, 8}   << 200000000LL           << 0LL    << false;
        QTest::newRow("unknown name of 40 s")   << "altro"       << L{1, 1, 22050, 16} << qint64(40 * second16) << -1LL   << false;
        // clang-format on
    }

    void playerPlaysOnlyWhatTheRuleAllows()
    {
        QFETCH(QString, clip);
        QFETCH(QList<int>, shape);
        QFETCH(qint64, declared);
        QFETCH(qint64, written);
        QFETCH(bool, heard);
        QTemporaryDir dir;
        const QString path = dir.filePath(clip + ".wav");
        QVERIFY(writeWav(path, shape, quint32(declared), written < 0 ? declared : written));
        rusage use{};
        const auto peakKilobytes = [&use] { return getrusage(RUSAGE_SELF, &use) == 0 ? use.ru_maxrss : 0L; };
        SdlClipPlayer player;
        [[maybe_unused]] const long before = peakKilobytes();
        const QByteArray said = stderrOf([&] { player.play(path, PlayMode::Async); });
        QCOMPARE(said.contains(QFile::encodeName("impossibile leggere il file audio " + path)), !heard);
#ifndef __SANITIZE_ADDRESS__ // its quarantine keeps freed memory
        QVERIFY2(peakKilobytes() - before < 50 * 1024, qPrintable(QString::number(peakKilobytes() - before)));
#endif
    }

    // What the recorder does with a hostile entry as the file to import ("in") or at the
    // clip's place in the voice folder ("out", a good take saved over it).
    void recorderNamesTheCause_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("cause"); // empty: saved as a regular file
        // clang-format off
        QTest::newRow("import missing")        << "in"  << "missing"  << "non esiste";
        QTest::newRow("import a folder")       << "in"  << "folder"   << "è una cartella";
        QTest::newRow("import a FIFO")         << "in"  << "fifo"     << "non è un file normale";
        QTest::newRow("import 1 Hz")           << "in"  << "1hz"      << "formato non adatto";
        QTest::newRow("import 64 channels")    << "in"  << "64ch"     << "formato non adatto";
        QTest::newRow("import 90 s")           << "in"  << "long"     << "dura 90,0 secondi: troppo per questa voce (al massimo 2,5)";
        QTest::newRow("save over a link")      << "out" << "link"     << "";
        QTest::newRow("save, folder readonly") << "out" << "locked"   << "permesso";
        // clang-format on
    }

    void recorderNamesTheCause()
    {
        QFETCH(QString, where);
        QFETCH(QString, kind);
        QFETCH(QString, cause);
        QTemporaryDir dir;
        QFile::setPermissions(dir.path(), QFile::ExeOther | QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString voice = dir.filePath("voce"), target = voice + "/va5.wav", other = dir.filePath("altrui.wav");
        const QString at = where == "in" ? dir.filePath("mio.wav") : target;
        QVERIFY(QDir().mkpath(voice) && writeWav(other, {1, 1, 8000, 8}, 800, 800));
        const QByteArray others = contents(other);
        QVERIFY(kind == "folder"   ? QDir().mkdir(at)
                : kind == "fifo"   ? mkfifo(QFile::encodeName(at), 0600) == 0
                : kind == "1hz"    ? writeWav(at, {1, 1, 1, 16}, 1000000, 1000000)
                : kind == "64ch"   ? writeWav(at, {1, 64, 22050, 16}, 64 * 22050, 64 * 22050)
                : kind == "long"   ? writeWav(at, {1, 1, 8000, 8}, 720000, 720000)
                : kind == "link"   ? QFile::link(other, at)
                : kind == "locked" ? chmod(QFile::encodeName(voice), 0555) == 0
                                   : true);
        ClipStore store(VoiceFolders(voice, dir.filePath("lib")));
        ProcessedTake take;
        take.samples.assign(11025, 1000);
        // Root passes every permission check: the "locked" row acts as nobody.
        const int wasUser = kind == "locked" ? setfsuid(65534) : -1;
        take.refusal = where == "in" ? store.import(*findClip("va5"), at).refusal : store.save("va5", take);
        if (wasUser >= 0)
            setfsuid(wasUser);
        chmod(QFile::encodeName(voice), 0755);
        QVERIFY2(cause.isEmpty() ? take.refusal.isEmpty()
                                 : take.refusal.contains(cause) && take.refusal.contains(where == "in" ? at : voice),
                 qPrintable(take.refusal));
        QCOMPARE(contents(other), others);
        QCOMPARE(QFileInfo(target).isFile() && !QFileInfo(target).isSymLink() && contents(target).startsWith("RIFF"),
                 cause.isEmpty());
        QCOMPARE(QDir(voice).entryList(QDir::Hidden | QDir::Files | QDir::System).filter(".va5"), QStringList());
    }
};

QTEST_GUILESS_MAIN(HostileVoiceTest)
#include "test_hostile_voice.moc"
