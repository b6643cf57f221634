// A voice carried between computers: packs as teachers and hostile senders make them, where
// it is exported, the school's voice, what the command line prints of outside names.
#include "VoiceSamples.h"
#include "recorder/files/FileSafety.h"
#include "recorder/files/SchoolVoice.h"
#include "recorder/imports/CommandLine.h"
#include "recorder/imports/VoicePack.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

using namespace quizzolo;
using namespace quizzolo::recorder;

namespace {

// Runs a tool in `dir`; true when it succeeded.
bool run(const QString &dir, const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.setWorkingDirectory(dir);
    p.start(program, arguments);
    return p.waitForFinished() && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

class VoicePackTest : public QObject {
    Q_OBJECT

  private slots:
    void packs_data()
    {
        QTest::addColumn<QString>("how"); // how the pack in DIR/in is made, see packs()
        QTest::addColumn<QStringList>("imported");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QString>("told"); // in the result's text
        // clang-format off
        QTest::newRow("exported: a zip")         << "export pack.zip"  << QStringList{"voxa7", "va5"} << true  << "Importate 2 voci da pack.zip: voxa7, va5.";
        QTest::newRow("names out of the folder") << "members ../../va5.wav /etc/VOXA7.WAV" << QStringList{"voxa7", "va5"} << true << "Importate 2";
        QTest::newRow("not a clip's name")       << "members canzone.wav" << QStringList{}            << true  << "non è il nome di una voce di Quizzolo (canzone.wav)";
        QTest::newRow("a text named as a clip")  << "text va6.wav"     << QStringList{}               << true  << "va6.wav";
        QTest::newRow("links and a FIFO")       << "links"            << QStringList{"va5"}          << true  << "va6.wav: non è un file normale";
        QTest::newRow("too big a member")        << "huge va5.wav"     << QStringList{}               << true  << "va5.wav: è troppo grande";
        QTest::newRow("one clip, many members")  << "flood"            << QStringList{}               << true  << "troppi file per la stessa voce";
        QTest::newRow("not a pack")              << "bytes"            << QStringList{}               << false << "non è un file di voce";
        QTest::newRow("cut short")               << "cut"              << QStringList{}               << false << "danneggiato o troncato";
        // clang-format on
    }

    void packs()
    {
        QFETCH(QString, how);
        QFETCH(QStringList, imported);
        QFETCH(bool, readable);
        QFETCH(QString, told);
        QTemporaryDir dir;
        const QString in = dir.filePath("in"), pack = dir.filePath(how.startsWith("export") ? how.mid(7) : "pack.in");
        const QStringList words = how.split(' ');
        QVERIFY(writeBytes(in + "/va5.wav", word()));
        if (words[0] == "export") {
            QVERIFY(writeBytes(dir.filePath("a/voxa7.wav"), word()) &&
                    QFile::copy(in + "/va5.wav", dir.filePath("a/va5.wav")));
            QVERIFY(exportVoicePack(ClipStore(VoiceFolders(dir.filePath("a"), {})), pack).ok);
        } else if (words[0] == "links") { // a link, a hard link and a FIFO, each named as a clip
            QVERIFY(QFile::link("/etc/passwd", in + "/va6.wav") &&
                    mkfifo(QFile::encodeName(in + "/va8.wav"), 0600) == 0 &&
                    link(QFile::encodeName(in + "/va5.wav"), QFile::encodeName(in + "/va7.wav")) == 0);
            QVERIFY(run(in, "tar", {"-cf", pack, "va5.wav", "va6.wav", "va7.wav", "va8.wav"}));
        } else if (words[0] == "flood") { // the same clip thirty times, each 41 s of silence at 192 kHz
            QVERIFY(run(in, "sox", {"-n", "-r", "192000", "long.flac", "trim", "0", "41"}));
            const QByteArray bytes = contents(in + "/long.flac");
            std::vector<PackMember> members;
            for (int i = 0; i < 30; ++i)
                members.push_back({QStringLiteral("%1/va5.wav").arg(i), bytes});
            QVERIFY(writeBytes(pack, packArchive(members, PackFormat::Tar)));
        } else if (words[0] == "bytes" || words[0] == "cut") {
            QVERIFY(writeBytes(pack, words[0] == "bytes"
                                         ? QByteArray(4096, 'x')
                                         : packArchive({{"va5.wav", word()}}, PackFormat::Tar).left(1000)));
        } else {
            std::vector<PackMember> members;
            for (const QString &name : words.mid(1))
                members.push_back({name, words[0] == "text"   ? "cinque\n"
                                         : words[0] == "huge" ? QByteArray(17 << 20, 'a')
                                                              : word()});
            QVERIFY(writeBytes(pack, packArchive(members, PackFormat::Zip)));
        }
        ClipStore to(VoiceFolders(dir.filePath("b/voce"), {}));
        const PackResult result = importVoicePack(to, pack);
        QCOMPARE(result.ok, readable);
        QCOMPARE(ownClips(to), imported);
        QVERIFY2(result.text.count(told) == 1, qPrintable(result.text)); // each thing told once
        QCOMPARE(result.refused.filter("dura").size(), how == "flood" ? packRule::maxTriesPerClip : 0); // work bounded
        // Nothing but the clips, and nothing outside the voice folder.
        QCOMPARE(QDir(dir.filePath("b/voce")).entryList(QDir::Files | QDir::Hidden | QDir::System).size(),
                 imported.size());
        QCOMPARE(QDir(dir.filePath("b")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(),
                 imported.isEmpty() ? 0 : 1);
    }

    // What stands where the voice is exported to: only nothing or a regular file is replaced.
    void exportDestination_data()
    {
        QTest::addColumn<QString>("there");
        QTest::addColumn<QString>("told");
        // clang-format off
        QTest::newRow("an older pack")    << "file"   << "Esportate 1 voci in DIR/out.zip";
        QTest::newRow("a link to a file") << "link"   << "non è un file normale";
        QTest::newRow("a folder")         << "folder" << "è una cartella";
        QTest::newRow("a folder's name")  << "slash"  << "è una cartella: scrivi anche il nome del file";
        // clang-format on
    }

    void exportDestination()
    {
        QFETCH(QString, there);
        QFETCH(QString, told);
        QTemporaryDir dir;
        const QString out = there == "slash" ? dir.path() + "/" : dir.filePath("out.zip"),
                      target = dir.filePath("target");
        const QByteArray name = QFile::encodeName(out);
        QVERIFY(writeBytes(target, "mine") && writeBytes(dir.filePath("voce/va5.wav"), word()));
        QVERIFY(there == "file"     ? writeBytes(out, "old")
                : there == "link"   ? QFile::link(target, out)
                : there == "folder" ? QDir().mkdir(out)
                                    : true);
        struct stat before {};
        lstat(name, &before);
        const PackResult result = exportVoicePack(ClipStore(VoiceFolders(dir.filePath("voce"), {})), out);
        QVERIFY2(result.text.contains(QString(told).replace("DIR", dir.path())), qPrintable(result.text));
        struct stat after {};
        QCOMPARE(lstat(name, &after), 0);
        if (result.ok) {
            QVERIFY(S_ISREG(after.st_mode) && (after.st_mode & 07777) == 0644);
            QCOMPARE(ownClips(ClipStore(VoiceFolders(dir.filePath("voce"), {}))), QStringList{"va5"});
            QVERIFY(run(dir.path(), "unzip", {"-tq", out})); // any computer's tool opens it
        } else {
            QCOMPARE(after.st_mode, before.st_mode);
        }
        QCOMPARE(QFile(target).size(), 4); // what a link pointed to is untouched
        QCOMPARE(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files).filter(".out"), QStringList());
    }

    // A hostile pack installed by root as the school's voice, with a careless umask; then
    // checked from a pupil's account, then removed.
    void schoolVoice()
    {
        QTemporaryDir dir;
        QVERIFY(chmod(QFile::encodeName(dir.path()), 0711) == 0); // a pupil may pass through
        const QString in = dir.filePath("in"), folder = dir.filePath("share/quizzolo/voce");
        QVERIFY(writeBytes(in + "/va5.wav", word()) && chmod(QFile::encodeName(in + "/va5.wav"), 04755) == 0);
        QVERIFY(writeBytes(in + "/va7.wav", word()) && QFile::link("/etc/shadow", in + "/va6.wav"));
        QVERIFY(run(in, "tar", {"-cf", dir.filePath("scuola.tar"), "va5.wav", "va6.wav", "va7.wav"}));
        const mode_t umaskWas = umask(077);
        const PackResult installed = installSchoolVoice(dir.filePath("scuola.tar"), folder);
        umask(umaskWas);
        QVERIFY2(installed.text.contains("installate 2 voci in " + folder + ": va5, va7"), qPrintable(installed.text));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
                 (QStringList{"va5.wav", "va7.wav"}));
        for (const QString &f : {folder, QFileInfo(folder).path(), folder + "/va5.wav", folder + "/va7.wav"}) {
            struct stat info {};
            QCOMPARE(lstat(QFile::encodeName(f), &info), 0);
            QCOMPARE(info.st_mode & 07777, S_ISDIR(info.st_mode) ? 0755u : 0644u);
        }
        // A pupil sees the school's clips; a folder they can't read is told, not silently skipped.
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("pupil")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(dir.filePath("share")));
        QByteArray said = stderrOf([&] { QCOMPARE(runCommandLine({"r", "--elenco"}, dir.filePath("lib")), 0); });
        QVERIFY2(said.isEmpty(), said.constData());
        chmod(QFile::encodeName(folder), 0700);
        const int was = setfsuid(65534);
        said = stderrOf([&] { runCommandLine({"r", "--elenco"}, dir.filePath("lib")); });
        setfsuid(was);
        QVERIFY2(geteuid() != 0 || said.contains(QFile::encodeName(folder) + " c'è, ma non si può leggere"),
                 said.constData());
        const PackResult removed = removeSchoolVoice(folder);
        QVERIFY2(removed.text.contains("tolte 2 voci"), qPrintable(removed.text));
        QVERIFY(!QFileInfo::exists(folder) && !QFileInfo::exists(QFileInfo(folder).path()));
    }

