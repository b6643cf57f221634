// The euro hunt: typed answers, the count and its coins, the anthem, answers out of turn.
#include "app/board/NumberPad.h"
#include "doubles/Harness.h"
#include "modes/answers/AnswerReading.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <cmath>

using namespace quizzolo;
using namespace quizzolo::test;

class EuroHuntTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepareApplication(); }

    void answerBoxKeepsOnlyWhatCanBeANumber_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("kept");
        // clang-format off
        QTest::newRow("composed letter") << "compose" << "7è" << "7";
        QTest::newRow("pasted: two at most") << "paste" << "4567" << "45";
        // clang-format on
    }

    void answerBoxKeepsOnlyWhatCanBeANumber()
    {
        QFETCH(QString, how);
        QFETCH(QString, input);
        QFETCH(QString, kept);
        Harness h;
        Command5_Click(h.t);
        QInputMethodEvent compose;
        compose.setCommitString(input);
        QApplication::clipboard()->setText(input);
        how == "paste" ? h.ui.Text1->paste() : void(QApplication::sendEvent(h.ui.Text1, &compose));
        QCOMPARE(h.ui.Text1->text(), kept);
        QTest::keyClick(h.ui.Text1, Qt::Key_Home);
        type(h.ui.Text1, "\x7f\b"); // Delete edits; Backspace at the start does nothing
        QCOMPARE(h.ui.Text1->text(), kept.mid(1));
    }

    // The real timer keeps its first start when armed again, then ticks once and opens the next question.
    void realTimerKeepsItsFirstStart()
    {
        Harness h;
        QSignalSpy ticks(h.ui.Timer1, &Timer1Control::tick);
        h.answer(2, 3, "6");
        QElapsedTimer sinceArmed;
        sinceArmed.start();
        QTest::qWait(200);
        h.ui.Timer1->setEnabled(true);
        const int left = h.ui.Timer1->remainingMs();
        QVERIFY2(left <= h.ui.Timer1->interval() - sinceArmed.elapsed() + 100, qPrintable(QString::number(left)));
        QVERIFY(ticks.wait(10000));
        QVERIFY(ticks.size() == 1 && h.t.stato.cacciaInCorso && !h.ui.Timer1->isEnabled());
    }

    void answerMovesTheCount_data()
    {
        QTest::addColumn<float>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<float>("after");
        QTest::addColumn<QString>("then"); // what opens the next question
        // clang-format off
        QTest::newRow("right at 0")                       << 0.0f  << "42" << 1.0f  << "tick";
        QTest::newRow("wrong at 0 stays 0")               << 0.0f  << "41" << 0.0f  << "tick";
        QTest::newRow("blanks are 0")                     << 13.0f << " "  << 12.0f << "tick";
        QTest::newRow("right to 11, Chiedimi in between") << 10.0f << "42" << 11.0f << "Command1";
        QTest::newRow("wrong to 16, a sequence between")  << 17.0f << "24" << 16.0f << "Command3";
        QTest::newRow("right to 19, result in between")   << 18.0f << "42" << 19.0f << "command4";
        QTest::newRow("right to 14, the result button")   << 13.0f << "42" << 14.0f << "Command2";
        QTest::newRow("wrong to 3, the hunt button")      << 4.0f  << "41" << 3.0f  << "Command5";
        // clang-format on
    }

    // Also: the box ready before the question is spoken, the prompt only repeating the request, the timer off
    // before the next handler's first sound, the next question keeping the count after the tick or another mode.
    void answerMovesTheCount()
    {
        QFETCH(float, before);
        QFETCH(QString, typed);
        QFETCH(float, after);
        QFETCH(QString, then);
        Harness h;
        QVERIFY(h.showActive());
        h.setCount(before);
        h.clips.onPlay = [&](const PlayedClip &) { QVERIFY(!h.ui.Text1->isReadOnly() && h.ui.Text1->hasFocus()); };
        h.answer(6, 7, "");
        h.clips.onPlay = nullptr;
        Command2_Click(h.t);
        type(h.ui.Text1, typed + "\r");
        QCOMPARE(h.t.stato.euroVinti, after);
        const QString clip = after > before ? "voxa_esatto.wav" : "voxa_ripeti.wav";
        QCOMPARE(h.clips.files().mid(2), (QStringList{"voxa_dig.wav", clip}));
        QCOMPARE(h.fault(), QString());
        h.stopSequencesAtPumps();
        std::vector<bool> armed;
        h.clips.onPlay = [&](const PlayedClip &) { armed.push_back(h.ui.Timer1->isEnabled()); };
        then == "tick"       ? emit h.ui.Timer1->tick()
        : then == "Command2" ? Command2_Click(h.t) // hidden between questions, yet its handler runs
                             : static_cast<QPushButton *>(h.control(then))->click();
        QVERIFY(!armed.empty() && !armed.front() && !h.ui.Timer1->isEnabled());
        if (then == "tick" || then == "Command5") {
            QVERIFY(h.t.stato.cacciaInCorso && h.random.drawn == 4);
            return;
        }
        QVERIFY(h.ui.Image1->isHidden() && h.fault().isEmpty());
        if (!h.ui.Command2->isHidden())
            h.ui.Command2->click();
        h.answer(2, 3, "6");
        QCOMPARE(h.t.stato.euroVinti, after + 1);
        QCOMPARE(h.fault(), QString());
    }

    void finalStepWaitsThenCoinThenAnthem_data()
    {
        QTest::addColumn<bool>("fingers");
        QTest::newRow("keyboard") << false;
        QTest::newRow("fingers alone at the board: hunt button and pad") << true;
    }

    // Every count's coins on the way up; the 20th right answer: a second's wait (a second
    // ENTER in it is ignored), the one-euro coin, the anthem; then a new hunt from nothing.
    void finalStepWaitsThenCoinThenAnthem()
    {
        QFETCH(bool, fingers);
        Harness h;
        if (fingers)
            h.window.setBoardView(true), h.window.activateWindow();
        NumberPad &pad = *h.window.pad();
        const auto press = [&](QChar key) { // a digit, or '\r' for ENTER
            fingers ? tap(pad.key(key == '\r' ? QStringLiteral("invio") : QString(key))) : type(h.ui.Text1, key);
        };
        const auto answer = [&](int a, int b, const QString &typed) {
            h.random.pushQuestion(a, b);
            fingers ? tap(h.ui.Command5) : Command5_Click(h.t);
            if (fingers) // a stray digit taken back
                tap(pad.key("7")), tap(pad.key("cancella"));
            for (QChar key : typed + '\r')
                press(key);
        };
        for (int count = 0; count < 20; ++count) { // a wrong answer at 0, then up to 19
            answer(2, 2, count == 0 ? "5" : "4");
            QVERIFY2(h.fault().isEmpty() && !pad.isEnabled(), qPrintable(QString::number(count) + ": " + h.fault()));
        }
        h.clips.played.clear();
        h.t.stato.ritardoSecondi = 7;
        answer(9, 9, "");
        press('8'), press('1');
        const double answeredAt = h.clock.now;
        bool coinDuringWait = true, coinAtAnthem = false;
        h.pump.atTime(answeredAt + 0.5, [&] { coinDuringWait = h.shows(h.ui.Image1, 107), press('\r'); });
        h.clips.onPlay = [&](const PlayedClip &c) {
            coinAtAnthem = c.file == "anthem1.wav" && h.shows(h.ui.Image1, 107) && h.ui.Image2->isHidden();
        };
        press('\r');
        QVERIFY(!coinDuringWait && coinAtAnthem && !h.ui.Timer1->isEnabled());
        QCOMPARE(h.clips.files().mid(2), (QStringList{"voxa_esatto.wav", "anthem1.wav"}));
        QCOMPARE(h.clips.played.back().at, answeredAt + 1.0);
        QCOMPARE(int(h.t.stato.ritardoSecondi), 1); // the wait leaves the sequences' pause at 1 s
        QCOMPARE(h.fault(), QString());
        h.clips.onPlay = [&](const PlayedClip &) { QVERIFY(h.t.stato.euroVinti == 0.0f && h.shows(h.ui.Image1, 0)); };
        fingers ? tap(h.ui.Command5) : Command5_Click(h.t);
        QVERIFY(h.t.stato.cacciaInCorso);
    }

    // A hunt opened, or answered, inside another mode's pump point; ENTER out of turn.
    void answersOutOfTurn_data()
    {
        QTest::addColumn<QString>("when");
        QTest::addColumn<float>("coins");
        QTest::newRow("hunt in a stopped sequence's pause") << "pause" << 0.0f;
        QTest::newRow("hunt between tens and units of its result") << "result" << 0.0f;
        QTest::newRow("hunt inside a double-clicked result") << "double click" << 0.0f;
        QTest::newRow("hunt answered while Chiedimi speaks") << "nested" << 1.0f;
        QTest::newRow("keys waiting as the hunt opens: old product") << "old keys" << 0.0f;
        QTest::newRow("ENTER again before the tick") << "again" << 1.0f;
    }

    void answersOutOfTurn()
    {
        QFETCH(QString, when);
        QFETCH(float, coins);
        Harness h;
        h.random.pushQuestion(7, 8); // 56: tens and units, a pump between them
        h.random.pushQuestion(3, 4); // the hunt question
        QPushButton *again = when == "double click" ? h.ui.Command2 : h.ui.command4;
        const auto stopAndHunt = [&] { again->click(), h.ui.Command5->click(); };
        h.clips.onPlay = [&](const PlayedClip &c) {
            if (when == "pause" && c.file == "va8.wav" && h.clips.played.size() == 2)
                h.pump.atTime(c.at + h.clips.clipSeconds + 0.5, stopAndHunt);
            if ((when == "result" || when == "double click") && c.file == "voxa50.wav" && h.clips.played.size() == 3)
                h.pump.atPump(h.pump.calls + 1, stopAndHunt);
        };
        if (when == "again") {
            h.answer(7, 8, "56");
            h.ui.Timer1->setEnabled(false); // ENTER just before the tick
        } else if (when == "old keys") {
            h.ui.Command1->click();
            h.ui.Command2->click(); // 56 stands in the box
            h.pump.atPump(h.pump.calls + 1, [&] { type(h.ui.Text1, "56\r"); });
            h.ui.Command5->click();
        } else {
            if (when == "nested")
                h.pump.atPump(2, [&] { h.ui.Command5->click(); }), h.pump.atPump(4, [&] { type(h.ui.Text1, "12\r"); });
            (when == "pause" || when == "result" ? h.ui.command4 : h.ui.Command1)->click();
            if (when == "double click")
                h.ui.Command2->click();
        }
        QTest::keyClick(h.ui.Text1, Qt::Key_Return);
        QCOMPARE(h.t.stato.euroVinti, coins);
        QCOMPARE(h.clips.files().back(), coins ? "voxa_esatto.wav" : "va4.wav"); // nothing more said
        QCOMPARE(h.fault(), QString());
    }

    // Codes against the box's limit, the first past each range: a discarded key changes nothing; ENTER scores.
    void keyFilter_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("passes");
        // clang-format off
        QTest::newRow("8 Backspace")     << 8    << true;
        QTest::newRow("12, before ENTER") << 12  << true;
        QTest::newRow("13 ENTER")        << 13   << true;
        QTest::newRow("14, after ENTER") << 14   << true;
        QTest::newRow("22 paste")        << 22   << true;
        QTest::newRow("32 space")        << 32   << true;
        QTest::newRow("45 -")            << 45   << true;
        QTest::newRow("57 9")            << 57   << true;
        QTest::newRow("65 A, the limit") << 65   << true;
        QTest::newRow("66 B, past it")   << 66   << false;
        QTest::newRow("97 a")            << 97   << false;
        QTest::newRow("127 DEL")         << 127  << false;
        QTest::newRow("232 è")           << 232  << false;
        QTest::newRow("8364 euro sign")  << 8364 << false;
        // clang-format on
    }

    void keyFilter()
    {
        QFETCH(int, code);
        QFETCH(bool, passes);
        Harness h;
        h.answer(2, 3, ""); // the question open, the box empty
        h.clips.played.clear();
        if (code >= 32 && code != 127) {
            type(h.ui.Text1, QString(QChar(code)));
            QCOMPARE(h.ui.Text1->text(), passes ? QString(QChar(code)) : QString());
        }
        h.ui.Text1->setText("6");
        int key = code;
        Text1_KeyPress(h.t, key);
        QCOMPARE(key, passes ? code : 0);
        QCOMPARE(h.clips.files(), code == 13 ? QStringList{"voxa_esatto.wav"} : QStringList());
        QCOMPARE(h.t.stato.euroVinti, code == 13 ? 1.0f : 0.0f);
    }

    // How a typed or pasted answer is read; the fuzzer compares every other input.
    void reads_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        // clang-format off
        QTest::newRow("blanks around")         << " 9 "      << 9.0;
        QTest::newRow("blanks inside")         << "1 2\t3\n4" << 1234.0;
        QTest::newRow("carriage return stops") << "1\r2"     << 1.0;
        QTest::newRow("-9")                    << "-9"       << -9.0;
        QTest::newRow("+9")                    << "+9"       << 9.0;
        QTest::newRow("blank after the sign")  << "- 9"      << -9.0;
        QTest::newRow("two signs")             << "+-9"      << 0.0;
        QTest::newRow("9A")                    << "9A"       << 9.0;
        QTest::newRow("A9")                    << "A9"       << 0.0;
        QTest::newRow("digit after a comma")   << "4,2"      << 4.0;
        QTest::newRow("after a superscript")   << "4\u00b22" << 4.0;
        QTest::newRow("second point stops")    << "1.2.3"    << 1.2;
        QTest::newRow("exponent d, signed")    << "2d-1"     << 0.2;
        QTest::newRow("E alone")               << "7E"       << 7.0;
        QTest::newRow("hex 16-bit wraps")      << "&HFFFF"   << -1.0;
        QTest::newRow("hex 32-bit")            << "&H10000"  << 65536.0;
        QTest::newRow("octal stops at 8")      << "&O78"     << 7.0;
        QTest::newRow("huge")                  << "1E999"    << HUGE_VAL;
        // clang-format on
    }

    void reads()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(leggiRisposta(text), value);
    }
};

QTEST_MAIN(EuroHuntTest)
#include "test_euro_hunt.moc"
