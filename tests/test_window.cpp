// The window as a child meets it: TAB, pointers, fingers, ENTER, exit, links. And every control's container, place,
// size, font and flat colour as the layout table has them, on the designed window and on the board at two screen
// sizes; that part also runs at 200 % (QT_SCALE_FACTOR=2).
#include "app/Widgets.h"
#include "app/board/NumberPad.h"
#include "doubles/Harness.h"

#include <QMessageBox>

using namespace quizzolo;
using namespace quizzolo::test;

namespace {

// The layout table in twips and points ('b' bold, 'u' underlined). The probe: a point of the control (twips from
// its corner) showing its flat colour, "face" the desktop's 3D-face grey. A line's place: its start and its run.
struct Placed {
    const char *name, *container;
    int left, top, width, height;
    double points;
    char face;
    int probeX, probeY;
    const char *colour;
};

// clang-format off
const Placed layoutTable[] = {
    {"FrameRitardo", "tabella",      7875, 3180, 3855, 1140, 18,    'b', 3750, 60,   "face"},
    {"variaRitardo", "FrameRitardo", 165,  450,  3480, 255,  0,     ' ', 0,    0,    ""},
    {"Label5",       "FrameRitardo", 3120, 765,  540,  270,  12,    'b', 30,   262,  "#e0e0e0"},
    {"Label4",       "FrameRitardo", 165,  735,  570,  270,  12,    'b', 30,   262,  "#e0e0e0"},
    {"Frame3",       "tabella",      1695, 4635, 10300, 4395, 0,    ' ', 75,   75,   "#0000ff"},
    {"fine",         "Frame3",       8610, 3180, 1605, 1110, 18,    'b', 0,    0,    ""},
    {"command4",     "Frame3",       210,  1725, 4575, 1110, 18,    'b', 0,    0,    ""},
    {"Command3",     "Frame3",       240,  210,  4575, 1110, 18,    'b', 0,    0,    ""},
    {"Command5",     "Frame3",       225,  3150, 4575, 1110, 18,    'b', 0,    0,    ""},
    {"Image3",       "Frame3",       7725, 735,  2010, 2010, 0,     ' ', 0,    0,    ""},
    {"Image2",       "Frame3",       5640, 105,  1995, 2010, 0,     ' ', 0,    0,    ""},
    {"Image1",       "Frame3",       5100, 2175, 2010, 2010, 0,     ' ', 0,    0,    ""},
    {"Frame2",       "tabella",      1920, 225,  9810, 2685, 0,     ' ', 45,   45,   "face"},
    {"Text1",        "Frame2",       6960, 255,  2670, 2250, 99.75, 'b', 120,  120,  "#ffffff"},
    {"Label1",       "Frame2",       120,  240,  2370, 2250, 99.75, 'b', 60,   60,   "#ffff80"},
    {"Label2",       "Frame2",       3540, 255,  2370, 2250, 99.75, 'b', 60,   60,   "#ffff80"},
    {"Line1",        "Frame2",       2655, 1635, 705,  705,  0,     ' ', 0,    0,    "#000000"},
    {"Line2",        "Frame2",       3360, 1620, -690, 705,  0,     ' ', 0,    0,    "#000000"},
    {"Line3",        "Frame2",       6090, 1785, 720,  0,    0,     ' ', 0,    0,    "#000000"},
    {"Line4",        "Frame2",       6090, 2145, 720,  0,    0,     ' ', 0,    0,    "#000000"},
    {"Frame1",       "tabella",      0,    0,    1695, 9000, 0,     ' ', 1650, 900,  "#ffc080"},
    {"Label8",       "Frame1",       45,   7695, 1455, 240,  9.75,  'u', 0,    0,    ""},
    {"Label7",       "Frame1",       45,   7440, 1125, 240,  9.75,  'u', 0,    0,    ""},
    {"Label6",       "Frame1",       45,   6960, 1590, 1980, 9.75,  ' ', 1500, 1900, "face"},
    {"Label3",       "Frame1",       45,   75,   1575, 735,  15.75, 'b', 30,   690,  "#c0c0c0"},
    {"Command2",     "tabella",      7905, 3195, 3810, 1035, 18,    'b', 0,    0,    ""}, // under FrameRitardo
    {"Command1",     "tabella",      1905, 3165, 4575, 1110, 18,    'b', 150,  150,  "#00ff00"},
};
// The table choices: Left 255, Width 1200, Height 435, these Tops.
const std::pair<const char *, int> choices[] = {{"tutte", 990}, {"1", 1586}, {"2", 2182}, {"3", 2778}, {"4", 3374},
                                                {"5", 3970},    {"6", 4566}, {"7", 5162}, {"8", 5758}, {"9", 6360}};
// clang-format on

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepareApplication(); }

    void wholeWindowAsDesigned_data()
    {
        QTest::addColumn<QSize>("screen"); // empty: the designed window
        QTest::newRow("designed window") << QSize();
        QTest::newRow("board 1920x1080") << QSize(1920, 1080);
        QTest::newRow("board 1366x768") << QSize(1366, 768);
    }

    void wholeWindowAsDesigned()
    {
        QFETCH(QSize, screen);
        Harness h;
        h.ui.FrameRitardo->setVisible(true);
        h.ui.Command2->setVisible(true);
        QVERIFY(h.showActive());
        QTest::keyClick(&h.window, Qt::Key_F11); // to the board; the designed window comes back by Esc
        if (screen.isValid())
            h.window.resize(screen);
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(h.window.size(), screen.isValid() ? screen : QSize(800, 600));
        // The board fills the height, centred; otherwise 15 twips a pixel, exactly.
        const double scale = screen.isValid() ? screen.height() / 600.0 : 1;
        const QRect stage = h.window.stage()->geometry();
        QCOMPARE(stage.size(), QSize(qRound(800 * scale), qRound(600 * scale)));
        QVERIFY(qAbs(stage.center().x() - h.window.width() / 2) <= 1 && stage.top() == 0);

        std::vector<Placed> rows(std::begin(layoutTable), std::end(layoutTable));
        for (const auto &[name, top] : choices)
            rows.push_back({name, "Frame1", 255, top, 1200, 435, 18, 'b', 1150, 30, "#ffc080"});
        const QImage shot = h.window.grab().toImage();
        const auto px = [scale](double twips) { return twips * scale / 15.0; };
        const auto near = [scale](double seen, double wanted) {
            return qAbs(seen - wanted) <= (scale == 1 ? .5 : 1.5);
        };
        for (const Placed &d : rows) {
            QWidget *w = h.control(d.name);
            const QString name = d.name;
            QVERIFY2(w && w->parentWidget() == h.control(d.container), qPrintable(name + " is not in its container"));
            const QRect g = w->geometry();
            QPointF probe = QPointF(g.topLeft()) + QPointF(px(d.probeX), px(d.probeY));
            if (name.startsWith("Line")) // the middle of the stroke is solid ink
                probe = QPointF(px(d.left + d.width / 2.0), px(d.top + d.height / 2.0));
            else
                QVERIFY2(
                    near(g.x(), px(d.left)) && near(g.y(), px(d.top)) && near(g.width(), px(d.width)) &&
                        near(g.height(), px(d.height)),
                    qPrintable(name + QString(" at %1,%2 %3x%4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height())));
            const QFontInfo font(w->font());
            QVERIFY2(d.points == 0 || (QStringList({"Arial", "Liberation Sans"}).contains(font.family()) &&
                                       near(font.pixelSize(), d.points * 96 / 72 * scale) &&
                                       font.bold() == (d.face == 'b') && font.underline() == (d.face == 'u')),
                     qPrintable(name + " has not its font"));
            if (*d.colour == 0)
                continue;
            const QColor wanted = QString(d.colour) == "face" ? QPalette().color(QPalette::Button) : QColor(d.colour);
            const QPoint at =
                ((probe + w->parentWidget()->mapTo(&h.window, QPointF())) * shot.devicePixelRatio()).toPoint();
            QVERIFY2(shot.pixelColor(at) == wanted, qPrintable(name + ": " + shot.pixelColor(at).name()));
        }
        // The links underlined in their exact blue, beside the credit's lines that start with them.
        const auto *credit = static_cast<CreditText *>(h.ui.Label6);
        for (QLabel *link : {h.ui.Label7, h.ui.Label8}) {
            const QImage ink = link->grab().toImage();
            bool blue = false;
            for (int i = 0; i < ink.width() * ink.height() && !blue; ++i)
                blue = ink.pixelColor(i % ink.width(), i / ink.width()) == QColor(0, 0, 192);
            const int line = link == h.ui.Label7 ? 2 : 3;
            QVERIFY2(blue && credit->lines().value(line).startsWith(link->text().replace(' ', QChar(0xA0))) &&
                         qAbs(credit->y() + credit->lineTop(line) - link->y()) <= scale,
                     qPrintable(h.nameOf(link)));
        }
        QCOMPARE(h.window.pad()->isVisible(), screen.isValid());
        if (screen.isValid()) { // the pad beside the window, its keys for a finger
            const QRect pad = h.window.pad()->geometry();
            QVERIFY(pad.left() > stage.right() && pad.right() < h.window.width() && pad.height() < screen.height());
            QVERIFY(h.window.pad()->key("invio")->width() * 1080 / screen.height() >= 80);
        }
    }
    // TAB walks the window's one order.
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

    // The hands and the focus under the pointer, ENTER or SPACE pressing the pointed button, the links.
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
        pointer(w, QEvent::MouseButtonPress, Qt::RightButton); // any button: the closed hand, no focus move
        QVERIFY(before->hasFocus() && (!w->isEnabled() || name == "Text1" || showsCursor(w, 102)));
        pointer(w);
        QCOMPARE(w->hasFocus(), takesFocus);
        if (name != "Text1") // the open hand at a move; none on a disabled button
            QVERIFY(w->isEnabled() ? showsCursor(w, 101) : w->cursor().shape() == Qt::ArrowCursor);
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

    // The real question: its own texts and buttons, Yes the default, Escape for No.
    void exitQuestionAsDesigned()
    {
        MessageBoxExitQuestion question;
        QTimer::singleShot(50, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return); // the box lives on
            QVERIFY(box->windowTitle() == "ATTENZIONE" && box->text() == "Vuoi uscire?");
            QVERIFY(box->icon() == QMessageBox::Question && box->defaultButton() == box->button(QMessageBox::Yes));
            QVERIFY(box->standardButtons() == (QMessageBox::Yes | QMessageBox::No));
            QVERIFY(box->escapeButton() == box->button(QMessageBox::No));
        });
        QVERIFY(question.confirmExit());
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
