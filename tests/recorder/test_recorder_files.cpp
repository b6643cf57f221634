// The recorder's files: writes cut short, every error told in Italian.
#include "recorder/FileSafety.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <csignal>
#include <sys/resource.h>

using namespace quizzolo;
using namespace quizzolo::recorder;

class RecorderFilesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); } // as the recorder's main

    // A file-size limit stands for a disk that fills part-way: the write falls short.
    void writeCutShortKeepsTheOldClip_data()
    {
        QTest::addColumn<qint64>("limit"); // bytes a file may reach; -1 none
        QTest::addColumn<bool>("saved");
        QTest::newRow("no limit") << qint64(-1) << true;
        QTest::newRow("full halfway") << qint64(50000) << false;
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
        rlimit cut = before;
        cut.rlim_cur = limit < 0 ? before.rlim_cur : rlim_t(limit);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &cut) == 0);
        const QString refusal = replaceInFolder(dir.path(), "va5.wav", fresh);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &before) == 0);
        QCOMPARE(refusal.contains("dimensione massima"), !saved);
        QFile kept(clip);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), saved ? fresh : old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"va5.wav"});
    }

    // Every error a save or an import can meet, told in Italian with what it concerns.
    void everyErrorHasItsText_data()
    {
        QTest::addColumn<QList<int>>("errors");
        QTest::addColumn<QString>("says");
        QTest::newRow("full") << QList<int>{ENOSPC, EDQUOT} << "pieno";
        QTest::newRow("too large") << QList<int>{EFBIG} << "dimensione massima";
        QTest::newRow("busy") << QList<int>{EBUSY, ETXTBSY} << "in uso";
        QTest::newRow("try again") << QList<int>{EAGAIN, EINTR} << "riprova";
        QTest::newRow("network") << QList<int>{ESTALE, ENOTCONN, EHOSTDOWN, EHOSTUNREACH, ETIMEDOUT} << "rete";
        QTest::newRow("disk gone") << QList<int>{ENXIO, ENODEV} << "collegato";
        QTest::newRow("something there") << QList<int>{EEXIST, ENOTEMPTY} << "già";
        QTest::newRow("not supported") << QList<int>{EOPNOTSUPP, EINVAL} << "non permette";
        QTest::newRow("anything else") << QList<int>{EPROTO} << "errore 71";
    }

    void everyErrorHasItsText()
    {
        QFETCH(QList<int>, errors);
        QFETCH(QString, says);
        for (const int error : errors) {
            const QString text = causeOf(error, "/scuola/va5.wav");
            QVERIFY2(text.contains(says) && text.contains("/scuola/va5.wav") && !text.contains("numero"),
                     qPrintable(text));
        }
    }
};

QTEST_MAIN(RecorderFilesTest)
#include "test_recorder_files.moc"
