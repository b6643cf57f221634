// The whole window against the design's table: every control's container, place, size,
// font and flat colour, on the designed window and on the board at two screen sizes.
// Also registered to run at 200 % (QT_SCALE_FACTOR=2).
#include "app/NumberPad.h"
#include "doubles/Harness.h"

using namespace quizzolo;
using namespace quizzolo::test;

namespace {

enum Face { Plain, Bold, Underlined };

// The design's table, in twips and points. The probe is a point of the control (twips
// from its corner) that shows its flat colour; "face" is the desktop's 3D-face grey.
struct Designed {
    const char *name, *container;
    int left, top, width, height;
    double points;
    Face face;
    int probeX, probeY;
    const char *colour;
};

// clang-format off
const Designed designTable[] = {
    {"FrameRitardo", "tabella",      7875, 3180, 3855, 1140, 18,    Bold,       3750, 60,   "face"},
    {"variaRitardo", "FrameRitardo", 165,  450,  3480, 255,  0,     Plain,      -1,   -1,   ""},
    {"Label5",       "FrameRitardo", 3120, 765,  540,  270,  12,    Bold,       30,   262,  "#e0e0e0"},
    {"Label4",       "FrameRitardo", 165,  735,  570,  270,  12,    Bold,       30,   262,  "#e0e0e0"},
    {"Frame3",       "tabella",      1695, 4635, 10300, 4395, 0,    Plain,      75,   75,   "#0000ff"},
    {"fine",         "Frame3",       8610, 3180, 1605, 1110, 18,    Bold,       -1,   -1,   ""},
    {"command4",     "Frame3",       210,  1725, 4575, 1110, 18,    Bold,       -1,   -1,   ""},
    {"Command3",     "Frame3",       240,  210,  4575, 1110, 18,    Bold,       -1,   -1,   ""},
    {"Command5",     "Frame3",       225,  3150, 4575, 1110, 18,    Bold,       -1,   -1,   ""},
    {"Image3",       "Frame3",       7725, 735,  2010, 2010, 0,     Plain,      -1,   -1,   ""},
    {"Image2",       "Frame3",       5640, 105,  1995, 2010, 0,     Plain,      -1,   -1,   ""},
    {"Image1",       "Frame3",       5100, 2175, 2010, 2010, 0,     Plain,      -1,   -1,   ""},
    {"Frame2",       "tabella",      1920, 225,  9810, 2685, 0,     Plain,      45,   45,   "face"},
    {"Text1",        "Frame2",       6960, 255,  2670, 2250, 99.75, Bold,       120,  120,  "#ffffff"},
    {"Label1",       "Frame2",       120,  240,  2370, 2250, 99.75, Bold,       60,   60,   "#ffff80"},
    {"Label2",       "Frame2",       3540, 255,  2370, 2250, 99.75, Bold,       60,   60,   "#ffff80"},
    {"Line1",        "Frame2",       2655, 1635, 705,  705,  0,     Plain,      -1,   -1,   "#000000"},
    {"Line2",        "Frame2",       3360, 1620, -690, 705,  0,     Plain,      -1,   -1,   "#000000"},
    {"Line3",        "Frame2",       6090, 1785, 720,  0,    0,     Plain,      -1,   -1,   "#000000"},
    {"Line4",        "Frame2",       6090, 2145, 720,  0,    0,     Plain,      -1,   -1,   "#000000"},
    {"Frame1",       "tabella",      0,    0,    1695, 9000, 0,     Plain,      1650, 900,  "#ffc080"},
    {"9",            "Frame1",       255,  6360, 1200, 435,  18,    Bold,       1150, 30,   "#ffc080"},
    {"8",            "Frame1",       255,  5758, 1200, 435,  18,    Bold,       1150, 30,   "#ffc080"},
    {"7",            "Frame1",       255,  5162, 1200, 435,  18,    Bold,       1150, 30,   "#ffc080"},
    {"6",            "Frame1",       255,  4566, 1200, 435,  18,    Bold,       1150, 30,   "#ffc080"},
    {"5",            "Frame1",       255,  3970, 1200, 435,  18,    Bold,       1150, 30,   "#ffc080"},
    {"4",            "Frame1",       255,  3374, 1200, 435,  18,    Bold,       1150, 30,   "#ffc080"},
    {"3",            "Frame1",       255,  2778, 1200, 435,  18,    Bold,       1150, 30,   "#ffc080"},
    {"2",            "Frame1",       255,  2182, 1200, 435,  18,    Bold,       1150, 30,   "#ffc080"},
    {"1",            "Frame1",       255,  1586, 1200, 435,  18,    Bold,       1150, 30,   "#ffc080"},
    {"tutte",        "Frame1",       255,  990,  1200, 435,  18,    Bold,       1150, 30,   "#ffc080"},
    {"Label8",       "Frame1",       45,   7695, 1455, 240,  9.75,  Underlined, -1,   -1,   ""},
    {"Label7",       "Frame1",       45,   7440, 1125, 240,  9.75,  Underlined, -1,   -1,   ""},
    {"Label6",       "Frame1",       45,   6960, 1590, 1980, 9.75,  Plain,      1500, 1900, "face"},
    {"Label3",       "Frame1",       45,   75,   1575, 735,  15.75, Bold,       30,   690,  "#c0c0c0"},
    {"Command2",     "tabella",      7905, 3195, 3810, 1035, 18,    Bold,       -1,   -1,   ""}, // under FrameRitardo,
    {"Command1",     "tabella",      1905, 3165, 4575, 1110, 18,    Bold,       150,  150,  "#00ff00"},
};
// clang-format on

QMap<QString, QWidget *> byName(Harness &h)
{
    QMap<QString, QWidget *> named = h.namedControls();
    const Controls &c = h.ui;
    const std::pair<const char *, QWidget *> more[] = {{"tabella", h.window.stage()}, {"FrameRitardo", c.FrameRitardo},
                                                       {"Label4", c.Label4},          {"Label5", c.Label5},
                                                       {"Frame1", c.Frame1},          {"Frame2", c.Frame2},
                                                       {"Frame3", c.Frame3},          {"Image1", c.Image1},
                                                       {"Image2", c.Image2},          {"Image3", c.Image3},
                                                       {"Label1", c.Label1},          {"Label2", c.Label2},
                                                       {"Label3", c.Label3},          {"Label6", c.Label6},
                                                       {"Line1", c.lines[0]},         {"Line2", c.lines[1]},
                                                       {"Line3", c.lines[2]},         {"Line4", c.lines[3]}};
    for (const auto &[name, w] : more)
        named.insert(name, w);
    return named;
}

} // namespace