    // The command line: its exit status, the clip replaced only by a good take, and outside
    // names escaped on the terminal, so that none can retitle it, clear it or forge a line.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments"); // GOOD stands for a spoken word; any other file holds text
        QTest::addColumn<int>("status");            // -1: the window opens
        QTest::addColumn<QString>("said");          // on stderr, on one line
        using L = QStringList;
        // clang-format off
        QTest::newRow("good take")             << L{"--importa", "va5", "GOOD"}     << 0  << "";
        QTest::newRow("unknown clip")          << L{"--importa", "va11", "GOOD"}    << 2  << "va11";
        QTest::newRow("a batch, one file unknown") << L{"--importa-tutti", "GOOD/va5.wav", "appunti.wav"} << 1 << "appunti.wav: il nome";
        QTest::newRow("missing file argument") << L{"--importa", "va5"}             << 64 << "uso:";
        QTest::newRow("Qt's own option")       << L{"-platform", "offscreen"}       << -1 << "";
        QTest::newRow("plain Italian")         << L{"--importa", "va5", "perché è così.wav"} << 1 << "perché è così.wav";
        QTest::newRow("title and clear")       << L{"--importa", "va5", "\x1b]0;x\a\x1b[2J.wav"} << 1 << "\\e]0;x\\x07\\e[2J.wav";
        QTest::newRow("a forged line")         << L{"--importa", "va5", "a\nquizzolo-registra: Importate 35 voci"} << 1 << "a\\nquizzolo-registra: Importate 35 voci";
        QTest::newRow("C1 and reversal")       << L{"--importa", "va5", QString::fromUtf8("a\xc2\x9b" "2J\xe2\x80\xaevaw.exe")} << 1 << "a\\u009b2J\\u202evaw.exe";
        QTest::newRow("a backslash")           << L{"--importa", "va5", "a\\e.wav"}   << 1 << "a\\\\e.wav";
        // clang-format on
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, said);
        QTemporaryDir dir;
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
        const QString clip = dir.filePath("data/quizzolo/voce/va5.wav");
        QVERIFY(writeBytes(clip, "an earlier take"));
        for (qsizetype i = arguments[0] == "--importa-tutti" ? 1 : 2; i < arguments.size(); ++i) {
            QVERIFY(writeBytes(dir.filePath(arguments[i]), arguments[i].startsWith("GOOD") ? word() : "x"));
            arguments[i] = dir.filePath(arguments[i]);
        }
        int got = 0;
        const QByteArray told = stderrOf([&] {
            got = runCommandLine(QStringList{"quizzolo-registra"} + arguments, dir.filePath("lib")).value_or(-1);
        });
        QCOMPARE(got, status);
        QCOMPARE(contents(clip) != "an earlier take", status == 0 || arguments[0] == "--importa-tutti");
        QVERIFY2(told.contains(said.toUtf8()) && told.count('\n') <= 1 && !told.contains('\x1b'), told.constData());
    }

    // What killed saves left: old temporaries go, a fresh one (a save under way) stays.
    void staleTemporaries()
    {
        QTemporaryDir dir, tmp;
        qputenv("TMPDIR", QFile::encodeName(tmp.path())); // the folder QDir::tempPath() gives
        const QStringList entries{".va5.wav.Ab12Cd", ".va6.wav.Xy34Zw", "tmp:quizzolo-registra-Qw12Er/va5.wav",
                                  "tmp:quizzolo-registra-Rt56Yu/x"};
        for (const QString &e : entries)
            QVERIFY(writeBytes(e.startsWith("tmp:") ? tmp.filePath(e.mid(4)) : dir.filePath(e), "x"));
        const utimbuf hoursAgo{time(nullptr) - 7200, time(nullptr) - 7200};
        for (const QString &old : {dir.filePath(".va5.wav.Ab12Cd"), tmp.filePath("quizzolo-registra-Qw12Er")})
            QCOMPARE(utime(QFile::encodeName(old), &hoursAgo), 0);
        removeStaleTemporaries(dir.path());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{".va6.wav.Xy34Zw"});
        QCOMPARE(QDir(tmp.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{"quizzolo-registra-Rt56Yu"});
        qunsetenv("TMPDIR");
    }
};

QTEST_GUILESS_MAIN(VoicePackTest)
#include "test_voice_pack.moc"
