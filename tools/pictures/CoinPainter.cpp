#include "CoinPainter.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace picturemaker {
namespace {

// The reward panel is this exact blue, so the picture needs no transparency.
constexpr QRgb kPanelBlue = qRgb(0, 0, 255);

struct Palette {
    QColor light, base, dark, deep;
};

const Palette kCopper{QColor(246, 182, 132), QColor(200, 114, 64), QColor(140, 66, 32), QColor(74, 30, 10)};
const Palette kGold{QColor(255, 240, 160), QColor(226, 186, 70), QColor(166, 124, 32), QColor(92, 64, 8)};
const Palette kSilver{QColor(255, 255, 255), QColor(204, 207, 214), QColor(140, 144, 156), QColor(64, 66, 78)};

// Text as an outline scaled to an exact cap height, so the layout does not depend on font metrics.
QPainterPath textPath(const QString &text, double height, QPointF centre, double letterSpacing = 0)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    font.setPixelSize(200);
    font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing * 200);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    QTransform t;
    t.translate(centre.x(), centre.y());
    t.scale(height / box.height(), height / box.height());
    t.translate(-box.center().x(), -box.center().y());
    return t.map(path);
}

QPainterPath starPath(QPointF centre, double outer)
{
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const double radius = (i % 2 == 0) ? outer : outer * 0.42;
        const QPointF pt = centre + QPointF(std::cos(a), std::sin(a)) * radius;
        i == 0 ? star.moveTo(pt) : star.lineTo(pt);
    }
    star.closeSubpath();
    return star;
}

// Raised relief lit from the upper left: dark shadow below right, a bright edge above left.
void paintRaised(QPainter &p, const QPainterPath &shape, const Palette &pal, double depth)
{
    QColor shadow = pal.deep;
    shadow.setAlpha(230);
    p.fillPath(shape.translated(depth, depth), shadow);
    p.fillPath(shape.translated(-depth * 0.6, -depth * 0.6), pal.light);
    const QRectF box = shape.boundingRect();
    QLinearGradient face(box.topLeft(), box.bottomRight());
    face.setStops({{0, pal.light}, {1, pal.base.lighter(125)}});
    p.fillPath(shape, face);
    // A fine dark edge keeps small numerals readable when the picture is enlarged.
    QColor edge = pal.dark;
    edge.setAlpha(200);
    p.strokePath(shape, QPen(edge, depth * 0.5));
}

QPainterPath edgeShape(double r, int notches)
{
    QPainterPath edge;
    if (notches == 0) {
        edge.addEllipse(QPointF(0, 0), r, r);
        return edge;
    }
    // Smooth scallops rather than bites, set upright: a lobe at the top, a dent at the bottom.
    const double width = std::numbers::pi / notches * 0.55;
    constexpr int kSteps = 720;
    for (int i = 0; i < kSteps; ++i) {
        const double a = i * 2 * std::numbers::pi / kSteps;
        double dent = 0;
        for (int k = 0; k < notches; ++k) {
            const double centre = std::numbers::pi / 2 + k * 2 * std::numbers::pi / notches;
            const double off = std::remainder(a - centre, 2 * std::numbers::pi) / width;
            if (std::abs(off) < 1)
                dent = std::max(dent, std::pow(std::cos(off * std::numbers::pi / 2), 2));
        }
        const QPointF pt = QPointF(std::cos(a), std::sin(a)) * r * (1 - 0.055 * dent);
        i == 0 ? edge.moveTo(pt) : edge.lineTo(pt);
    }
    edge.closeSubpath();
    return edge;
}

