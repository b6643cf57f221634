// The recorder's window in-process: a scripted microphone, a player that only notes what
// it was asked, a hand-set clock and dialogs answered by the test.
#include "common/SdlClipPlayer.h"
#include "recorder/AudioFile.h"
#include "recorder/CommandLine.h"
#include "recorder/Microphone.h"
#include "recorder/RecorderWindow.h"
#include "recorder/VoicePack.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <cmath>
#include <deque>

using namespace quizzolo;
using namespace quizzolo::recorder;

namespace {

struct FakeMicrophone : MicrophoneInput {
    bool present = true, started = false, gone = false;
    std::deque<std::vector<float>> chunks; // one per fetch
    bool available() const override { return present; }
    QString problem() const override { return present ? QString() : QStringLiteral("Nessun microfono: collegalo"); }
    bool start() override { return started = present, gone = false, present; }
    void stop() override { started = false; }
    bool capturing() const override { return started && !gone; }
    void fetch(std::vector<float> &to) override
    {
        if (started && !chunks.empty()) {
            to.insert(to.end(), chunks.front().begin(), chunks.front().end());
            chunks.pop_front();
        }
    }
};

struct FakePlayer : SentencePlayer {
    void play(const QString &, PlayMode) override {}
    void silence() override {}
    void playJoined(const QStringList &) override {}
    QString driverName() const override { return QStringLiteral("disk"); }
};

struct FakeClock : SteadyClock {
    double now = 10;
    double nowSeconds() const override { return now; }
};

struct FakeOpener : ExternalOpener {
    QList<QUrl> opened;
    bool works = true;
    bool open(const QUrl &file) override { return opened << file, works; }
};

struct FakeDialogs : RecorderDialogs {
    QStringList files; // answers to the next open or save dialog
    bool yes = true;
    QStringList foldersAsked;
    QString openFile(const QString &, const QString &folder, const QString &) override
    {
        return foldersAsked << folder, files.isEmpty() ? QString() : files.takeFirst();
    }
    QStringList openFiles(const QString &, const QString &folder, const QString &) override
    {
        return foldersAsked << folder, std::exchange(files, {});
    }
    QString saveFile(const QString &, const QString &, const QString &) override { return openFile({}, {}, {}); }
    bool confirm(const QString &, const QString &) override { return yes; }
    QString shown;
    void showDocument(const QString &, const QString &markdown) override { shown = markdown; }
};

// 0.1 s of a 190 Hz tone reaching the given peak, or of silence.
std::vector<float> tenth(double peak)
{
    std::vector<float> s(static_cast<std::size_t>(clipRate() / 10));
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<float>(peak * std::sin(2 * M_PI * 190 * static_cast<double>(i) / clipRate()));
    return s;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return QDir().mkpath(QFileInfo(path).path()) && f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A spoken word as a clip file: 0.2 s quiet, 0.5 s of voice, 0.3 s quiet.
QByteArray word()
{
    std::vector<std::int16_t> s(static_cast<std::size_t>(clipRate()), 0);
    const std::vector<float> voice = tenth(0.5);
    for (std::size_t i = 0; i < voice.size() * 5; ++i)
        s[clipRate() / 5 + i] = static_cast<std::int16_t>(voice[i % voice.size()] * 32767);
    return encodeClip(s);
}

const QByteArray memo("\0\0\0 ftypM4A ", 12); // how a phone's .m4a begins; the box size, 32, is a space

QStringList ownClips(const ClipStore &store)
{
    QStringList own;
    for (const ClipEntry &c : clipCatalogue())
        if (store.source(c.name) == VoiceFolders::Source::User)
            own << c.name;
    return own;
}

// One window with its doubles over a scratch voice folder.
struct Bench {
    QTemporaryDir dir;
    FakeMicrophone microphone;
    FakePlayer player;
    FakeClock clock;
    FakeOpener opener;
    FakeDialogs dialogs;
    ClipStore store{VoiceFolders(dir.filePath("voce"), dir.filePath("lib"))};
    std::unique_ptr<RecorderWindow> window;
    void open()
    {
        window = std::make_unique<RecorderWindow>(store, RecorderOutside{player, microphone, clock, opener, dialogs});
    }
    QString status() const { return window->findChild<QLabel *>(QStringLiteral("status"))->text(); }
    QString listed(const QString &clip) const
    {
        const auto items =
            window->findChild<QTreeWidget *>()->findItems(fileNameOf(clip), Qt::MatchExactly | Qt::MatchRecursive, 1);
        return items.isEmpty() ? QString() : items.first()->text(2);
    }
    // "p" press Registra, "t" press Prova, "v6" six polls of 0.1 s of voice (at -8 dBFS;
    // "l" loud, "q" quiet, "z" next to nothing, "c" children further off), "s6" of silence, "n6" with nothing sent,
    // "H" Space held down and "R" let go, "E" Enter, on the focused control,
    // "w4" 0.4 s pass, "g" unplugged mid-take, "u" no microphone, "a" plugged in, "f" ticks Registra di seguito.
    void play(const QString &script)
    {
        for (const QString &step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const int n = step.size() > 1 ? step.mid(1).toInt() : 1;
            for (int i = 0; i < n; ++i) {
                switch (step[0].toLatin1()) {
                case 'p': window->toggleRecording(); break;
                case 't': window->toggleTrial(); break;
                case 'g': microphone.gone = true; break;
                case 'a': microphone.present = true; break;
                case 'u': microphone.present = false; break;
                case 'f': window->findChild<QCheckBox *>()->setChecked(true); break;
                case 'w': clock.now += 0.1; break;
                case 'H': QTest::keyPress(window->focusWidget(), Qt::Key_Space); break;
                case 'R': QTest::keyRelease(window->focusWidget(), Qt::Key_Space); break;
                case 'E': QTest::keyClick(window->focusWidget(), Qt::Key_Return); break;
                default:
                    if (const int at = QStringLiteral("zqvlsc").indexOf(step[0]); at >= 0)
                        microphone.chunks.push_back(tenth(std::vector{0.0005, 0.02, 0.4, 0.8, 0.0, 0.05}[at]));
                    clock.now += 0.1;
                    window->poll();
                }
            }
        }
    }
};

} // namespace

class RecorderWindowTest : public QObject {
    Q_OBJECT
    QTemporaryDir config_;

