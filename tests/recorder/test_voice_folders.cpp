// Which file the trainer reads for a clip: the user's voice folder first, clip by clip.
#include "app/VoiceFolders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace quizzolo;

namespace {

class LastPlayed : public ClipPlayer {
  public:
    void play(const QString &path, PlayMode) override { last = path; }
    void silence() override {}
    QString last;
};

void touch(const QString &path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

} // namespace

class VoiceFoldersTest : public QObject {
    Q_OBJECT
  private slots:
    void lookupOrder_data();
    void lookupOrder();
};

// userEntries / programEntries: files to create ("dir:" makes a folder of that name);
// "-" as userEntries means the user has no voice folder at all.
void VoiceFoldersTest::lookupOrder_data()
{
    QTest::addColumn<QStringList>("userEntries");
    QTest::addColumn<QStringList>("programEntries");
    QTest::addColumn<QString>("expected"); // "user", "program" or "missing"

    QTest::newRow("no user folder") << QStringList{"-"} << QStringList{"va5.wav"} << "program";
    QTest::newRow("empty user folder") << QStringList{} << QStringList{"va5.wav"} << "program";
    QTest::newRow("own recording wins") << QStringList{"va5.wav"} << QStringList{"va5.wav"} << "user";
    QTest::newRow("own recording only") << QStringList{"va5.wav"} << QStringList{} << "user";
    QTest::newRow("another clip recorded") << QStringList{"va6.wav"} << QStringList{"va5.wav"} << "program";
    QTest::newRow("upper-case name is another clip") << QStringList{"VA5.wav"} << QStringList{"va5.wav"} << "program";
    QTest::newRow("folder named like the clip") << QStringList{"dir:va5.wav"} << QStringList{"va5.wav"} << "program";
    QTest::newRow("nowhere") << QStringList{"va6.wav"} << QStringList{} << "missing";
}

void VoiceFoldersTest::lookupOrder()
{
    QFETCH(QStringList, userEntries);
    QFETCH(QStringList, programEntries);
    QFETCH(QString, expected);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString program = root.filePath(QStringLiteral("lib"));
    QString user = root.filePath(QStringLiteral("voce"));
    QVERIFY(QDir().mkpath(program));
    if (userEntries == QStringList{"-"}) {
        userEntries.clear();
        user = root.filePath(QStringLiteral("absent")); // never created
    } else {
        QVERIFY(QDir().mkpath(user));
    }
    for (const QString &e : userEntries) {
        if (e.startsWith(QStringLiteral("dir:")))
            QVERIFY(QDir(user).mkdir(e.mid(4)));
        else
            touch(QDir(user).filePath(e));
    }
    for (const QString &e : programEntries)
        touch(QDir(program).filePath(e));

    const VoiceFolders folders(user, program);
    const QString name = QStringLiteral("va5.wav");
    const QString wanted = expected == QLatin1String("user") ? user + "/va5.wav" : program + "/va5.wav";
    const auto source = expected == QLatin1String("user")      ? VoiceFolders::Source::User
                        : expected == QLatin1String("program") ? VoiceFolders::Source::Program
                                                               : VoiceFolders::Source::Missing;
    QCOMPARE(folders.source(name), source);
    QCOMPARE(folders.path(name), wanted);

    // The trainer's clip names point beside the program; the player swaps in the user's take.
    LastPlayed device;
    VoiceFirstPlayer player(device, folders);
    player.play(program + "/va5.wav", PlayMode::Sync);
    QCOMPARE(device.last, wanted);
}

QTEST_GUILESS_MAIN(VoiceFoldersTest)
#include "test_voice_folders.moc"
