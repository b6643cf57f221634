// The window as designed: what a child sees and where clicks and the TAB key land.
#include "app/Widgets.h"
#include "doubles/Harness.h"

#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextLayout>
#include <QtTest>

using namespace quizzolo;
using namespace quizzolo::test;

class LayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { prepareApplication(); }

    void twipsRounding_data();
    void twipsRounding();
    void frame3IsCutOffAtTheBottom();
    void stackingDecidesWhoTakesTheClick_data();
    void stackingDecidesWhoTakesTheClick();
    void tabOrderSkipsHiddenAndDisabled_data();
    void tabOrderSkipsHiddenAndDisabled();
    void creditsWrapUnderTheLinks();
    void answerBoxTakesAtMostTwoCharacters_data();
    void answerBoxTakesAtMostTwoCharacters();
    void longCaptionsWrapInsideTheirButtons_data();
    void longCaptionsWrapInsideTheirButtons();
    void rendersTheDesignedColours_data();
    void rendersTheDesignedColours();
    void sliderReportsOnlyFinishedMoves();
    void numbersFitInsideTheirBoxes_data();
    void numbersFitInsideTheirBoxes();
};

void LayoutTest::twipsRounding_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("window width") << 12000 << 800;
    QTest::newRow("Image2 width is a pixel short") << 1995 << 133;
    QTest::newRow("picture width") << 2010 << 134;
    QTest::newRow("option 1 top rounds down") << 1586 << 106;
    QTest::newRow("option 2 top rounds up") << 2182 << 145;
    QTest::newRow("half a pixel rounds up") << 7 * 15 + 8 << 8;
}

void LayoutTest::twipsRounding()
{
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(twipsToPixels(twips), pixels);
}

void LayoutTest::frame3IsCutOffAtTheBottom()
{
    Harness h;
    QCOMPARE(h.window.size(), QSize(800, 600));
    QCOMPARE(h.ui.Frame3->geometry().bottom() + 1 - h.window.height(), 2);
    QCOMPARE(h.ui.Image1->width() - h.ui.Image2->width(), 1);
    QCOMPARE(h.ui.Frame1->height(), 600);
}

void LayoutTest::stackingDecidesWhoTakesTheClick_data()
{
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("lower");
    QTest::newRow("pause frame above the result button") << "FrameRitardo"
                                                         << "Command2";
    QTest::newRow("e-mail link above the credit text") << "Label7"
                                                       << "Label6";
    QTest::newRow("web link above the credit text") << "Label8"
                                                    << "Label6";
}

void LayoutTest::stackingDecidesWhoTakesTheClick()
{
    QFETCH(QString, upper);
    QFETCH(QString, lower);
    Harness h;
    const std::map<QString, QWidget *> byName = {{"FrameRitardo", h.ui.FrameRitardo},
                                                 {"Command2", h.ui.Command2},
                                                 {"Label7", h.ui.Label7},
                                                 {"Label8", h.ui.Label8},
                                                 {"Label6", h.ui.Label6}};
    QWidget *top = byName.at(upper);
    QWidget *bottom = byName.at(lower);
    top->setVisible(true);
    bottom->setVisible(true);
    h.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.window));
    const QRect overlap = QRect(top->mapTo(&h.window, QPoint()), top->size())
                              .intersected(QRect(bottom->mapTo(&h.window, QPoint()), bottom->size()));
    QVERIFY(!overlap.isEmpty());
    QWidget *hit = h.window.childAt(overlap.center());
    QVERIFY(hit);
    QVERIFY2(hit == top || top->isAncestorOf(hit), qPrintable(hit->objectName() + " took the click"));
}

void LayoutTest::tabOrderSkipsHiddenAndDisabled_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("after start-up") << "start" << QStringList{"Command1", "tutte",    "Text1", "Command5",
                                                              "Command3", "command4", "fine"};
    QTest::newRow("table 4 chosen") << "table4" << QStringList{"Command1", "  4",      "Text1", "Command5",
                                                               "Command3", "command4", "fine"};
    QTest::newRow("waiting for the result") << "question" << QStringList{"Command2", "tutte", "Text1", "fine"};
    QTest::newRow("a sequence runs") << "sequence" << QStringList{"tutte", "Text1", "Command3", "fine", "variaRitardo"};
}