class LayoutTest : public QObject {
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
        h.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.window));
        if (screen.isValid()) {
            h.window.setBoardView(true);
            h.window.resize(screen);
        }
        QCOMPARE(h.window.size(), screen.isValid() ? screen : QSize(800, 600));
        // The board fills the height and lies in the middle; the design's 15 twips a pixel otherwise.
        const double scale = screen.isValid() ? screen.height() / 600.0 : 1;
        const double slack = scale == 1 ? 0 : 1; // rounding of a scaled value
        const QRect stage = h.window.stage()->geometry();
        QCOMPARE(stage.size(), QSize(qRound(800 * scale), qRound(600 * scale)));
        QVERIFY(qAbs(stage.center().x() - h.window.width() / 2) <= 1 && stage.top() == 0);

        const QImage shot = h.window.grab().toImage();
        const auto px = [scale](double twips) { return twips * scale / 15.0; };
        const auto near = [slack](double seen, double wanted) { return qAbs(seen - wanted) <= slack + 0.5; };
        const QMap<QString, QWidget *> named = byName(h);
        for (const Designed &d : designTable) {
            QWidget *w = named.value(d.name);
            const QString name = QString::fromLatin1(d.name);
            QVERIFY2(w && w->parentWidget() == named.value(d.container), qPrintable(name + " is not in its container"));
            const QPoint corner = w->parentWidget()->mapTo(&h.window, QPoint(0, 0));
            QPointF probe;
            if (name.startsWith("Line")) { // the middle of the stroke is solid ink
                probe = QPointF(px(d.left + d.width / 2.0), px(d.top + d.height / 2.0));
            } else {
                const QRect g = w->geometry();
                QVERIFY2(
                    near(g.x(), px(d.left)) && near(g.y(), px(d.top)) && near(g.width(), px(d.width)) &&
                        near(g.height(), px(d.height)),
                    qPrintable(name + QString(" at %1,%2 %3x%4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height())));
                probe = QPointF(g.topLeft()) + QPointF(px(d.probeX), px(d.probeY));
            }
            if (d.points > 0) {
                const QFontInfo font(w->font());
                QVERIFY2(QStringList({"Arial", "Liberation Sans"}).contains(font.family()), qPrintable(name));
                QVERIFY2(near(font.pixelSize(), d.points * 96 / 72 * scale), qPrintable(name));
                QVERIFY2(font.bold() == (d.face == Bold) && font.underline() == (d.face == Underlined),
                         qPrintable(name));
            }
            if (*d.colour == 0 || d.probeX < -1)
                continue;
            const QColor wanted = QString(d.colour) == "face" ? QPalette().color(QPalette::Button) : QColor(d.colour);
            const QPoint at = ((probe + corner) * shot.devicePixelRatio()).toPoint();
            QVERIFY2(shot.pixelColor(at) == wanted,
                     qPrintable(name + ": " + shot.pixelColor(at).name() + " instead of " + wanted.name()));
        }
        // The links' underlines are their exact blue.
        for (QLabel *link : {h.ui.Label7, h.ui.Label8}) {
            const QImage ink = link->grab().toImage();
            bool blue = false;
            for (int y = 0; y < ink.height() && !blue; ++y)
                for (int x = 0; x < ink.width() && !blue; ++x)
                    blue = ink.pixelColor(x, y) == QColor(0, 0, 192);
            QVERIFY2(blue, qPrintable(h.nameOf(link)));
        }
        QCOMPARE(h.window.pad()->isVisible(), screen.isValid());
        if (screen.isValid()) { // the pad beside the design, its keys for a finger
            const QRect pad = h.window.pad()->geometry();
            QVERIFY(pad.left() > stage.right() && pad.right() < h.window.width() && pad.height() < screen.height());
            QVERIFY(h.window.pad()->key("invio")->width() * 1080 / screen.height() >= 80);
        }
    }

    // F11 goes to the board and back, Esc leaves it; the designed window comes back to
    // the pixel.
    void designedWindowUnchangedAfterTheBoard()
    {
        Harness h;
        QVERIFY(h.showActive());
        const QImage before = h.window.grab().toImage();
        QTest::keyClick(&h.window, Qt::Key_F11);
        QVERIFY(h.window.boardView() && h.window.scale() != 1);
        QTest::keyClick(h.window.focusWidget() ? h.window.focusWidget() : &h.window, Qt::Key_Escape);
        QVERIFY(!h.window.boardView() && h.window.size() == QSize(800, 600));
        QTest::keyClick(&h.window, Qt::Key_Escape); // outside the board it is no key of ours
        QVERIFY(!h.window.boardView());
        QCOMPARE(h.window.grab().toImage(), before);
    }
};

QTEST_MAIN(LayoutTest)
#include "test_layout.moc"
