#include "app/ScaledLayout.h"

#include "app/TabellaLayout.h"

#include <QWidget>

namespace quizzolo {

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
