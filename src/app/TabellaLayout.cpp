#include "app/TabellaLayout.h"

#include "app/Widgets.h"
#include "app/board/ScaledLayout.h"
#include "common/DesktopStartUp.h"
#include "engine/Texts.h"
#include "engine/Timer1Control.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <vector>

namespace quizzolo {

void prepareApplication()
{
    prepareDesktopApplication(QStringLiteral("Quizzolo"));
}

QFont designFont(double pointSize, bool bold, bool underline, double scale)
{
    QFont f(QStringLiteral("Arial"));
    // Points as on a 96 dpi screen: the text keeps its size against the pixel layout
    // whatever dpi the display reports (high-DPI scaling then enlarges both alike).
    f.setPixelSize(qRound(pointSize * 96.0 / 72.0 * scale));
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    f.setUnderline(underline);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

Credits credits()
{
    Credits c;
    c.author = QStringLiteral(QUIZZOLO_AUTHOR_NAME);
    c.email = QStringLiteral(QUIZZOLO_AUTHOR_EMAIL);
    c.web = QStringLiteral(QUIZZOLO_WEB_ADDRESS);
    // The name never breaks, so it starts the third line under its link.
    QString unbreakable = c.author;
    unbreakable.replace(QLatin1Char(' '), QChar(0x00A0));
    c.sentence =
        QStringLiteral("Quizzolo è una creazione di %1 per %2, la rete delle scuole italiane.").arg(unbreakable, c.web);
    return c;
}

namespace {

void setColors(QWidget *w, const QColor &background, const QColor &text = QColor())
{
    QPalette p = w->palette();
    if (background.isValid()) {
        p.setColor(QPalette::Window, background);
        p.setColor(QPalette::Button, background);
        p.setColor(QPalette::Base, background);
        w->setAutoFillBackground(true);
    }
    if (text.isValid()) {
        p.setColor(QPalette::WindowText, text);
        p.setColor(QPalette::ButtonText, text);
        p.setColor(QPalette::Text, text);
    }
    w->setPalette(p);
}

QColor faceColor()
{
    return QPalette().color(QPalette::Button);
}
QColor buttonTextColor()
{
    return QPalette().color(QPalette::ButtonText);
}
QColor windowTextColor()
{
    return QPalette().color(QPalette::WindowText);
}

QWidget *panel(ScaledLayout &layout, QWidget *parent, QRect twips, const QColor &background)
{
    auto *w = new QWidget(parent);
    layout.place(w, twips);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, background); // only its own face: buttons on it stay grey
    w->setPalette(p);
    w->setAutoFillBackground(true);
    return w;
}

QLabel *label(ScaledLayout &layout, QWidget *parent, const QString &text, QRect twips, double points, bool bold,
              Qt::Alignment align, const QColor &background, const QColor &text_color, bool underline = false)
{
    auto *l = new QLabel(text, parent);
    layout.place(l, twips);
    layout.font(l, points, bold, underline);
    l->setWordWrap(true);
    l->setAlignment(align);
    setColors(l, background, text_color); // opaque: paints its whole rectangle
    return l;
}

CaptionButton *button(ScaledLayout &layout, QWidget *parent, const QString &caption, QRect twips)
{
    auto *b = new CaptionButton(caption, parent);
    layout.place(b, twips);
    layout.font(b, 18, true);
    b->setAutoDefault(true); // ENTER presses the focused button, not only SPACE
    return b;
}

QLabel *picture(ScaledLayout &layout, QWidget *parent, QRect twips)
{
    auto *l = new QLabel(parent);
    layout.place(l, twips);
    l->setScaledContents(true);
    l->setVisible(false);
    return l;
}

// Earlier in the list means above: raise from the last to the first.
void stack(const std::vector<QWidget *> &topToBottom)
{
    for (auto it = topToBottom.rbegin(); it != topToBottom.rend(); ++it)
        (*it)->raise();
}

} // namespace

Controls buildControls(QWidget *window, ScaledLayout &layout)
{
    Controls c;
    c.tabella = window;
    const QColor green(0, 255, 0);

    c.Timer1 = new Timer1Control(window);

    c.FrameRitardo = new QGroupBox(texts::ritardoIniziale, window);
    layout.place(c.FrameRitardo, {7875, 3180, 3855, 1140});
    layout.font(c.FrameRitardo, 18, true);
    setColors(c.FrameRitardo, faceColor()); // a frame's face is grey, not the window's green
    c.FrameRitardo->setVisible(false);

    c.variaRitardo = new PauseSlider(c.FrameRitardo);
    layout.place(c.variaRitardo, {165, 450, 3480, 255});
    layout.marks(c.variaRitardo);
    c.variaRitardo->setRange(500, 5000);
    c.variaRitardo->setSingleStep(500);
    c.variaRitardo->setPageStep(500);
    c.variaRitardo->setValue(1000);
    c.variaRitardo->setTracking(false); // a drag reports its value when it ends
    c.variaRitardo->setFocusPolicy(Qt::StrongFocus);

    const QColor lightGrey(224, 224, 224);
    c.Label5 = label(layout, c.FrameRitardo, QStringLiteral("MAX"), {3120, 765, 540, 270}, 12, true,
                     Qt::AlignHCenter | Qt::AlignTop, lightGrey, windowTextColor());
    c.Label4 = label(layout, c.FrameRitardo, QStringLiteral("MIN"), {165, 735, 570, 270}, 12, true,
                     Qt::AlignHCenter | Qt::AlignTop, lightGrey, windowTextColor());

    c.Frame3 = panel(layout, window, {1695, 4635, 10300, 4395}, QColor(0, 0, 255));
    c.fine = button(layout, c.Frame3, texts::stop, {8610, 3180, 1605, 1110});
    c.command4 = button(layout, c.Frame3, texts::conRisultato, {210, 1725, 4575, 1110});
    c.Command3 = button(layout, c.Frame3, texts::senzaRisultato, {240, 210, 4575, 1110});
    c.Command5 = button(layout, c.Frame3, texts::caccia, {225, 3150, 4575, 1110});
    c.Image3 = picture(layout, c.Frame3, {7725, 735, 2010, 2010});
    c.Image2 = picture(layout, c.Frame3, {5640, 105, 1995, 2010});
    c.Image1 = picture(layout, c.Frame3, {5100, 2175, 2010, 2010});

    c.Frame2 = panel(layout, window, {1920, 225, 9810, 2685}, faceColor());
    c.Text1 = new QLineEdit(c.Frame2);
    layout.place(c.Text1, {6960, 255, 2670, 2250});
    layout.font(c.Text1, 99.75, true);
    c.Text1->setAlignment(Qt::AlignCenter);
    c.Text1->setMaxLength(2); // also bounds what is pasted
    setColors(c.Text1, Qt::white, windowTextColor());
    const QColor yellow(255, 255, 128);
    c.Label1 = label(layout, c.Frame2, QString(), {120, 240, 2370, 2250}, 99.75, true, Qt::AlignHCenter | Qt::AlignTop,
                     yellow, buttonTextColor());
    c.Label2 = label(layout, c.Frame2, QString(), {3540, 255, 2370, 2250}, 99.75, true, Qt::AlignHCenter | Qt::AlignTop,
                     yellow, buttonTextColor());
    for (QLabel *factor : {c.Label1, c.Label2}) {
        factor->setFrameShape(QFrame::Box);
        factor->setLineWidth(1);
        factor->setIndent(0); // a framed label would otherwise push the digit half an 'x' down
        factor->setWordWrap(false);
    }
    // The cross and the equals sign: from and to in twips, 5 pixels wide.
    static constexpr int strokes[4][4] = {
        {2655, 1635, 3360, 2340}, {3360, 1620, 2670, 2325}, {6090, 1785, 6810, 1785}, {6090, 2145, 6810, 2145}};
    for (std::size_t i = 0; i < c.lines.size(); ++i) {
        auto *line = new LineWidget(c.Frame2);
        const int *e = strokes[i];
        layout.follow(line, [line, e](double s) {
            const auto pt = [s](int x, int y) {
                return QPoint(ScaledLayout::pixels(x, s), ScaledLayout::pixels(y, s));
            };
            line->setEnds(pt(e[0], e[1]), pt(e[2], e[3]), qRound(5 * s));
        });
        c.lines[i] = line;
    }

    const QColor orange(255, 192, 128);
    c.Frame1 = panel(layout, window, {0, 0, 1695, 9000}, orange);
    static constexpr int optionTops[10] = {990, 1586, 2182, 2778, 3374, 3970, 4566, 5162, 5758, 6360};
    auto *group = new QButtonGroup(window);
    group->setObjectName(QStringLiteral("Sel_Quizzolo"));
    for (int i = 9; i >= 0; --i) {
        const QString caption = i == 0 ? texts::tutte : QStringLiteral("  %1").arg(i);
        auto *option = new QRadioButton(caption, c.Frame1);
        layout.place(option, {255, optionTops[i], 1200, 435});
        layout.font(option, 18, true);
        layout.marks(option);
        setColors(option, orange, buttonTextColor());
        group->addButton(option, i);
        c.Sel_Quizzolo[static_cast<std::size_t>(i)] = option;
    }
    const Credits cr = credits();
    const QColor linkBlue(0, 0, 192);
    c.Label8 = label(layout, c.Frame1, cr.web, {45, 7695, 1455, 240}, 9.75, false, Qt::AlignLeft | Qt::AlignTop,
                     faceColor(), linkBlue, true);
    c.Label7 = label(layout, c.Frame1, cr.author, {45, 7440, 1125, 240}, 9.75, false, Qt::AlignLeft | Qt::AlignTop,
                     faceColor(), linkBlue, true);
    // The links lie 480 and 735 twips below the credit's top: lines 245 twips apart.
    auto *credit = new CreditText(cr.sentence, 245 / 15.0, c.Frame1);
    layout.place(credit, {45, 6960, 1590, 1980});
    layout.font(credit, 9.75, false);
    layout.follow(credit, [credit](double s) { credit->setLinePitch(245 / 15.0 * s); });
    setColors(credit, faceColor(), buttonTextColor());
    c.Label6 = credit;
    c.Label3 = label(layout, c.Frame1, texts::titolo, {45, 75, 1575, 735}, 15.75, true, Qt::AlignHCenter | Qt::AlignTop,
                     QColor(192, 192, 192), windowTextColor());

    c.Command2 = button(layout, window, texts::fammiVedere, {7905, 3195, 3810, 1035});
    static_cast<CaptionButton *>(c.Command2)->setFaceColor(green);
    c.Command2->setVisible(false);
    c.Command1 = button(layout, window, texts::chiedimi, {1905, 3165, 4575, 1110});
    static_cast<CaptionButton *>(c.Command1)->setFaceColor(green);

    stack({c.FrameRitardo, c.Frame3, c.Frame2, c.Frame1, c.Command2, c.Command1});
    stack({c.variaRitardo, c.Label5, c.Label4});
    stack({c.fine, c.command4, c.Command3, c.Command5, c.Image3, c.Image2, c.Image1});
    stack({c.Text1, c.Label1, c.Label2, c.lines[0], c.lines[1], c.lines[2], c.lines[3]});
    std::vector<QWidget *> column(c.Sel_Quizzolo.rbegin(), c.Sel_Quizzolo.rend());
    column.insert(column.end(), {c.Label8, c.Label7, c.Label6, c.Label3});
    stack(column);

    // Tab order; hidden and disabled controls are skipped by Qt itself, and of the
    // table choices only the selected one is a tab stop.
    std::vector<QWidget *> order{c.Command1, c.Command2};
    order.insert(order.end(), c.Sel_Quizzolo.begin(), c.Sel_Quizzolo.end());
    order.insert(order.end(), {c.Text1, c.Command5, c.Command3, c.command4, c.fine, c.variaRitardo});
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    for (QRadioButton *option : c.Sel_Quizzolo) {
        const auto tabStopWhenSelected = [option](bool selected) {
            option->setFocusPolicy(selected ? Qt::StrongFocus : Qt::ClickFocus);
        };
        tabStopWhenSelected(option->isChecked());
        QObject::connect(option, &QRadioButton::toggled, option, tabStopWhenSelected);
    }
    return c;
}

} // namespace quizzolo
