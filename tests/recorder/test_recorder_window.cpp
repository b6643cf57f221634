// The recorder's window in-process: a scripted microphone, a player that only notes what
// it was asked, a hand-set clock and dialogs answered by the test.
#include "VoiceSamples.h"
#include "common/sound/SdlClipPlayer.h"
#include "recorder/Microphone.h"
#include "recorder/imports/VoicePack.h"
#include "recorder/window/RecorderWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
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
    bool open(const QUrl &) override { return true; }
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
    void showDocument(const QString &, const QString &) override {}
    QMap<QString, QString> assign; // the clip the user picks for a file; "" leaves it out
    std::vector<ClipChoice> offered;
    std::optional<std::vector<ClipChoice>> chooseClips(const QString &, const QString &,
                                                       const std::vector<ClipChoice> &choices) override
    {
        offered = choices;
        if (!yes)
            return std::nullopt;
        auto chosen = choices;
        for (ClipChoice &c : chosen)
            c.clip = assign.value(QFileInfo(c.file).fileName(), c.clip);
        return chosen;
    }
    int stopAt = -1; // the member at which the user presses Interrompi
    bool progress(const QString &, int done, int) override { return done != stopAt; }
};

// One window with its doubles over a scratch voice folder.
struct Bench {
    QTemporaryDir dir;
    FakeMicrophone microphone;
    FakePlayer player;
    FakeClock clock;
    FakeOpener opener;
    FakeDialogs dialogs;
    ClipStore store{VoiceFolders(dir.filePath("voce"), dir.filePath("lib"))};
    std::unique_ptr<RecorderWindow> window =
        std::make_unique<RecorderWindow>(store, RecorderOutside{player, microphone, clock, opener, dialogs});
    QString status() const { return window->findChild<QLabel *>(QStringLiteral("status"))->text(); }
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
        QTest::addColumn<QString>("statusHas");

