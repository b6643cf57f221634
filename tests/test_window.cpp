// The window as a child meets it: TAB, pointers, fingers, ENTER, exit, links, pictures.
#include "app/NumberPad.h"
#include "app/RealOutside.h"
#include "doubles/Harness.h"

#include <QMessageBox>

using namespace quizzolo;
using namespace quizzolo::test;

class WindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepareApplication(); }

    // TAB walks the design's one order.
    void tabOrderAsDesigned()
    {
        Harness h;
        h.ui.Command2->setVisible(true);
        h.ui.FrameRitardo->setVisible(true);
        QVERIFY(h.showActive());
        h.ui.Sel_Quizzolo[7]->click();
        const QStringList expected =
            QString("Command1 Command2 7 Text1 Command5 Command3 command4 fine variaRitardo").split(' ');
        h.control(expected[0])->setFocus();
        QStringList seen;
        for (int i = 0; i <= expected.size(); ++i, QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab))
            seen << h.nameOf(QApplication::focusWidget());
        QCOMPARE(seen, expected + expected.mid(0, 1));
    }

    // The focus under the pointer, ENTER or SPACE pressing the pointed button, the links.
    void focusFollowsThePointer_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("hunt");
        QTest::addColumn<bool>("takesFocus");
        QTest::addColumn<int>("key");
        const std::pair<const char *, int> buttons[] = {{"Command1", Qt::Key_Enter},  {"Command2", Qt::Key_Space},
                                                        {"Command3", Qt::Key_Return}, {"command4", Qt::Key_Space},
                                                        {"Command5", Qt::Key_Return}, {"fine", Qt::Key_Return}};
        for (const auto &[button, key] : buttons)
            QTest::newRow(button) << QString(button) << false << true << key;
        QTest::newRow("Label7") << "Label7" << false << false << 0;
        QTest::newRow("Label8") << "Label8" << false << false << 0;
        QTest::newRow("prompt during a hunt question") << "Command2" << true << false << 0;
        QTest::newRow("answer box with no hunt question") << "Text1" << false << false << 0;
        QTest::newRow("answer box during a hunt question") << "Text1" << true << true << 0;
        QTest::newRow("disabled during a hunt question") << "Command1" << true << false << 0;
        QTest::newRow("STOP during a hunt question: ENTER asks") << "fine" << true << true << int(Qt::Key_Return);
    }

    void focusFollowsThePointer()
    {
        QFETCH(QString, name);
        QFETCH(bool, hunt);
        QFETCH(bool, takesFocus);
        QFETCH(int, key);
        Harness h;
        h.ui.Command2->setVisible(true);
        QVERIFY(h.showActive());
        if (hunt)
            Command5_Click(h.t);
        QWidget *w = h.control(name), *before = h.control(name == "Text1" ? "fine" : "Text1");
        before->setFocus();
        pointer(w, QEvent::MouseButtonPress, Qt::RightButton); // any button pressed: no focus move
        QVERIFY(before->hasFocus());
        pointer(w);
        QCOMPARE(w->hasFocus(), takesFocus);
        if (key) {
            QSignalSpy pressed(qobject_cast<QPushButton *>(w), &QPushButton::clicked);
            h.stopSequencesAtPumps();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            QVERIFY(!pressed.isEmpty() && h.exitQuestion.asked == (name == "fine"));
        }
        if (!name.startsWith("Label"))
            return;
        QTest::mouseClick(w, Qt::RightButton);
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseDClick(w, Qt::LeftButton, {}, QPoint(5, 5)); // a double click still opens once
        QTest::mousePress(w, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(-50, 5)); // released outside: nothing
        QCOMPARE(h.links.opened.size(), std::size_t(1));
        const QString url = h.links.opened[0].toString().remove(QRegularExpression("[/:]"));
        QCOMPARE(url, name == "Label7" ? "mailto" + credits().email : "https" + credits().web);
    }

    // Fingers in a question, a row per gesture; leaving no pointer to bring the focus back, a tap hands it back.
    void fingersAtTheBoard_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("where"); // a control, or "pad" and a key
        QTest::addColumn<QString>("typed"); // what the answer box then holds
        // clang-format off
        QTest::newRow("tap on a table choice: focus back")  << "tap"    << "7"    << "";
        QTest::newRow("long press on a key: one digit")     << "long"   << "pad4" << "4";
        QTest::newRow("two fingers on two keys: the first") << "two"    << "pad1" << "1";
        QTest::newRow("taps while the question is spoken")  << "spoken" << ""     << "5";
        // clang-format on
    }

    void fingersAtTheBoard()
    {
        QFETCH(QString, how);
        QFETCH(QString, where);
        QFETCH(QString, typed);
        Harness h;
        h.window.setBoardView(true);
        QVERIFY(h.showActive());
        NumberPad &pad = *h.window.pad();
        if (how == "spoken") // the mode buttons are off, the pad is live
            h.pump.atPump(1, [&] { tap(h.ui.Command1), tap(pad.key("5")), tap(h.ui.Command5); });
        Command5_Click(h.t);
        QWidget *w = where.startsWith("pad") ? pad.key(where.mid(3)) : h.control(where), *other = pad.key("2");
        if (how == "two") {
            QTest::touchEvent(&h.window, touchScreen()).press(0, w->rect().center(), w);
            QTest::touchEvent(&h.window, touchScreen()).stationary(0).press(1, other->rect().center(), other);
            QTest::touchEvent(&h.window, touchScreen()).release(0, w->rect().center(), w).release(1, {}, other);
        } else if (w) {
            tap(w, how == "long" ? 800 : 0);
        }
        QCoreApplication::processEvents();
        QCOMPARE(h.t.stato.tabellaScelta, where == "7" ? 7 : 0);
        QCOMPARE(h.ui.Text1->text(), typed);
        QVERIFY(h.t.stato.cacciaInCorso && h.ui.Text1->hasFocus());
        QCOMPARE(h.fault(), QString());
    }

    void exitEndsTheProgramWithNothingAfter_data()
    {
        QTest::addColumn<QString>("when");
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes in a sequence's pause") << "pause" << true;
        QTest::newRow("Yes during a hunt question") << "hunt" << true;
        QTest::newRow("window closed in a pause: no question") << "close" << true;
        QTest::newRow("No: the sequence goes on") << "pause" << false;
    }

    void exitEndsTheProgramWithNothingAfter()
    {
        QFETCH(QString, when);
        QFETCH(bool, yes);
        Harness h;
        h.exitQuestion.answer = yes;
        std::size_t heardBeforeExit = 0;
        const auto stop = [&] {
            heardBeforeExit = h.clips.played.size();
            when == "close" ? void(h.window.close()) : fine_Click(h.t);
            if (!yes)
                command4_Click(h.t);
        };
        if (when == "pause" || when == "close")
            h.pump.atTime(h.clock.now + 2 * h.clips.clipSeconds + 0.5, stop);
        else
            h.pump.atPump(1, stop);
        try {
            (when == "hunt" ? Command5_Click : command4_Click)(h.t);
            QVERIFY(!yes);
            QCOMPARE(h.clips.files().size(), 4); // the stopped cycle still spoke its result
        } catch (const ProgramEnded &) {
            QVERIFY(yes && h.clips.silenced >= 1 && h.clips.played.size() == heardBeforeExit);
        }
        QCOMPARE(h.exitQuestion.asked, when == "close" ? 0 : 1);
    }

    // The real question: the design's texts and buttons, Yes the default.
    void exitQuestionAsDesigned_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("ENTER: Yes") << int(Qt::Key_Return);
        QTest::newRow("Escape: No") << int(Qt::Key_Escape);
    }

    void exitQuestionAsDesigned()
    {
        QFETCH(int, key);
        MessageBoxExitQuestion question;
        QTimer::singleShot(50, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key(key)); // the box lives on
            QVERIFY(box->windowTitle() == "ATTENZIONE" && box->text() == "Vuoi uscire?");
            QVERIFY(box->icon() == QMessageBox::Question && box->defaultButton() == box->button(QMessageBox::Yes));
            QVERIFY(box->standardButtons() == (QMessageBox::Yes | QMessageBox::No));
        });
        QCOMPARE(question.confirmExit(), key == Qt::Key_Return);
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
