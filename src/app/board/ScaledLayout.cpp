#include "app/board/ScaledLayout.h"

#include "app/TabellaLayout.h"

#include <QApplication>
#include <QStyleFactory>
#include <QWidget>

namespace quizzolo {

ScaledMarks::ScaledMarks() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

int ScaledMarks::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    const int size = QProxyStyle::pixelMetric(metric, option, widget);
    switch (metric) {
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
    case PM_RadioButtonLabelSpacing:
    case PM_ScrollBarExtent:
    case PM_ScrollBarSliderMin: return qRound(size * scale);
    default: return size;
    }
}

void ScaledLayout::marks(QWidget *w)
{
    follow(w, [this, w](double s) {
        if (s == 1) { // the style itself, to the pixel
            if (w->testAttribute(Qt::WA_SetStyle))
                w->setStyle(nullptr);
            return;
        }
        if (!marks_) {
            marks_ = new ScaledMarks;
            marks_->setParent(w->window());
        }
        marks_->scale = s;
        w->setStyle(marks_);
        w->update();
    });
}

int ScaledLayout::pixels(double twips, double scale)
{
    return qRound(twips * scale / 15.0);
}

void ScaledLayout::place(QWidget *w, QRect twips)
{
    follow(w, [w, twips](double s) {
        w->setGeometry(pixels(twips.x(), s), pixels(twips.y(), s), pixels(twips.width(), s), pixels(twips.height(), s));
    });
}

void ScaledLayout::font(QWidget *w, double points, bool bold, bool underline)
{
    follow(w, [w, points, bold, underline](double s) { w->setFont(designFont(points, bold, underline, s)); });
}

void ScaledLayout::follow(QWidget *w, std::function<void(double)> apply)
{
    apply(scale_);
    entries_.push_back({w, std::move(apply)});
}

void ScaledLayout::apply(double scale)
{
    scale_ = scale;
    for (const Entry &e : entries_)
        if (e.widget)
            e.apply(scale);
}

} // namespace quizzolo