  private slots:
    // The remembered folder of the file dialogs goes to a scratch settings file.
    void initTestCase() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path())); }

    void recording_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("recordingAfter");
        QTest::addColumn<bool>("saved"); // "uno per" became the user's
        QTest::addColumn<QString>("selectedAfter");
        QTest::addColumn<QString>("statusHas");

        // clang-format off
        QTest::newRow("double click starts once")       << "p w2 p"           << true  << false << "voxa1" << "Sto registrando";
        QTest::newRow("a press after the gap stops")     << "p v3 w4 p"        << false << true  << "voxa1" << "Registrata";
        QTest::newRow("ends after a second of quiet")    << "p v6 s12"         << false << true  << "voxa1" << "Premi Ascolta";
        QTest::newRow("registra di seguito moves on")    << "f p v6 s12"       << false << true  << "voxa2" << "tocca a «due per»";
        QTest::newRow("no move after a refused take")    << "f p w7 p"         << false << false << "voxa1" << "non usata";
        QTest::newRow("Enter after a refusal tries again") << "f p w7 p w7 E"  << true  << false << "voxa1" << "Sto registrando";
        QTest::newRow("held: no end by itself")          << "H v6 c12"         << true  << false << "voxa1" << "lascia alla fine";
        QTest::newRow("held in chatter, let go")         << "H c5 v6 c12 R"    << false << true  << "voxa1" << "Premi Ascolta";
        QTest::newRow("tapped: ends by itself")          << "H R v6 c12"       << false << true  << "voxa1" << "Premi Ascolta";
        QTest::newRow("no microphone: says how to retry") << "u p"             << false << false << "voxa1" << "collegalo";
        QTest::newRow("microphone plugged in later")     << "u p a w7 p"       << true  << false << "voxa1" << "Sto registrando";
        QTest::newRow("unplugged mid-take")              << "p v3 g s1"        << false << false << "voxa1" << "non manda più suono";
        QTest::newRow("device stalls mid-take")          << "p v3 n16"         << false << false << "voxa1" << "non manda più suono";
        QTest::newRow("trial saves nothing")             << "t s20 v6 s12 t"   << false << false << "voxa1" << "zona «bene»";
        QTest::newRow("trial ends by itself")            << "t s20 v1 w200 s1" << false << false << "voxa1" << "va bene così";
        QTest::newRow("trial: stopped in the quiet")     << "t s5 t"           << false << false << "voxa1" << "prima di sentire la voce";
        QTest::newRow("trial: nothing heard")            << "t s20 z3 t"       << false << false << "voxa1" << "non sente quasi nulla";
        QTest::newRow("trial: far from the microphone")  << "t s20 q3 t"       << false << false << "voxa1" << "«troppo basso», 62 dB sopra la stanza: avvicinati";
        QTest::newRow("trial: shouting")                 << "t s20 l3 t"       << false << false << "voxa1" << "«troppo forte», 94 dB sopra la stanza: allontanati";
        QTest::newRow("trial: children, no teacher")     << "t c20 c6 t"       << false << false << "voxa1" << "nessuna voce si è sentita";
        QTest::newRow("trial: teacher among children")   << "t c20 v6 t"       << false << false << "voxa1" << "tieni premuto Spazio";
        // clang-format on
    }

    void recording()
    {
        QFETCH(QString, script);
        QFETCH(bool, recordingAfter);
        QFETCH(bool, saved);
        QFETCH(QString, selectedAfter);
        QFETCH(QString, statusHas);

        Bench b;
        b.open();
        b.play(script);
        QCOMPARE(b.window->recording(), recordingAfter);
        QCOMPARE(ownClips(b.store).contains(QStringLiteral("voxa1")), saved);
        QCOMPARE(b.window->selectedClip()->name, selectedAfter);
        QVERIFY2(b.status().contains(statusHas), qPrintable(b.status()));
        QCOMPARE(b.microphone.started, recordingAfter); // never left open
    }

    // Children heard before and after the words are left out, however the take ended.
    void trimmedToTheWords_data()
    {
        QTest::addColumn<QString>("script");
        QTest::newRow("stopped by hand") << "p c6 v6 c4 w4 p";
        QTest::newRow("held down") << "H c6 v6 c4 w4 R";
        QTest::newRow("ended by itself") << "p c6 v6 c12";
    }

    void trimmedToTheWords()
    {
        QFETCH(QString, script);
        Bench b;
        b.open();
        b.play(script);
        const std::optional<Audio> take = readAudioFile(b.dir.filePath("voce/va1.wav").replace("va1", "voxa1"));
        QVERIFY2(take, qPrintable(b.status()));
        QVERIFY2(std::fabs(take->seconds() - 0.69) < 0.05, qPrintable(QString::number(take->seconds())));
    }

    // What stays on screen must still be true.
    void staleState_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("listedAfter"); // for va5
        QTest::addColumn<bool>("statusKept");

        // clang-format off
        QTest::newRow("refusal, then another clip")     << "select va6"      << "la tua voce"      << false;
        QTest::newRow("refusal, same clip, focus back") << "activate"        << "la tua voce"      << true;
        QTest::newRow("removed elsewhere, focus back")  << "remove activate" << "voce di Quizzolo" << true;
        // clang-format on
    }

    void staleState()
    {
        QFETCH(QString, change);
        QFETCH(QString, listedAfter);
        QFETCH(bool, statusKept);

        Bench b;
        QVERIFY(writeBytes(b.dir.filePath("voce/va5.wav"), word()) &&
                writeBytes(b.dir.filePath("lib/va5.wav"), word()));
        QVERIFY(writeBytes(b.dir.filePath("notes.txt"), "cinque\n"));
        b.open();
        b.window->selectClip(QStringLiteral("va5"));
        b.dialogs.files = QStringList{b.dir.filePath("notes.txt")};
        b.window->importFile();
        QVERIFY2(b.status().contains(QStringLiteral("non usato")), qPrintable(b.status()));
        if (change.contains(QStringLiteral("remove")))
            QVERIFY(QFile::remove(b.dir.filePath("voce/va5.wav")));
        if (change.startsWith(QStringLiteral("select")))
            b.window->selectClip(change.section(QLatin1Char(' '), 1));
        if (change.contains(QStringLiteral("activate"))) {
            QEvent activation(QEvent::ActivationChange);
            QApplication::sendEvent(b.window.get(), &activation);
        }
        QCOMPARE(b.listed(QStringLiteral("va5")), listedAfter);
        QCOMPARE(!b.status().isEmpty(), statusKept);
    }

    void importFiles_data()
    {
        QTest::addColumn<QStringList>("files"); // written as a spoken word unless named *.m4a or *.txt
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QStringList>("imported");
        QTest::addColumn<QString>("statusHas");

        // clang-format off
        QTest::newRow("by clip names")     << QStringList{"va5.wav", "VOXA7.WAV"}           << true  << QStringList{"voxa7", "va5"} << "Importate 2 voci su 2";
        QTest::newRow("by the words said") << QStringList{"sette per.wav", "Cinque.wav"}     << true  << QStringList{"voxa7", "va5"} << "Importate 2";
        QTest::newRow("not confirmed")     << QStringList{"va5.wav"}                         << false << QStringList{}               << "";
        QTest::newRow("phone memo among")  << QStringList{"va5.wav", "va6.m4a"}              << true  << QStringList{"va5"}          << "ffmpeg";
        QTest::newRow("unknown name")      << QStringList{"va5.wav", "registrazione 3.wav"} << true  << QStringList{"va5"}          << "registrazione 3.wav";
        QTest::newRow("no name matches")   << QStringList{"audio.wav"}                       << true  << QStringList{}               << "Nessun file ha il nome";
        // clang-format on
    }

    void importFiles()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, confirmed);
        QFETCH(QStringList, imported);
        QFETCH(QString, statusHas);

        Bench b;
        for (const QString &f : files) {
            b.dialogs.files << b.dir.filePath(QStringLiteral("telefono/") + f);
            QVERIFY(writeBytes(b.dialogs.files.last(), f.endsWith(QStringLiteral(".m4a")) ? memo : word()));
        }
        b.open();
        b.dialogs.yes = confirmed;
        b.window->importFiles();
        QCOMPARE(ownClips(b.store), imported);
        QVERIFY2(b.status().contains(statusHas), qPrintable(b.status()));
        // The next dialog opens where these files were.
        b.window->importFile();
        QCOMPARE(b.dialogs.foldersAsked.last(), b.dir.filePath(QStringLiteral("telefono")));
    }

    void voicePack_data()
    {
        QTest::addColumn<QByteArray>("pack"); // the file, or how it is made
        QTest::addColumn<QStringList>("imported");
        QTest::addColumn<bool>("readable");

        const QByteArray wav = word();
        QTest::newRow("exported by the recorder") << QByteArray("export") << QStringList{"voxa7", "va5"} << true;
        QTest::newRow("path outside in a name") << tarArchive({{"../../va5.wav", wav}}) << QStringList{"va5"} << true;
        QTest::newRow("not a clip's name") << tarArchive({{"canzone.wav", wav}}) << QStringList{} << true;
        QTest::newRow("a text named as a clip") << tarArchive({{"va6.wav", "cinque\n"}}) << QStringList{} << true;
        QTest::newRow("a link in the pack") << QByteArray("link") << QStringList{} << true;
        QTest::newRow("not a tar") << QByteArray(4096, 'x') << QStringList{} << false;
        QTest::newRow("cut short") << tarArchive({{"va5.wav", wav}}).left(1000) << QStringList{} << false;
    }

    void voicePack()
    {
        QFETCH(QByteArray, pack);
        QFETCH(QStringList, imported);
        QFETCH(bool, readable);

        QTemporaryDir dir;
        const QString file = dir.filePath("voce-quizzolo.tar");
        if (pack == "export") {
            QVERIFY(writeBytes(dir.filePath("a/voce/va5.wav"), word()) &&
                    writeBytes(dir.filePath("a/voce/voxa7.wav"), word()));
            QVERIFY(exportVoicePack(ClipStore(VoiceFolders(dir.filePath("a/voce"), dir.filePath("lib"))), file).ok);
        } else if (pack == "link") {
            QVERIFY(writeBytes(dir.filePath("word.wav"), word()) &&
                    QFile::link(dir.filePath("word.wav"), dir.filePath("va5.wav")));
            QCOMPARE(QProcess::execute("tar", {"-cf", file, "-C", dir.path(), "va5.wav"}), 0);
        } else {
            QVERIFY(writeBytes(file, pack));
        }

        ClipStore to(VoiceFolders(dir.filePath("b/voce"), dir.filePath("lib")));
        const PackResult result = importVoicePack(to, file);
        QCOMPARE(result.ok, readable);
        QCOMPARE(result.refused.isEmpty(), !readable || !imported.isEmpty()); // what was left out is named
        QCOMPARE(ownClips(to), imported);
        // Nothing but the clips in the voice folder.
        QCOMPARE(QDir(dir.filePath("b/voce")).entryList(QDir::Files | QDir::Hidden).size(), imported.size());
        QVERIFY(!QFile::exists(dir.filePath("va5.wav")) || QFileInfo(dir.filePath("va5.wav")).isSymLink());
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments"); // DIR holds va5.wav, "sette per.wav", x.wav, pack.tar
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("own");

        QTest::newRow("many by name") << QStringList{"--importa-tutti", "DIR/va5.wav", "DIR/sette per.wav"} << 0
                                      << QStringList{"voxa7", "va5"};
        QTest::newRow("many, one unknown")
            << QStringList{"--importa-tutti", "DIR/va5.wav", "DIR/x.wav"} << 1 << QStringList{"va5"};
        QTest::newRow("voice pack") << QStringList{"--importa-voce", "DIR/pack.tar"} << 0 << QStringList{"va5"};
        QTest::newRow("export with nothing recorded") << QStringList{"--esporta", "DIR/out.tar"} << 1 << QStringList{};
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QStringList, own);

        QTemporaryDir dir;
        for (const char *name : {"va5.wav", "sette per.wav", "x.wav"})
            QVERIFY(writeBytes(dir.filePath(name), word()));
        QVERIFY(writeBytes(dir.filePath("pack.tar"), tarArchive({{"va5.wav", word()}})));
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
        arguments.replaceInStrings(QStringLiteral("DIR"), dir.path());
        QCOMPARE(runCommandLine(QStringList{"quizzolo-registra"} + arguments, dir.filePath("lib")).value_or(-1),
                 status);
        QCOMPARE(ownClips(ClipStore(VoiceFolders(dir.filePath("data/quizzolo/voce"), dir.filePath("lib")))), own);
    }

    void desktop_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("guideThere");
        QTest::addColumn<bool>("handled");   // a desktop program took the file
        QTest::addColumn<QString>("opened"); // relative to the scratch folder; empty for nothing
        QTest::addColumn<QString>("statusHas");

        // clang-format off
        QTest::newRow("Guida")                          << "guide"  << true  << true  << "lib/guida-voce.md" << "Apro la guida";
        QTest::newRow("Guida, no program for it")       << "guide"  << true  << false << "lib/guida-voce.md" << "finestra a parte";
        QTest::newRow("Guida not installed")            << "guide"  << false << true  << ""                  << "non è installata";
        QTest::newRow("Apri la cartella, not made yet") << "folder" << false << true  << "voce"              << "Apro la cartella";
        // clang-format on
    }

    void desktop()
    {
        QFETCH(QString, button);
        QFETCH(bool, guideThere);
        QFETCH(bool, handled);
        QFETCH(QString, opened);
        QFETCH(QString, statusHas);

        Bench b;
        if (guideThere)
            QVERIFY(writeBytes(b.dir.filePath("lib/guida-voce.md"), "# Guida\n"));
        b.opener.works = handled;
        b.open();
        button == QLatin1String("guide") ? b.window->openGuide() : b.window->openFolder();
        const QList<QUrl> expected{QUrl::fromLocalFile(b.dir.filePath(opened))};
        QCOMPARE(b.opener.opened, opened.isEmpty() ? QList<QUrl>() : expected);
        QVERIFY(opened.isEmpty() || QFileInfo::exists(b.dir.filePath(opened)));
        QVERIFY2(b.status().contains(statusHas), qPrintable(b.status()));
        QCOMPARE(b.dialogs.shown, guideThere && !handled ? QStringLiteral("# Guida\n") : QString());
    }

    // An 800x600 screen, less a panel and the title bar: the status line must show.
    void fitsSmallScreens()
    {
        const QSize room(784, 540);
        Bench b;
        b.open();
        const QSize least = b.window->minimumSizeHint();
        QVERIFY2(least.width() <= room.width() && least.height() <= room.height(),
                 qPrintable(QStringLiteral("%1x%2").arg(least.width()).arg(least.height())));
        b.window->resize(room);
        b.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(b.window.get()));
        const QLabel *status = b.window->findChild<QLabel *>(QStringLiteral("status"));
        QVERIFY(status->isVisible() && status->geometry().bottom() < room.height());
    }
};

QTEST_MAIN(RecorderWindowTest)
#include "test_recorder_window.moc"