        // clang-format off
        QTest::newRow("double click starts once")       << "p w2 p"           << true  << false << "Sto registrando";
        QTest::newRow("a press after the gap stops")     << "p v3 w4 p"        << false << true  << "Registrata";
        QTest::newRow("ends after a second of quiet")    << "p v6 s12"         << false << true  << "Premi Ascolta";
        QTest::newRow("registra di seguito moves on")    << "f p v6 s12"       << false << true  << "tocca a «due per»";
        QTest::newRow("no move after a refused take")    << "f p w7 p"         << false << false << "non usata";
        QTest::newRow("Enter after a refusal tries again") << "f p w7 p w7 E"  << true  << false << "Sto registrando";
        QTest::newRow("held: no end by itself")          << "H v6 c12"         << true  << false << "lascia alla fine";
        QTest::newRow("held in chatter, let go")         << "H c5 v6 c12 R"    << false << true  << "Premi Ascolta";
        QTest::newRow("tapped: ends by itself")          << "H R v6 c12"       << false << true  << "Premi Ascolta";
        QTest::newRow("no microphone: says how to retry") << "u p"             << false << false << "collegalo";
        QTest::newRow("microphone plugged in later")     << "u p a w7 p"       << true  << false << "Sto registrando";
        QTest::newRow("unplugged mid-take")              << "p v3 g s1"        << false << false << "non manda più suono";
        QTest::newRow("device stalls mid-take")          << "p v3 n16"         << false << false << "non manda più suono";
        QTest::newRow("trial saves nothing")             << "t s20 v6 s12 t"   << false << false << "zona «bene»";
        QTest::newRow("trial ends by itself")            << "t s20 v1 w200 s1" << false << false << "va bene così";
        QTest::newRow("trial: stopped in the quiet")     << "t s5 t"           << false << false << "prima di sentire la voce";
        QTest::newRow("trial: nothing heard")            << "t s20 z3 t"       << false << false << "non sente quasi nulla";
        QTest::newRow("trial: far from the microphone")  << "t s20 q3 t"       << false << false << "«troppo basso», 62 dB sopra la stanza: avvicinati";
        QTest::newRow("trial: shouting")                 << "t s20 l3 t"       << false << false << "«troppo forte», 94 dB sopra la stanza: allontanati";
        QTest::newRow("trial: children, no teacher")     << "t c20 c6 t"       << false << false << "nessuna voce si è sentita";
        QTest::newRow("trial: teacher among children")   << "t c20 v6 t"       << false << false << "tieni premuto Spazio";
        // clang-format on
    }

    void recording()
    {
        QFETCH(QString, script);
        QFETCH(bool, recordingAfter);
        QFETCH(bool, saved);
        QFETCH(QString, statusHas);

        Bench b;
        b.play(script);
        QCOMPARE(b.window->recording(), recordingAfter);
        QCOMPARE(ownClips(b.store).contains(QStringLiteral("voxa1")), saved);
        // Registra di seguito moves on exactly when the status says whose turn it is.
        QCOMPARE(b.window->selectedClip()->name, QString(statusHas.contains("tocca a") ? "voxa2" : "voxa1"));
        QVERIFY2(b.status().contains(statusHas), qPrintable(b.status()));
        QCOMPARE(b.microphone.started, recordingAfter); // never left open
    }

    // Files from outside through the three import buttons: "files" (Importa file), "pack"
    // (Importa una voce) and "one" (Importa da file, on va5); names shown as they are.
    void importing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("files"); // a spoken word, unless *.txt; "x|va6": the user gives x to va6
        QTest::addColumn<QString>("answers");   // "n": the user says no; "s1": stops after the first member
        QTest::addColumn<QStringList>("imported");
        QTest::addColumn<QString>("statusHas");

        using L = QStringList;
        // clang-format off
        QTest::newRow("by clip names")          << "files" << L{"va5.wav", "VOXA7.WAV"}                    << ""   << L{"voxa7", "va5"} << "Importate 2 voci su 2";
        QTest::newRow("not confirmed")          << "files" << L{"va5.wav"}                                  << "n"  << L{}               << "";
        QTest::newRow("a phone's name, given")  << "files" << L{"va5.wav", "PTT-20241107-WA0001.opus|va6"} << ""   << L{"va5", "va6"}  << "Importate 2 voci su 2";
        QTest::newRow("given to a taken clip")  << "files" << L{"va5.wav", "memo.wav|va5"}                 << ""   << L{"va5"}          << "memo.wav";
        QTest::newRow("one left without a clip") << "files" << L{"va5.wav", "registrazione 3.wav|"}         << ""   << L{"va5"}          << "Importate 1 voci su 2";
        QTest::newRow("a name left out")        << "files" << L{"va5.wav|", "registrazione 3.wav"}         << ""   << L{}               << "Nessun file";
        QTest::newRow("unreadable, one line")   << "files" << L{"a.txt|va1", "b.txt|va2", "va5.wav"}        << ""   << L{"va5"}          << "Non sono file audio che Quizzolo sa leggere (WAV, FLAC, Ogg, Opus, MP3, M4A, AAC, AMR, 3GP): a.txt, b.txt.";
        QTest::newRow("markup in a member's name") << "pack" << L{"<img src=\"/dev/zero\">.wav", "<b>va5.wav"} << "" << L{} << "<img src=\"/dev/zero\">.wav";
        QTest::newRow("a member given a clip")  << "pack"  << L{"PTT-20241107-WA0001.opus|va7"}            << ""   << L{"va7"}          << "Importate 1 voci";
        QTest::newRow("pack stopped half-way")  << "pack"  << L{"va1.wav", "va2.wav", "va3.wav"}           << "s1" << L{"va1"}          << "interrotta";
        QTest::newRow("named for another clip") << "one"   << L{"va6.wav"}                                 << ""   << L{"va5"}          << "Importata «cinque» da va6.wav";
        QTest::newRow("... and the user says no") << "one" << L{"va6.wav"}                                 << "n"  << L{}               << "";
        QTest::newRow("named for this clip")    << "one"   << L{"cinque.m4a"}                              << "n"  << L{"va5"}          << "Importata";
        QTest::newRow("not a recording")        << "one"   << L{"notes.txt"}                               << ""   << L{}               << "non usato";
        // clang-format on
    }

    void importing()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, files);
        QFETCH(QString, answers);
        QFETCH(QStringList, imported);
        QFETCH(QString, statusHas);

        Bench b;
        std::vector<PackMember> members;
        for (const QString &f : files) {
            const QString name = f.section('|', 0, 0);
            if (f.contains('|'))
                b.dialogs.assign.insert(name, f.section('|', 1));
            members.push_back({name, name.endsWith(QStringLiteral(".txt")) ? "testo" : word()});
            b.dialogs.files << b.dir.filePath(QStringLiteral("telefono/") + name);
            QVERIFY(button == "pack" || writeBytes(b.dialogs.files.last(), members.back().data));
        }
        if (button == "pack") {
            b.dialogs.files = QStringList{b.dir.filePath(QStringLiteral("voce.zip"))};
            QVERIFY(writeBytes(b.dialogs.files.first(), packArchive(members, PackFormat::Zip)));
        }
        b.dialogs.yes = answers != "n";
        b.dialogs.stopAt = answers == "s1" ? 1 : -1;
        b.window->selectClip("va5");
        button == "pack" ? b.window->importVoice() : button == "one" ? b.window->importFile() : b.window->importFiles();
        QCOMPARE(ownClips(b.store), imported);
        QVERIFY2(b.status().contains(statusHas), qPrintable(b.status()));
        for (const QLabel *label : b.window->findChildren<QLabel *>()) // none shows a name as markup
            QCOMPARE(label->textFormat(), Qt::PlainText);
        // What stays on screen stays true: coming back to the window rereads the folder (va5 gone
        // meanwhile) and keeps the status; a clip's own message goes when another is chosen.
        const QString shown = b.status();
        QFile::remove(b.dir.filePath("voce/va5.wav"));
        QEvent activation(QEvent::ActivationChange);
        QApplication::sendEvent(b.window.get(), &activation);
        const auto va5 =
            b.window->findChild<QTreeWidget *>()->findItems("va5.wav", Qt::MatchExactly | Qt::MatchRecursive, 1);
        QCOMPARE(va5.isEmpty() ? QString() : va5.first()->text(2), QStringLiteral("manca"));
        QCOMPARE(b.status(), shown);
        b.window->selectClip(QStringLiteral("va6"));
        QCOMPARE(b.status(), button == "one" ? QString() : shown);
        if (button == "files") {
            QCOMPARE(int(b.dialogs.offered.size()), files.size()); // every file is offered, matched or not
            // The next dialog opens where these files were.
            b.window->importFile();
            QCOMPARE(b.dialogs.foldersAsked.last(), b.dir.filePath(QStringLiteral("telefono")));
        }
    }
};

QTEST_MAIN(RecorderWindowTest)
#include "test_recorder_window.moc"
