// Every control's container, place, size, font and flat colour as the design's table has them, on the designed
// window and on the board at two screen sizes. Also registered to run at 200 % (QT_SCALE_FACTOR=2).
#include "app/NumberPad.h"
#include "app/Widgets.h"
#include "doubles/Harness.h"

using namespace quizzolo;
using namespace quizzolo::test;

namespace {

// The design's table in twips and points ('b' bold, 'u' underlined). The probe: a point of the control (twips from
// its corner) showing its flat colour, "face" the desktop's 3D-face grey. A line's place: its start and its run.
struct Designed {
    const char *name, *container;
    int left, top, width, height;
    double points;
    char face;
    int probeX, probeY;
    const char *colour;
};

// clang-format off
const Designed designTable[] = {
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
        QVERIFY(h.showActive());
        QTest::keyClick(&h.window, Qt::Key_F11); // to the board; the designed window comes back by Esc
        if (screen.isValid())
            h.window.resize(screen);
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(h.window.size(), screen.isValid() ? screen : QSize(800, 600));
        // The board fills the height, centred; otherwise the design's 15 twips a pixel, exactly.
        const double scale = screen.isValid() ? screen.height() / 600.0 : 1;
        const QRect stage = h.window.stage()->geometry();
        QCOMPARE(stage.size(), QSize(qRound(800 * scale), qRound(600 * scale)));
        QVERIFY(qAbs(stage.center().x() - h.window.width() / 2) <= 1 && stage.top() == 0);

        std::vector<Designed> rows(std::begin(designTable), std::end(designTable));
        for (const auto &[name, top] : choices)
            rows.push_back({name, "Frame1", 255, top, 1200, 435, 18, 'b', 1150, 30, "#ffc080"});
        const QImage shot = h.window.grab().toImage();
        const auto px = [scale](double twips) { return twips * scale / 15.0; };
        const auto near = [scale](double seen, double wanted) {
            return qAbs(seen - wanted) <= (scale == 1 ? .5 : 1.5);
        };
        for (const Designed &d : rows) {
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
        if (screen.isValid()) { // the pad beside the design, its keys for a finger
            const QRect pad = h.window.pad()->geometry();
            QVERIFY(pad.left() > stage.right() && pad.right() < h.window.width() && pad.height() < screen.height());
            QVERIFY(h.window.pad()->key("invio")->width() * 1080 / screen.height() >= 80);
        }
    }
};

QTEST_MAIN(LayoutTest)
#include "test_layout.moc"
