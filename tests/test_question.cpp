// Start-up, the table choice, a question and its result: what is heard and seen; every product said right. Endless
// sequences of questions, the pause slider, the paced wait; an impatient child's random actions, nested inside pump
// points, with the window consistent after each.
#include "common/ClipCatalogue.h"
#include "common/DesktopStartUp.h"
#include "doubles/Harness.h"

using namespace quizzolo;
using namespace quizzolo::test;

namespace {

// How an Italian says the number, spelled independently of the clips.
QString italian(int n)
{
    static const QStringList units{"",         "uno",    "due",         "tre",      "quattro",
                                   "cinque",   "sei",    "sette",       "otto",     "nove",
                                   "dieci",    "undici", "dodici",      "tredici",  "quattordici",
                                   "quindici", "sedici", "diciassette", "diciotto", "diciannove"};
    static const QStringList tens{"",          "",         "venti",    "trenta", "quaranta",
                                  "cinquanta", "sessanta", "settanta", "ottanta"};
    if (n < 20)
        return units[n];
    const QString u = units[n % 10];
    // ventuno, ventotto: the tens lose their vowel before a vowel
    return (u.startsWith('u') || u.startsWith('o') ? tens[n / 10].chopped(1) : tens[n / 10]) + u;
}

// The words heard in a row, as one would write them down.
QString heard(const QStringList &clips)
{
    QString said;
    for (const QString &name : clips) {
        QString words = findClip(name) ? findClip(name)->words : QStringLiteral("<%1?>").arg(name);
        words.remove(QLatin1Char(' '));
        if (!said.isEmpty() && (words.startsWith('u') || words.startsWith('o')) &&
            QStringLiteral("aeio").contains(said.back()))
            said.chop(1);
        said += words;
    }
    return said;
}

} // namespace

class QuestionTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepareApplication(); }

    void speaksQuestionThenResult_data()
    {
        QTest::addColumn<int>("table");
        QTest::addColumn<QList<float>>("draws");
        QTest::addColumn<QStringList>("heard");
        const float low = 0.0f, high = 0.99999994f, f7 = ScriptedRandom::forFactor(7),
                    f8 = ScriptedRandom::forFactor(8);
        QTest::newRow("all tables, 56") << 0 << QList{f7, f8} << QStringList{"voxa7", "va8", "voxa50", "va6"};
        QTest::newRow("all tables, 1") << 0 << QList{low, low} << QStringList{"voxa1", "va1", "va1"};
        QTest::newRow("table 9, 81") << 9 << QList{low, high} << QStringList{"voxa9", "va9", "voxa80", "va1"};
    }

    // At each clip's start: both factor labels, the answer box, the result button, pumps so far.
    void speaksQuestionThenResult()
    {
        QFETCH(int, table);
        QFETCH(QList<float>, draws);
        QFETCH(QStringList, heard);
        Harness h;
        QVERIFY(h.t.stato.ritardoSecondi == 1 && h.ui.Timer1->interval() == 3000 && h.fault().isEmpty());
        h.window.show();
        QTest::mouseClick(h.ui.Sel_Quizzolo[std::size_t(table ? table : 4)], Qt::LeftButton);
        QTest::mouseClick(h.ui.Sel_Quizzolo[std::size_t(table)], Qt::LeftButton);
        QVERIFY(h.clips.played.empty() && h.random.drawn == 0 && h.t.stato.tabellaScelta == table);
        QStringList seen;
        h.clips.onPlay = [&](const PlayedClip &c) {
            seen << QStringLiteral("%1 %2|%3|%4 %5 %6")
                        .arg(c.file.chopped(4), h.ui.Label1->text(), h.ui.Label2->text(), h.ui.Text1->text())
                        .arg(h.ui.Command2->isHidden() ? "hidden" : "shown")
                        .arg(c.mode == PlayMode::Sync ? h.pump.calls : -1);
        };
        h.ui.Text1->setText(QStringLiteral("42")); // an old product is cleared
        h.random.queue.assign(draws.begin(), draws.end());
        Command1_Click(h.t);
        QCOMPARE(h.fault(), QString());
        Command2_Click(h.t);
        const QString a = h.ui.Label1->text(), b = h.ui.Label2->text();
        QStringList expected{heard[0] + " " + a + "|| hidden 1", heard[1] + " " + a + "|" + b + "| hidden 1"};
        for (const QString &clip : heard.mid(2))
            expected << clip + " " + a + "|" + b + "| shown 2";
        QCOMPARE(seen, expected);
        QCOMPARE(h.ui.Text1->text(), QString::number(a.toInt() * b.toInt()));
        QVERIFY(h.random.drawn == 2 && h.ui.Command2->isHidden());
        QCOMPARE(h.pump.calls, heard.size()); // two for the question, one for a result, one more after its units
        QCOMPARE(h.fault(), QString());
    }

    // Display names that let the window open: a local X display only with its socket (here :7), any other or Wayland.
    void displayForms_data()
    {
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<bool>("opens");
        // clang-format off
        QTest::newRow(":7")                   << QByteArray(":7")                    << QByteArray()            << true;
        QTest::newRow(":7.1")                 << QByteArray(":7.1")                  << QByteArray()            << true;
        QTest::newRow("unix:7.0")             << QByteArray("unix:7.0")              << QByteArray()            << true;
        QTest::newRow(":70, no server")       << QByteArray(":70")                   << QByteArray()            << false;
        QTest::newRow(":8.0, no server")      << QByteArray(":8.0")                  << QByteArray()            << false;
        QTest::newRow("host name and screen") << QByteArray("aula-3.scuola.it:10.0") << QByteArray()            << true;
        QTest::newRow("none")                 << QByteArray()                        << QByteArray()            << false;
        QTest::newRow("Wayland, X gone")      << QByteArray(":8")                    << QByteArray("wayland-0") << true;
        // clang-format on
    }

    void displayForms()
    {
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, wayland);
        QFETCH(bool, opens);
        QTemporaryDir sockets;
        QFile socket(sockets.filePath("X7"));
        QVERIFY(socket.open(QIODevice::WriteOnly));
        const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
        qunsetenv("QT_QPA_PLATFORM");
        qputenv("DISPLAY", display);
        qputenv("WAYLAND_DISPLAY", wayland);
        const bool available = displayAvailable(sockets.path());
        qputenv("QT_QPA_PLATFORM", platform);
        QCOMPARE(available, opens);
    }

    void everyQuestionIsSaidRight_data()
    {
        QTest::addColumn<int>("table");
        for (int t = 1; t <= 9; ++t)
            QTest::addRow("table %d", t) << t;
    }

    // Each question of the table and its product, as the trainer speaks them through its clips.
    void everyQuestionIsSaidRight()
    {
        QFETCH(int, table);
        Harness h;
        for (int second = 1; second <= 9; ++second) {
            h.clips.played.clear();
            h.random.pushQuestion(table, second);
            Command1_Click(h.t);
            Command2_Click(h.t);
            QStringList names = h.clips.files();
            for (QString &n : names)
                n.chop(4);
            QVERIFY(names.size() >= 3);
            QCOMPARE(heard(names.mid(0, 1)), italian(table) + "per");
            QCOMPARE(heard(names.mid(1, 1)), italian(second));
            QCOMPARE(heard(names.mid(2)), italian(table * second));
        }
    }

    // The slider moved during a pause: by the program, by a drag (counted when it ends),
    // by keys (Right and Down toward MAX, the slider's right end; Left and Up toward MIN).
    void pauseEndsOnTime_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<double>("movedAfter");
        QTest::addColumn<QString>("move"); // a value, "drag" to 1200, or keys
        QTest::addColumn<double>("endsAfter");
        QTest::newRow("0 s: no event processed") << 0 << 0.0 << "" << 0.0;
        QTest::newRow("999 is 1 s") << 10 << 0.5 << "999" << 1.0;
        QTest::newRow("shortened below the time waited: ends at once") << 10 << 3.0 << "500" << 3.0;
        QTest::newRow("a drag counts when it ends") << 10 << 0.5 << "drag" << 7.5;
        QTest::newRow("Right: one step toward MAX") << 1 << 0.5 << "Right" << 3.0;
        QTest::newRow("Up toward MIN, End to MAX") << 1 << 0.5 << "Up, End" << 10.0;
        QTest::newRow("PgUp toward MIN, Left stops there") << 10 << 0.5 << "PgUp, Left, Left" << 1.0;
    }

    void pauseEndsOnTime()
    {
        QFETCH(int, length);
        QFETCH(double, movedAfter);
        QFETCH(QString, move);
        QFETCH(double, endsAfter);
        Harness h;
        h.t.stato.ritardoSecondi = std::int16_t(length);
        const double start = h.clock.now;
        QScrollBar *slider = h.ui.variaRitardo;
        h.pump.atTime(start + movedAfter, [&] {
            if (move.toInt() > 0)
                return slider->setValue(move.toInt());
            if (move == "drag") { // counts only when let go
                slider->setSliderDown(true);
                slider->setSliderPosition(1200);
                return h.pump.atTime(start + 7.5, [&] { slider->setSliderDown(false); });
            }
            const QKeySequence keys(move);
            for (int i = 0; i < keys.count(); ++i)
                QTest::keyClick(slider, keys[i].key());
        });
        attendi(h.t);
        QCOMPARE(h.clock.now, start + endsAfter);
        QCOMPARE(h.pump.calls > 0, length > 0);
    }

    // Questions follow a pause after the last clip (0.6 s clips, product 56) until a stop at a chosen fake time.
    void cyclesKeepThePaceUntilStopped_data()
    {
        QTest::addColumn<bool>("withResult");
        QTest::addColumn<int>("sliderMoved"); // 0: untouched, 1: before the start, 2: during the first question
        QTest::addColumn<double>("stopAt");
        QTest::addColumn<QList<int>>("starts"); // ms after the start
        QTest::newRow("first sequence: 1 s, slider at 2") << false << 0 << 3.0 << QList<int>{0, 2200};
        QTest::newRow("moved before: the start sets 2 s") << false << 1 << 3.0 << QList<int>{0, 3200};
        QTest::newRow("6 s, stopped 4 s into the pause") << false << 2 << 4.0 << QList<int>{0};
        QTest::newRow("with result: pause, result, 2 s") << true << 0 << 6.0 << QList<int>{0, 5400};
        QTest::newRow("with result, stopped 4 s into 6") << true << 2 << 4.0 << QList<int>{0};
    }

    void cyclesKeepThePaceUntilStopped()
    {
        QFETCH(bool, withResult);
        QFETCH(int, sliderMoved);
        QFETCH(double, stopAt);
        QFETCH(QList<int>, starts);
        Harness h;
        auto click = withResult ? command4_Click : Command3_Click;
        for (int i = 0; i < 3; ++i)
            h.random.pushQuestion(7, 8);
        if (sliderMoved == 1)
            h.ui.variaRitardo->setValue(3000);
        QString faults;
        h.pump.atPump(1, [&] {
            if (sliderMoved == 2)
                h.ui.variaRitardo->setValue(3000);
            faults = h.fault(true);
            QVERIFY(h.ui.variaRitardo->hasFocus() || h.window.focusWidget() == h.ui.variaRitardo);
            h.pump.atTime(h.clock.now + 1.2 + stopAt, [&] {
                click(h.t);
                faults += h.fault(true) + (h.t.stato.fermaOperazioni ? "" : "no stop flag");
                QVERIFY(h.ui.FrameRitardo->isHidden()); // restored at once, before the loop notices
            });
        });
        const double start = h.clock.now;
        click(h.t);
        QCOMPARE(faults, QString());
        QList<int> seen;
        for (const PlayedClip &c : h.clips.played)
            if (c.file.size() == 9 && c.file.startsWith("voxa")) // voxa1..voxa9: a question begins
                seen << qRound((c.at - start) * 1000);
        QCOMPARE(seen, starts);
        QCOMPARE(h.clips.played.size(), std::size_t(seen.size() * (withResult ? 4 : 2))); // a stopped one said whole
        QCOMPARE(h.ui.Text1->text(), withResult ? QStringLiteral("56") : QString());
        QCOMPARE(h.fault(), QString());
    }

    // The result after the pause is that of the question on screen, also one asked in the pause.
    void resultReadAfterThePause()
    {
        Harness h;
        h.random.pushQuestion(7, 8);
        h.random.pushQuestion(3, 4);
        h.pump.atTime(h.clock.now + 1.5, [&] { h.ui.command4->click(), h.ui.Command1->click(); });
        h.ui.command4->click();
        QCOMPARE(h.clips.files().join(' '), "voxa7.wav va8.wav voxa3.wav va4.wav va12.wav");
    }

    void randomActionsKeepTheWindowConsistent_data()
    {
        QTest::addColumn<unsigned>("seed");
        for (unsigned seed = 1; seed <= 30; ++seed)
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
    }

    void randomActionsKeepTheWindowConsistent()
    {
        QFETCH(unsigned, seed);
        Harness h;
        h.clips.clipSeconds = 0.4;
        h.random.fallback.seed(seed);
        std::mt19937 rng(seed);
        const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
        int budget = 1000, depth = 0;
        QString fault, last;
        const auto check = [&](bool anywhere) {
            if (fault.isEmpty() && !(fault = h.fault(anywhere)).isEmpty())
                fault += " after " + last;
        };
        const auto act = [&] {
            --budget;
            if (h.t.stato.cacciaInCorso && pick(2)) // a child who knows the tables climbs to the euro
                return last = "right answer", type(h.ui.Text1, QString::number(h.t.stato.risultato) + '\r');
            std::vector<QWidget *> live;
            for (QWidget *w : h.namedControls())
                if (w->isVisibleTo(&h.window) && w->isEnabled())
                    live.push_back(w);
            QWidget *w = live[std::size_t(pick(int(live.size())))];
            last = h.nameOf(w);
            if (auto *b = qobject_cast<QAbstractButton *>(w); b && b != h.ui.fine)
                return pick(3) ? b->click() : pointer(b);
            if (w == h.ui.variaRitardo)
                return h.ui.variaRitardo->setValue(500 * (1 + pick(10)));
            if (w == h.ui.Text1 && h.ui.Timer1->isEnabled() && pick(2))
                return emit h.ui.Timer1->tick();
            if (w == h.ui.Text1)
                return type(h.ui.Text1, QString(QStringLiteral("07Ax -\r\b")[pick(8)]));
            if (w == h.ui.fine)
                return fine_Click(h.t); // answered No
            pointer(w);
        };
        h.pump.everyPump([&] {
            check(true);
            h.stopSequences(budget <= 0);
            if (budget > 0 && depth < 4 && pick(3) == 0)
                ++depth, act(), --depth;
        });
        while (budget > 0 && fault.isEmpty()) {
            h.clock.advance(std::uniform_real_distribution<double>(0.0, 2.0)(rng)); // the child thinks
            act();
            check(false);
        }
        QCOMPARE(fault, QString());
    }
};

QTEST_MAIN(QuestionTest)
#include "test_question.moc"
