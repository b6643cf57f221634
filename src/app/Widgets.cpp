#include "app/Widgets.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextLayout>

namespace quizzolo {

void CaptionButton::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    p.drawControl(QStyle::CE_PushButton, option);
    if (face_.isValid()) {
        const QColor fill = isDown() ? face_.darker(115) : face_;
        p.fillRect(rect().adjusted(3, 3, -3, -3), fill);
    }

    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    p.setFont(font());
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, caption);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = area.adjusted(2, 2, -2, -2);
        p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

void CaptionButton::setFaceColor(const QColor &color)
{
    face_ = color;
    update();
}

CreditText::CreditText(const QString &text, double linePitchPx, QWidget *parent)
    : QLabel(text, parent), pitch_(linePitchPx)
{
    setWordWrap(true);
    setAutoFillBackground(true);
}

QStringList CreditText::lines() const
{
    QTextLayout layout(text(), font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList out;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(contentsRect().width());
        out << text().mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return out;
}

int CreditText::lineTop(int index) const
{
    return contentsRect().top() + qRound(index * pitch_);
}

void CreditText::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(QPalette::WindowText));
    const QStringList wrapped = lines();
    const int height = QFontMetrics(font()).height();
    for (int i = 0; i < wrapped.size(); ++i)
        p.drawText(QRect(contentsRect().left(), lineTop(i), contentsRect().width(), height),
                   Qt::AlignLeft | Qt::AlignTop, wrapped[i]);
}

void PauseSlider::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Left && event->key() != Qt::Key_Right)
        return QScrollBar::keyPressEvent(event);
    const bool towardRightEnd = event->key() == Qt::Key_Right;
    triggerAction(towardRightEnd != isRightToLeft() ? SliderSingleStepAdd : SliderSingleStepSub);
    event->accept();
}

LineWidget::LineWidget(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void LineWidget::setEnds(QPoint from, QPoint to, int widthPx)
{
    from_ = from;
    to_ = to;
    width_ = widthPx;
    const int margin = widthPx;
    setGeometry(QRect(from, to).normalized().adjusted(-margin, -margin, margin, margin));
    update();
}

void LineWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette().color(QPalette::WindowText), width_, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from_ - pos(), to_ - pos());
}

} // namespace quizzolo
