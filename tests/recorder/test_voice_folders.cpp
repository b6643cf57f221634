// Which file the trainer reads for a clip: the user's voice folder first, clip by clip.
#include "common/VoiceFolders.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace quizzolo;

class VoiceFoldersTest : public QObject {
    Q_OBJECT

    struct LastPlayed : ClipPlayer {
        void play(const QString &path, PlayMode) override { last = path; }
        void silence() override {}
        QString last;
    };

  private slots:
    void lookupOrder_data()
    {
        QTest::addColumn<QStringList>("user"); // "-": no voice folder at all; "dir:NAME" makes a folder
        QTest::addColumn<QStringList>("program");
        QTest::addColumn<VoiceFolders::Source>("source");
        using S = VoiceFolders::Source;
        // clang-format off
        QTest::newRow("no user folder")        << QStringList{"-"}           << QStringList{"va5.wav"} << S::Program;
        QTest::newRow("empty user folder")     << QStringList{}              << QStringList{"va5.wav"} << S::Program;
        QTest::newRow("own recording wins")    << QStringList{"va5.wav"}     << QStringList{"va5.wav"} << S::User;
        QTest::newRow("own recording only")    << QStringList{"va5.wav"}     << QStringList{}          << S::User;
        QTest::newRow("another clip recorded") << QStringList{"va6.wav"}     << QStringList{"va5.wav"} << S::Program;
        QTest::newRow("upper-case name")       << QStringList{"VA5.wav"}     << QStringList{"va5.wav"} << S::Program;
        QTest::newRow("folder named like it")  << QStringList{"dir:va5.wav"} << QStringList{"va5.wav"} << S::Program;
        QTest::newRow("nowhere")               << QStringList{"va6.wav"}     << QStringList{}          << S::Missing;
        // clang-format on
    }

    void lookupOrder()
    {
        QFETCH(QStringList, user);
        QFETCH(QStringList, program);
        QFETCH(VoiceFolders::Source, source);
        QTemporaryDir root;
        const bool none = user == QStringList{"-"};
        const QString userDir = root.filePath(none ? "absent" : "voce"), programDir = root.filePath("lib");
        QVERIFY(QDir().mkpath(programDir) && (none || QDir().mkpath(userDir)));
        for (const auto &[dir, entries] : {std::pair{userDir, none ? QStringList() : user}, {programDir, program}})
            for (const QString &e : entries)
                QVERIFY(e.startsWith("dir:") ? QDir(dir).mkdir(e.mid(4)) : QFile(dir + '/' + e).open(QFile::WriteOnly));
        const VoiceFolders folders(userDir, programDir);
        QCOMPARE(folders.source("va5.wav"), source);
        const QString wanted = (source == VoiceFolders::Source::User ? userDir : programDir) + "/va5.wav";
        QCOMPARE(folders.path("va5.wav"), wanted);
        // The trainer's clip names point beside the program; the player swaps in the user's take.
        LastPlayed device;
        VoiceFirstPlayer player(device, folders);
        player.play(programDir + "/va5.wav", PlayMode::Sync);
        QCOMPARE(device.last, wanted);
    }
};

QTEST_GUILESS_MAIN(VoiceFoldersTest)
#include "test_voice_folders.moc"