// A disc of metal with a raised rim and a sunken field; returns the field's radius.
double paintBlank(QPainter &p, double r, int notches, const Palette &pal)
{
    // The dark edge line is centred on the outline: pull the outline in by half its
    // width so the coin's outer side lands on the nominal diameter.
    const double edgeWidth = r * 0.03;
    const QPainterPath outline = edgeShape(r - edgeWidth / 2, notches);

    QLinearGradient rim(-r, -r, r, r);
    rim.setStops({{0, pal.light}, {0.5, pal.base}, {1, pal.dark}});
    p.fillPath(outline, rim);

    const double field = r * 0.88;
    QRadialGradient body(QPointF(-field * 0.3, -field * 0.35), field * 1.5);
    body.setStops({{0, pal.base}, {0.6, pal.base.darker(110)}, {1, pal.dark}});
    QPainterPath fieldPath;
    fieldPath.addEllipse(QPointF(0, 0), field, field);
    p.fillPath(fieldPath, body);

    // The rim's inner wall: in shadow at the upper left, catching light at the lower right.
    QLinearGradient wall(-field, -field, field, field);
    wall.setStops({{0, pal.deep}, {0.5, pal.dark}, {1, pal.light}});
    p.strokePath(fieldPath, QPen(QBrush(wall), r * 0.025));

    // A dark outer edge keeps the coin crisp against the blue when enlarged.
    QColor edge = pal.deep;
    edge.setAlpha(170);
    p.strokePath(outline, QPen(edge, edgeWidth));
    return field;
}

void paintStarRing(QPainter &p, double ringRadius, double starSize, const Palette &pal)
{
    for (int i = 0; i < 12; ++i) {
        const double a = i * std::numbers::pi / 6;
        const QPointF at = QPointF(std::sin(a), -std::cos(a)) * ringRadius;
        paintRaised(p, starPath(at, starSize), pal, starSize * 0.18);
    }
}

void paintCentFace(QPainter &p, const CoinDesign &coin, double field, const Palette &pal)
{
    const double r = field;
    paintStarRing(p, r * 0.84, r * 0.075, pal);
    const double numeralHeight = coin.numeral.size() == 1 ? r * 0.82 : r * 0.70;
    paintRaised(p, textPath(coin.numeral, numeralHeight, QPointF(0, r * 0.02)), pal, r * 0.04);
    paintRaised(p, textPath(QStringLiteral("EURO"), r * 0.16, QPointF(0, -r * 0.58), 0.08), pal, r * 0.012);
    paintRaised(p, textPath(QStringLiteral("CENT"), r * 0.16, QPointF(0, r * 0.62), 0.08), pal, r * 0.012);
}

void paintEuroFace(QPainter &p, const CoinDesign &coin, double r)
{
    // Silver centre set into the gold ring.
    const double centre = r * 0.66;
    QPainterPath disc;
    disc.addEllipse(QPointF(0, 0), centre, centre);
    QRadialGradient body(QPointF(-centre * 0.35, -centre * 0.4), centre * 1.6);
    body.setStops({{0, kSilver.light}, {0.5, kSilver.base}, {1, kSilver.dark}});
    p.fillPath(disc, body);
    p.strokePath(disc, QPen(kGold.deep, r * 0.025));

    paintStarRing(p, r * 0.78, r * 0.06, kGold);
    paintRaised(p, textPath(coin.numeral, centre * 1.05, QPointF(0, -centre * 0.12)), kSilver, r * 0.04);
    paintRaised(p, textPath(QStringLiteral("EURO"), centre * 0.2, QPointF(0, centre * 0.66), 0.06), kSilver, r * 0.012);
}

} // namespace

const std::vector<CoinDesign> &coinDesigns()
{
    static const std::vector<CoinDesign> designs{
        {101, 65, QStringLiteral("1"), Metal::Copper, 0},      {102, 75, QStringLiteral("2"), Metal::Copper, 0},
        {103, 85, QStringLiteral("5"), Metal::Copper, 0},      {104, 79, QStringLiteral("10"), Metal::NordicGold, 0},
        {105, 89, QStringLiteral("20"), Metal::NordicGold, 7}, {106, 96, QStringLiteral("50"), Metal::NordicGold, 0},
        {107, 93, QStringLiteral("1"), Metal::Bimetal, 0},
    };
    return designs;
}

QImage paintCoin(const CoinDesign &coin, int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(kPanelBlue);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Work in the 100 x 100 picture's units at every size.
    p.translate(size / 2.0, size / 2.0);
    p.scale(size / 100.0, size / 100.0);

    const double r = coin.diameter / 2;
    const Palette &pal = coin.metal == Metal::Copper ? kCopper : kGold;
    const double field = paintBlank(p, r, coin.notches, pal);
    if (coin.metal == Metal::Bimetal)
        paintEuroFace(p, coin, field);
    else
        paintCentFace(p, coin, field, pal);
    return image;
}

} // namespace picturemaker
