// Which file the trainer reads for a clip: the user's voice folder, the school's, the program's,
// clip by clip; and where those folders are, from the environment.
#include "common/VoiceFolders.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace quizzolo;

class VoiceFoldersTest : public QObject {
    Q_OBJECT

  private slots:
    void lookupOrder_data()
    {
        QTest::addColumn<QStringList>("user"); // "-": no voice folder at all; "dir:NAME" makes a folder
        QTest::addColumn<QStringList>("school");
        QTest::addColumn<QStringList>("program");
        QTest::addColumn<VoiceFolders::Source>("source");
        using S = VoiceFolders::Source;
        using L = QStringList;
        // clang-format off
        QTest::newRow("own recording wins")    << L{"va5.wav"}     << L{"va5.wav"} << L{"va5.wav"} << S::User;
        QTest::newRow("another clip recorded") << L{"va6.wav"}     << L{}          << L{"va5.wav"} << S::Program;
        QTest::newRow("upper-case name")       << L{"VA5.wav"}     << L{}          << L{"va5.wav"} << S::Program;
        QTest::newRow("folder named like it")  << L{"dir:va5.wav"} << L{}          << L{"va5.wav"} << S::Program;
        QTest::newRow("school before program") << L{"va6.wav"}     << L{"va5.wav"} << L{"va5.wav"} << S::School;
        QTest::newRow("school only")           << L{"-"}           << L{"va5.wav"} << L{}          << S::School;
        QTest::newRow("nowhere")               << L{"va6.wav"}     << L{}          << L{}          << S::Missing;
        // clang-format on
    }

    void lookupOrder()
    {
        QFETCH(QStringList, user);
        QFETCH(QStringList, school);
        QFETCH(QStringList, program);
        QFETCH(VoiceFolders::Source, source);
        QTemporaryDir root;
        const bool none = user == QStringList{"-"};
        const QString userDir = root.filePath(none ? "absent" : "voce"), programDir = root.filePath("lib");
        // Two school folders as XDG_DATA_DIRS lists them; the clip lies in the second.
        const QStringList schoolDirs{root.filePath("local/quizzolo/voce"), root.filePath("share/quizzolo/voce")};
        QVERIFY(QDir().mkpath(programDir) && (none || QDir().mkpath(userDir)) && QDir().mkpath(schoolDirs[1]));
        for (const auto &[dir, entries] :
             {std::pair{userDir, none ? QStringList() : user}, {schoolDirs[1], school}, {programDir, program}})
            for (const QString &e : entries)
                QVERIFY(e.startsWith("dir:") ? QDir(dir).mkdir(e.mid(4)) : QFile(dir + '/' + e).open(QFile::WriteOnly));
        const VoiceFolders folders(userDir, programDir, schoolDirs);
        QCOMPARE(folders.source("va5.wav"), source);
        const QMap<VoiceFolders::Source, QString> from{{VoiceFolders::Source::User, userDir},
                                                       {VoiceFolders::Source::School, schoolDirs[1]}};
        QCOMPARE(folders.path("va5.wav"), from.value(source, programDir) + "/va5.wav");
        QCOMPARE(folders.candidates("va5.wav").value(0), folders.path("va5.wav")); // the player's first try
    }

    // As the XDG rules say: a relative XDG_DATA_HOME is ignored, and without a usable home
    // there is no voice folder rather than one under "/".
    void userFolderFromTheEnvironment_data()
    {
        QTest::addColumn<QByteArrayList>("environment"); // XDG_DATA_HOME, XDG_DATA_DIRS, HOME; "-": unset
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("school");
        const QStringList usual{"/usr/local/share/quizzolo/voce", "/usr/share/quizzolo/voce"};
        using B = QByteArrayList;
        // clang-format off
        QTest::newRow("absolute data home") << B{"/srv/dati", "-", "/home/m"}                    << "/srv/dati/quizzolo/voce"            << usual;
        QTest::newRow("relative data home") << B{"dati", "", "/home/m"}                         << "/home/m/.local/share/quizzolo/voce" << usual;
        QTest::newRow("no data home")       << B{"-", "/opt/s/:rel:/usr/share", "/home/m"}      << "/home/m/.local/share/quizzolo/voce" << QStringList{"/opt/s/quizzolo/voce", "/usr/share/quizzolo/voce"};
        QTest::newRow("empty home")         << B{"-", "rel", ""}                                << ""                                   << QStringList();
        QTest::newRow("relative home")      << B{"", "/a:/a/", "casa"}                          << ""                                   << QStringList{"/a/quizzolo/voce"};
        // clang-format on
    }

    void userFolderFromTheEnvironment()
    {
        QFETCH(QByteArrayList, environment);
        QFETCH(QString, folder);
        QFETCH(QStringList, school);
        const char *names[] = {"XDG_DATA_HOME", "XDG_DATA_DIRS", "HOME"};
        for (int i = 0; i < 3; ++i)
            environment[i] == "-" ? qunsetenv(names[i]) : qputenv(names[i], environment[i]);
        const VoiceFolders got = VoiceFolders::ofThisSystem("/opt/quizzolo"); // nothing else here reads them
        QCOMPARE(got.userFolder(), folder);
        QCOMPARE(got.schoolFolders(), school);
    }
};

QTEST_GUILESS_MAIN(VoiceFoldersTest)
#include "test_voice_folders.moc"