void LayoutTest::tabOrderSkipsHiddenAndDisabled()
{
    QFETCH(QString, state);
    QFETCH(QStringList, expected);
    Harness h;
    if (state == "table4") {
        h.ui.Sel_Quizzolo[4]->setChecked(true);
    } else if (state == "question") {
        for (QPushButton *b : {h.ui.Command1, h.ui.Command3, h.ui.command4, h.ui.Command5})
            b->setEnabled(false);
        h.ui.Command2->setVisible(true);
    } else if (state == "sequence") {
        for (QPushButton *b : {h.ui.Command1, h.ui.command4, h.ui.Command5})
            b->setEnabled(false);
        h.ui.FrameRitardo->setVisible(true);
    }
    QVERIFY(h.showActive());

    const std::map<QWidget *, QString> names = {{h.ui.Command1, "Command1"}, {h.ui.Command2, "Command2"},
                                                {h.ui.Text1, "Text1"},       {h.ui.Command5, "Command5"},
                                                {h.ui.Command3, "Command3"}, {h.ui.command4, "command4"},
                                                {h.ui.fine, "fine"},         {h.ui.variaRitardo, "variaRitardo"}};
    const auto nameOf = [&](QWidget *w) -> QString {
        if (auto *option = qobject_cast<QRadioButton *>(w))
            return option->text();
        auto it = names.find(w);
        return it == names.end() ? QStringLiteral("?") : it->second;
    };
    // Start from the last control in the cycle and press TAB once per expected stop.
    QWidget *first = nullptr;
    for (QWidget *w : std::initializer_list<QWidget *>{h.ui.Command1, h.ui.Command2, h.ui.Sel_Quizzolo[0]})
        if (w->isVisible() && w->isEnabled()) {
            first = w;
            break;
        }
    first->setFocus(Qt::TabFocusReason);
    QStringList seen{nameOf(QApplication::focusWidget())};
    for (int i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        seen << nameOf(QApplication::focusWidget());
    }
    QCOMPARE(seen, expected);
}

void LayoutTest::creditsWrapUnderTheLinks()
{
    Harness h;
    auto *credit = qobject_cast<CreditText *>(h.ui.Label6);
    QVERIFY(credit);
    QStringList lines = credit->lines();
    lines.replaceInStrings(QString(QChar(0x00A0)), QStringLiteral(" "));
    QVERIFY2(lines.size() >= 4, qPrintable(lines.join('|')));
    QVERIFY2(lines[2].startsWith(h.ui.Label7->text()), qPrintable(lines.join('|')));
    QVERIFY2(lines[3].startsWith(h.ui.Label8->text()), qPrintable(lines.join('|')));

    // The links lie over those lines, at the credit's left edge, and show all their text.
    const QFontMetrics metrics(credit->font());
    QCOMPARE(h.ui.Label7->x(), credit->x());
    QCOMPARE(h.ui.Label8->x(), credit->x());
    QVERIFY(qAbs(h.ui.Label7->y() - credit->y() - credit->lineTop(2)) <= 1);
    QVERIFY(qAbs(h.ui.Label8->y() - credit->y() - credit->lineTop(3)) <= 1);
    QVERIFY(metrics.horizontalAdvance(h.ui.Label7->text()) <= h.ui.Label7->width());
    QVERIFY(metrics.horizontalAdvance(h.ui.Label8->text()) <= h.ui.Label8->width());
    // What follows a link on its line starts beyond the opaque link, so it stays readable.
    const auto restOfLine = [&](const QString &line, const QString &link) {
        return metrics.horizontalAdvance(line.left(link.size()) + QLatin1Char(' '));
    };
    if (lines[2].size() > h.ui.Label7->text().size())
        QVERIFY(restOfLine(lines[2], h.ui.Label7->text()) >= h.ui.Label7->width());
    if (lines[3].size() > h.ui.Label8->text().size() + 1)
        QVERIFY(restOfLine(lines[3], h.ui.Label8->text()) >= h.ui.Label8->width());
    // Every line fits, so nothing of the sentence is cut at the right.
    for (const QString &line : lines)
        QVERIFY2(metrics.horizontalAdvance(line) <= credit->contentsRect().width(), qPrintable(line));
}

void LayoutTest::answerBoxTakesAtMostTwoCharacters_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("kept");
    QTest::newRow("typed") << "type"
                           << "123"
                           << "12";
    QTest::newRow("pasted") << "paste"
                            << "4567"
                            << "45";
}

void LayoutTest::answerBoxTakesAtMostTwoCharacters()
{
    QFETCH(QString, how);
    QFETCH(QString, input);
    QFETCH(QString, kept);
    Harness h;
    h.ui.Text1->setReadOnly(false);
    if (how == "type") {
        QTest::keyClicks(h.ui.Text1, input);
    } else {
        QApplication::clipboard()->setText(input);
        h.ui.Text1->paste();
    }
    QCOMPARE(h.ui.Text1->text(), kept);
}

void LayoutTest::longCaptionsWrapInsideTheirButtons_data()
{
    QTest::addColumn<QString>("which");
    QTest::newRow("without result") << "Command3";
    QTest::newRow("with result") << "command4";
    QTest::newRow("result button") << "Command2";
}

