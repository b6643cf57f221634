// The window as a child meets it: TAB, pointers, fingers, ENTER, exit, links, pictures.
#include "app/RealOutside.h"
#include "app/Widgets.h"
#include "app/board/NumberPad.h"
#include "doubles/Harness.h"

#include <QMessageBox>

using namespace quizzolo;
using namespace quizzolo::test;

class WindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepareApplication(); }

    // TAB walks the design's one order, passing over what is hidden or disabled.
    void tabOrderAsDesigned_data()
    {
        QTest::addColumn<bool>("hunt");
        QTest::addColumn<int>("table");
        QTest::addColumn<QString>("order");
        // clang-format off
        QTest::newRow("table 7 chosen") << false << 7 << "Command1 Command2 7 Text1 Command5 Command3 command4 fine variaRitardo";
        QTest::newRow("hunt question") << true << 0 << "Command2 tutte Text1 fine";
        // clang-format on
    }

    void tabOrderAsDesigned()
    {
        QFETCH(bool, hunt);
        QFETCH(int, table);
        QFETCH(QString, order);
        Harness h;
        h.ui.Command2->setVisible(true);
        h.ui.FrameRitardo->setVisible(!hunt);
        QVERIFY(h.showActive());
        h.ui.Sel_Quizzolo[std::size_t(table)]->click();
        if (hunt)
            Command5_Click(h.t);
        const QStringList expected = order.split(' ');
        h.control(expected[0])->setFocus();
        QStringList seen;
        for (int i = 0; i <= expected.size(); ++i, QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab))
            seen << h.nameOf(QApplication::focusWidget());
        QCOMPARE(seen, expected + expected.mid(0, 1));
    }

    // The hands, the focus under the pointer, and ENTER or SPACE pressing the pointed button.
    void handsAndFocusFollowThePointer_data()
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

    void handsAndFocusFollowThePointer()
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
        pointer(w, QEvent::MouseButtonPress, Qt::RightButton); // any button: the closed hand, no focus move
        QVERIFY(before->hasFocus() && (!w->isEnabled() || name == "Text1" || showsCursor(w, 102)));
        pointer(w);
        QCOMPARE(w->hasFocus(), takesFocus);
        if (name == "Text1")
            return;
        QVERIFY(w->isEnabled() ? showsCursor(w, 101) : w->cursor().shape() == Qt::ArrowCursor);
        w->setEnabled(true); // the open hand at the first move, not a stale fist
        pointer(w);
        QVERIFY(showsCursor(w, 101));
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

    // Fingers on the board: a tap is a click; a finger leaves no pointer to bring the focus
    // back to the answer box, so a tap elsewhere during a question hands it back.
    void fingersAtTheBoard_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("where"); // a control, or "pad" and a key
        QTest::addColumn<bool>("question");
        QTest::addColumn<QString>("typed"); // what the answer box then holds
        // clang-format off
        QTest::newRow("tap on a link")                          << "tap"    << "Label8"       << false << "";
        QTest::newRow("tap on the slider's groove")             << "tap"    << "variaRitardo" << false << "";
        QTest::newRow("table choice in a question: focus back") << "tap"    << "7"            << true  << "";
        QTest::newRow("STOP in a question, No: focus back")     << "tap"    << "fine"         << true  << "";
        QTest::newRow("long press on a key: one digit")         << "long"   << "pad4"         << true  << "4";
        QTest::newRow("two fingers on two keys: the first")     << "two"    << "pad1"         << true  << "1";
        QTest::newRow("taps while the question is spoken")      << "spoken" << ""             << true  << "5";
        // clang-format on
    }

    void fingersAtTheBoard()
    {
        QFETCH(QString, how);
        QFETCH(QString, where);
        QFETCH(bool, question);
        QFETCH(QString, typed);
        Harness h;
        h.window.setBoardView(true);
        h.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&h.window));
        h.ui.FrameRitardo->setVisible(where == "variaRitardo");
        NumberPad &pad = *h.window.pad();
        if (how == "spoken") // the mode buttons are off, the pad is live
            h.pump.atPump(1, [&] { tap(h.ui.Command1), tap(pad.key("5")), tap(h.ui.Command5); });
        if (question)
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
        QCOMPARE(int(h.links.opened.size()), where == "Label8" ? 1 : 0);
        QCOMPARE(h.ui.variaRitardo->value() != 1000, where == "variaRitardo");
        QCOMPARE(h.exitQuestion.asked, where == "fine" ? 1 : 0);
        QCOMPARE(h.ui.Text1->text(), typed);
        QCOMPARE(h.t.stato.cacciaInCorso, question);
        QVERIFY(!question || h.ui.Text1->hasFocus());
        if (where != "variaRitardo") // its frame stands without a sequence
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

    // The real question: the design's texts and buttons, Yes the default, in the window's face.
    void exitQuestionAsDesigned_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("yes");
        QTest::newRow("ENTER: Yes") << int(Qt::Key_Return) << true;
        QTest::newRow("Escape: No") << int(Qt::Key_Escape) << false;
    }

    void exitQuestionAsDesigned()
    {
        QFETCH(int, key);
        QFETCH(bool, yes);
        MessageBoxExitQuestion question;
        QTimer::singleShot(50, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key(key)); // the box lives on
            QVERIFY(box->windowTitle() == "ATTENZIONE" && box->text() == "Vuoi uscire?");
            QVERIFY(box->icon() == QMessageBox::Question && box->defaultButton() == box->button(QMessageBox::Yes));
            QVERIFY(box->standardButtons() == (QMessageBox::Yes | QMessageBox::No));
            for (QWidget *w : box->findChildren<QWidget *>()) // the window's face, not the desktop's default
                if (qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w))
                    QVERIFY(QStringList({"Arial", "Liberation Sans"}).contains(QFontInfo(w->font()).family()));
        });
        QCOMPARE(question.confirmExit(), yes);
    }

    // The author and the web address start the credit's third and fourth lines, under their links.
    void creditLinesMeetTheirLinks()
    {
        Harness h;
        auto *credit = static_cast<CreditText *>(h.ui.Label6);
        const QStringList lines = credit->lines();
        QVERIFY(lines.size() > 3 && lines[2].startsWith(h.ui.Label7->text().replace(' ', QChar(0xA0))));
        QVERIFY(lines[3].startsWith(h.ui.Label8->text()));
        QVERIFY(qAbs(credit->y() + credit->lineTop(2) - h.ui.Label7->y()) <= 1);
        QVERIFY(qAbs(credit->y() + credit->lineTop(3) - h.ui.Label8->y()) <= 1);
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
