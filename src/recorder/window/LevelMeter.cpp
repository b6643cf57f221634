#include "recorder/window/LevelMeter.h"

#include <QPainter>
#include <algorithm>

namespace quizzolo::recorder {

namespace {

constexpr double fallPerUpdateDb = 1.5; // about 50 dB a second at the window's 30 ms

struct ZoneLook {
    double from, to;
    QColor pale, strong;
};

const ZoneLook zones[] = {
    {meterFloorDb, levelGoodFromDb, QColor(0xee, 0xee, 0xe4), QColor(0xb8, 0x9c, 0x2e)},
    {levelGoodFromDb, levelTooLoudFromDb, QColor(0xdc, 0xf0, 0xdc), QColor(0x2e, 0x8b, 0x3a)},
    {levelTooLoudFromDb, 0.0, QColor(0xf6, 0xd8, 0xd4), QColor(0xc0, 0x2a, 0x1a)},
};

} // namespace

QString zoneName(LevelZone zone)
{
    switch (zone) {
    case LevelZone::TooQuiet: return QStringLiteral("troppo basso");
    case LevelZone::Good: return QStringLiteral("bene");
    case LevelZone::TooLoud: return QStringLiteral("troppo forte");
    }
    return {};
}

LevelMeter::LevelMeter(QWidget *parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Livello del microfono"));
    setAccessibleDescription(QStringLiteral("Da %1 a 0 decibel: troppo basso fino a %2, bene fino a %3, poi "
                                            "troppo forte")
                                 .arg(meterFloorDb)
                                 .arg(levelGoodFromDb)
                                 .arg(levelTooLoudFromDb));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void LevelMeter::showPeak(double peakDb)
{
    const double next = std::max(peakDb, level_ - fallPerUpdateDb);
    if (next != level_) {
        level_ = next;
        update();
    }
}

void LevelMeter::clear()
{
    level_ = -100;
    update();
}

QSize LevelMeter::sizeHint() const
{
    return {240, minimumSizeHint().height()};
}

QSize LevelMeter::minimumSizeHint() const
{
    return {220, 18 + 2 * fontMetrics().height() + 4};
}

int LevelMeter::xOf(double db, const QRect &bar) const
{
    return bar.left() + (meterPercentAt(db) * bar.width() + 50) / 100;
}

void LevelMeter::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QFontMetrics fm = fontMetrics();
    const int margin = fm.horizontalAdvance(QStringLiteral("-60")) / 2 + 1;
    const QRect bar(margin, 0, width() - 2 * margin, 18);
    for (const ZoneLook &z : zones) {
        const QRect zone(QPoint(xOf(z.from, bar), bar.top()), QPoint(xOf(z.to, bar) - 1, bar.bottom()));
        p.fillRect(zone, z.pale);
        if (level_ > z.from) {
            const int right = std::min(xOf(level_, bar), xOf(z.to, bar)) - 1;
            p.fillRect(QRect(QPoint(zone.left(), bar.top() + 3), QPoint(right, bar.bottom() - 3)), z.strong);
        }
    }
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(bar.adjusted(0, 0, -1, -1));
    // The scale, then the zones' names under their own part.
    const int ticks = bar.bottom() + 1;
    for (int db = static_cast<int>(meterFloorDb); db <= 0; db += 10) {
        const int x = xOf(db, bar);
        p.drawLine(x, ticks, x, ticks + 3);
        const QString label = QString::number(db);
        p.drawText(x - fm.horizontalAdvance(label) / 2, ticks + 3 + fm.ascent(), label);
    }
    QFont small = font();
    small.setItalic(true);
    p.setFont(small);
    // Each name from the start of its zone; the narrow loud one ends at the bar's end.
    const int names = ticks + 4 + fm.height();
    const QRect row(bar.left(), names, bar.width(), fm.height());
    p.drawText(row, Qt::AlignLeft, zoneName(LevelZone::TooQuiet));
    p.drawText(row.adjusted(xOf(levelGoodFromDb, bar) - bar.left() + 2, 0, 0, 0), Qt::AlignLeft,
               zoneName(LevelZone::Good));
    p.drawText(row, Qt::AlignRight, zoneName(LevelZone::TooLoud));
}

} // namespace quizzolo::recorder