void LayoutTest::longCaptionsWrapInsideTheirButtons()
{
    QFETCH(QString, which);
    Harness h;
    QPushButton *b = which == "Command3" ? h.ui.Command3 : which == "command4" ? h.ui.command4 : h.ui.Command2;
    const QFontMetrics metrics(b->font());
    QVERIFY(metrics.horizontalAdvance(b->text()) > b->width()); // one line would not fit
    const QRect wrapped =
        metrics.boundingRect(QRect(0, 0, b->width() - 8, 1000), Qt::AlignCenter | Qt::TextWordWrap, b->text());
    QVERIFY2(wrapped.height() <= b->height(), qPrintable(QString::number(wrapped.height())));
}

void LayoutTest::rendersTheDesignedColours_data()
{
    QTest::addColumn<QPoint>("where");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("green background") << QPoint(120, 290) << QColor(192, 255, 192);
    QTest::newRow("orange column") << QPoint(100, 30 + 600 / 2) << QColor(255, 192, 128);
    QTest::newRow("blue panel") << QPoint(470, 480) << QColor(0, 0, 255);
    QTest::newRow("green face of Chiedimi") << QPoint(135, 215) << QColor(0, 255, 0);
    QTest::newRow("white answer box") << QPoint(128 + 464 + 10, 15 + 140) << QColor(255, 255, 255);
    QTest::newRow("yellow first factor") << QPoint(128 + 8 + 20, 15 + 16 + 140) << QColor(255, 255, 128);
    QTest::newRow("grey title") << QPoint(10, 10) << QColor(192, 192, 192);
    QTest::newRow("centre of the drawn cross") << QPoint(328, 147) << QColor(0, 0, 0);
    QTest::newRow("upper stroke of the equals sign") << QPoint(558, 134) << QColor(0, 0, 0);
    QTest::newRow("grey pause frame") << QPoint(525 + 150, 212 + 70) << QPalette().color(QPalette::Button);
}

void LayoutTest::rendersTheDesignedColours()
{
    QFETCH(QPoint, where);
    QFETCH(QColor, colour);
    Harness h;
    h.ui.FrameRitardo->setVisible(true);
    h.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.window));
    const QImage shot = h.window.grab().toImage();
    const qreal ratio = shot.devicePixelRatio();
    const QColor seen = shot.pixelColor((QPointF(where) * ratio).toPoint());
    QVERIFY2(qAbs(seen.red() - colour.red()) <= 8 && qAbs(seen.green() - colour.green()) <= 8 &&
                 qAbs(seen.blue() - colour.blue()) <= 8,
             qPrintable(seen.name()));
}

void LayoutTest::sliderReportsOnlyFinishedMoves()
{
    Harness h;
    QScrollBar *slider = h.ui.variaRitardo;
    QSignalSpy changes(slider, &QScrollBar::valueChanged);
    slider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(slider->value(), 1500);
    slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(slider->value(), 2000);
    QCOMPARE(changes.count(), 2);
    // A drag moves the thumb without reporting until it is released.
    slider->setSliderDown(true);
    slider->setSliderPosition(4200);
    QCOMPARE(changes.count(), 2);
    slider->setSliderDown(false);
    QCOMPARE(changes.count(), 3);
    QCOMPARE(h.t.stato.ritardoSecondi, std::int16_t(8));
}

void LayoutTest::numbersFitInsideTheirBoxes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::newRow("first factor 7") << "Label1"
                                    << "7";
    QTest::newRow("second factor 8") << "Label2"
                                     << "8";
    QTest::newRow("widest product 80") << "Text1"
                                       << "80";
    QTest::newRow("product 44") << "Text1"
                                << "44";
}

void LayoutTest::numbersFitInsideTheirBoxes()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    Harness h;
    QWidget *w = box == "Text1" ? static_cast<QWidget *>(h.ui.Text1) : box == "Label1" ? h.ui.Label1 : h.ui.Label2;
    if (auto *label = qobject_cast<QLabel *>(w))
        label->setText(text);
    else
        h.ui.Text1->setText(text);
    QImage image(w->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    w->render(&image);
    // The glyphs' ink, ignoring the box's own 3-pixel border.
    QRect ink;
    for (int y = 3; y < image.height() - 3; ++y)
        for (int x = 3; x < image.width() - 3; ++x)
            if (qGray(image.pixel(x, y)) < 80)
                ink |= QRect(x, y, 1, 1);
    QVERIFY(!ink.isEmpty());
    QVERIFY2(ink.top() >= 8 && ink.bottom() <= image.height() - 8,
             qPrintable(QStringLiteral("%1..%2").arg(ink.top()).arg(ink.bottom())));
    QVERIFY2(ink.left() >= 8 && ink.right() <= image.width() - 8,
             qPrintable(QStringLiteral("%1..%2").arg(ink.left()).arg(ink.right())));
}

QTEST_MAIN(LayoutTest)
#include "test_layout.moc"
