// Hand pointers, focus under the mouse, the exit question and the credit links.
#include "app/ExitAndCredits.h"
#include "app/ResourceLoader.h"
#include "doubles/Harness.h"
#include "engine/Texts.h"
#include "modes/EuroHunt.h"
#include "modes/Sequences.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace quizzolo;
using namespace quizzolo::test;

namespace {

QWidget *control(Harness &h, const QString &name)
{
    const std::map<QString, QWidget *> byName = {{"Command1", h.ui.Command1}, {"Command2", h.ui.Command2},
                                                 {"Command3", h.ui.Command3}, {"command4", h.ui.command4},
                                                 {"Command5", h.ui.Command5}, {"fine", h.ui.fine},
                                                 {"Label7", h.ui.Label7},     {"Label8", h.ui.Label8}};
    return byName.at(name);
}

void move(QWidget *w)
{
    QMouseEvent event(QEvent::MouseMove, QPointF(10, 10), w->mapToGlobal(QPointF(10, 10)), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

void press(QWidget *w, Qt::MouseButton button)
{
    QMouseEvent event(QEvent::MouseButtonPress, QPointF(10, 10), w->mapToGlobal(QPointF(10, 10)), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

bool showsCursor(QWidget *w, int id)
{
    const QCursor expected = loadCursor(id);
    const QCursor seen = w->cursor();
    return seen.shape() == Qt::BitmapCursor && seen.hotSpot() == expected.hotSpot() &&
           seen.bitmap().toImage() == expected.bitmap().toImage();
}

} // namespace

class PointerExitTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepareApplication(); }

    void handsAndFocusFollowThePointer_data();
    void handsAndFocusFollowThePointer();
    void disabledButtonsIgnoreThePointer();
    void promptKeepsTheFocusOffDuringAQuestion_data();
    void promptKeepsTheFocusOffDuringAQuestion();
    void enterOrSpacePressesThePointedButton_data();
    void enterOrSpacePressesThePointedButton();
    void pointingAtStopDuringAQuestionTurnsEnterIntoExit();
    void yesEndsTheProgramWithNothingAfter_data();
    void yesEndsTheProgramWithNothingAfter();
    void noLetsTheSequenceGoOn();
    void closingTheWindowDuringAPauseEndsTheProgram();
    void linksOpenTheirAddresses_data();
    void linksOpenTheirAddresses();
    void linkOpensOnlyOnALeftClick_data();
    void linkOpensOnlyOnALeftClick();
};

void PointerExitTest::handsAndFocusFollowThePointer_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("takesFocus");
    for (const char *button : {"Command1", "Command2", "Command3", "command4", "Command5", "fine"})
        QTest::newRow(button) << QString(button) << true;
    QTest::newRow("Label7") << "Label7" << false;
    QTest::newRow("Label8") << "Label8" << false;
}

void PointerExitTest::handsAndFocusFollowThePointer()
{
    QFETCH(QString, name);
    QFETCH(bool, takesFocus);
    Harness h;
    h.ui.Command2->setVisible(true);
    QVERIFY(h.showActive());
    QWidget *w = control(h, name);
    h.ui.Text1->setFocus();
    QVERIFY(w->hasMouseTracking());

    press(w, Qt::RightButton); // any button
    QVERIFY(showsCursor(w, 102));
    QVERIFY(h.ui.Text1->hasFocus()); // a press alone moves no focus
    move(w);
    QVERIFY(showsCursor(w, 101));
    QCOMPARE(w->hasFocus(), takesFocus);
    QCOMPARE(h.ui.Text1->hasFocus(), !takesFocus);
}

void PointerExitTest::disabledButtonsIgnoreThePointer()
{
    Harness h;
    QVERIFY(h.showActive());
    Command5_Click(h.t); // the other modes' buttons are disabled during a hunt question
    QVERIFY(h.ui.Text1->hasFocus());
    press(h.ui.Command1, Qt::LeftButton);
    move(h.ui.Command1);
    QCOMPARE(h.ui.Command1->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(h.ui.Text1->hasFocus());
    // Enabled again, the button shows the open hand at the first move, not a stale fist.
    h.ui.Command1->setEnabled(true);
    move(h.ui.Command1);
    QVERIFY(showsCursor(h.ui.Command1, 101));
}

void PointerExitTest::promptKeepsTheFocusOffDuringAQuestion_data()
{
    QTest::addColumn<bool>("questionOpen");
    QTest::newRow("hunt question open") << true;
    QTest::newRow("single question") << false;
}

void PointerExitTest::promptKeepsTheFocusOffDuringAQuestion()
{
    QFETCH(bool, questionOpen);
    Harness h;
    QVERIFY(h.showActive());
    if (questionOpen)
        Command5_Click(h.t);
    else
        h.ui.Command2->setVisible(true);
    h.ui.Text1->setFocus();
    move(h.ui.Command2);
    QCOMPARE(h.ui.Command2->hasFocus(), !questionOpen);
    QVERIFY(showsCursor(h.ui.Command2, 101));
}

void PointerExitTest::enterOrSpacePressesThePointedButton_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("ENTER") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    QTest::newRow("SPACE") << int(Qt::Key_Space);
}

void PointerExitTest::enterOrSpacePressesThePointedButton()
{
    QFETCH(int, key);
    Harness h;
    QVERIFY(h.showActive());
    h.ui.Text1->setFocus();
    move(h.ui.Command1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(h.clips.syncFiles().size(), qsizetype(2)); // a question was asked
    QVERIFY(!h.ui.Command2->isHidden());
}

void PointerExitTest::pointingAtStopDuringAQuestionTurnsEnterIntoExit()
{
    Harness h;
    QVERIFY(h.showActive());
    h.random.pushQuestion(2, 2);
    Command5_Click(h.t);
    QTest::keyClicks(h.ui.Text1, "4");
    move(h.ui.fine);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(h.exitQuestion.asked, 1);
    QVERIFY(h.t.stato.cacciaInCorso); // No: the question stays open
    QCOMPARE(h.t.stato.euroVinti, 0.0f);
    // Passing over the answer box again gives ENTER back to the answer.
    move(h.ui.Text1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(h.t.stato.euroVinti, 1.0f);
}

void PointerExitTest::yesEndsTheProgramWithNothingAfter_data()
{
    QTest::addColumn<QString>("when");
    QTest::newRow("in a sequence's pause") << "pause";
    QTest::newRow("while a clip is spoken") << "clip";
    QTest::newRow("during a hunt question") << "hunt";
}

void PointerExitTest::yesEndsTheProgramWithNothingAfter()
{
    QFETCH(QString, when);
    Harness h;
    h.exitQuestion.answers = {true};
    std::size_t heardBeforeExit = 0;
    const auto stop = [&] {
        heardBeforeExit = h.clips.played.size();
        fine_Click(h.t);
    };
    if (when == "pause")
        h.pump.atTime(h.clock.now + 2 * h.clips.clipSeconds + 0.5, stop);
    else if (when == "clip")
        h.clips.onPlay = [&](const PlayedClip &c) {
            if (c.file.startsWith("va"))
                h.pump.atPump(h.pump.calls + 1, stop);
        };
    else
        h.pump.atPump(1, stop);
    bool ended = false;
    try {
        if (when == "hunt")
            Command5_Click(h.t);
        else
            command4_Click(h.t);
    } catch (const ProgramEnded &) {
        ended = true;
    }
    QVERIFY(ended);
    QCOMPARE(h.end.ended, 1);
    QVERIFY(h.clips.silenced >= 1);
    QCOMPARE(h.clips.played.size(), heardBeforeExit);
}

void PointerExitTest::noLetsTheSequenceGoOn()
{
    Harness h;
    h.exitQuestion.answers = {false};
    h.exitQuestion.whileOpen = [&] { h.clock.advance(30.0); }; // the box stays open a while
    int questions = 0;
    h.clips.onPlay = [&](const PlayedClip &c) {
        if (c.file.startsWith("voxa"))
            ++questions;
    };
    h.pump.atPump(3, [&] { fine_Click(h.t); });
    h.pump.everyPump([&] {
        if (questions < 3)
            return true;
        Command3_Click(h.t);
        return false;
    });
    Command3_Click(h.t);
    QCOMPARE(h.exitQuestion.asked, 1);
    QCOMPARE(questions, 3);
    QCOMPARE(h.end.ended, 0);
}

void PointerExitTest::closingTheWindowDuringAPauseEndsTheProgram()
{
    Harness h;
    QVERIFY(h.showActive());
    std::size_t heardBeforeClose = 0;
    h.pump.atTime(h.clock.now + 2 * h.clips.clipSeconds + 0.5, [&] {
        heardBeforeClose = h.clips.played.size();
        h.window.close();
    });
    bool ended = false;
    try {
        Command3_Click(h.t);
    } catch (const ProgramEnded &) {
        ended = true;
    }
    QVERIFY(ended);
    QCOMPARE(h.exitQuestion.asked, 0); // no question when the window is closed
    QCOMPARE(h.clips.played.size(), heardBeforeClose);
}

void PointerExitTest::linksOpenTheirAddresses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("scheme");
    QTest::newRow("author's e-mail") << "Label7"
                                     << "mailto";
    QTest::newRow("web site") << "Label8"
                              << "https";
}

void PointerExitTest::linksOpenTheirAddresses()
{
    QFETCH(QString, name);
    QFETCH(QString, scheme);
    Harness h;
    QVERIFY(h.showActive());
    QTest::mouseClick(control(h, name), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(h.links.opened.size(), std::size_t(1));
    const QUrl url = h.links.opened[0];
    QCOMPARE(url.scheme(), scheme);
    const Credits c = credits();
    QCOMPARE(scheme == "mailto" ? url.path() : url.host(), scheme == "mailto" ? c.email : c.web);
    // A press that ends outside the link opens nothing.
    QTest::mousePress(control(h, name), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(control(h, name), Qt::LeftButton, Qt::NoModifier, QPoint(-50, 5));
    QCOMPARE(h.links.opened.size(), std::size_t(1));
}

void PointerExitTest::linkOpensOnlyOnALeftClick_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<int>("opened");
    QTest::newRow("double click opens once") << "double" << 1;
    QTest::newRow("right click opens nothing") << "right" << 0;
}

void PointerExitTest::linkOpensOnlyOnALeftClick()
{
    QFETCH(QString, gesture);
    QFETCH(int, opened);
    Harness h;
    QVERIFY(h.showActive());
    if (gesture == "double") {
        QTest::mouseClick(h.ui.Label8, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QTest::mouseDClick(h.ui.Label8, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QTest::mouseRelease(h.ui.Label8, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    } else {
        QTest::mouseClick(h.ui.Label8, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    }
    QCOMPARE(int(h.links.opened.size()), opened);
}

QTEST_MAIN(PointerExitTest)
#include "test_pointer_exit.moc"
