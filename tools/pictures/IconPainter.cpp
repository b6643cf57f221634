#include "IconPainter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace picturemaker {
namespace {

const QColor kShadow(128, 128, 128);
const QColor kTitleBar(0, 216, 240);

} // namespace

QImage paintIcon(int size)
{
    // Laid out on a 32-unit grid; every edge is rounded to a whole pixel so the
    // small sizes stay crisp instead of blurring half-pixel lines.
    const double unit = size / 32.0;
    const auto px = [unit](double v) { return static_cast<int>(std::lround(v * unit)); };
    const int line = std::max(1, px(1));
    const int shadowOffset = std::max(1, px(3));
    const int titleBar = std::max(2, px(5));

    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const QRect window(QPoint(px(2), px(3)), QPoint(px(27) - 1, px(26) - 1));
    p.fillRect(window.translated(shadowOffset, shadowOffset), kShadow);
    p.fillRect(window, Qt::black);
    const QRect client = window.adjusted(line, line, -line, -line);
    p.fillRect(client, Qt::white);
    p.fillRect(QRect(client.left(), client.top(), client.width(), titleBar), kTitleBar);
    p.fillRect(QRect(client.left(), client.top() + titleBar, client.width(), line), Qt::black);
    return image;
}

QByteArray iconSvg()
{
    return QByteArrayLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">
  <title>Quizzolo</title>
  <!-- drop shadow -->
  <rect x="5" y="6" width="25" height="23" fill="#808080"/>
  <!-- window: black outline around a white client area -->
  <rect x="2" y="3" width="25" height="23" fill="#000000"/>
  <rect x="3" y="4" width="23" height="21" fill="#ffffff"/>
  <!-- cyan title bar with its dividing line -->
  <rect x="3" y="4" width="23" height="5" fill="#00d8f0"/>
  <rect x="3" y="9" width="23" height="1" fill="#000000"/>
</svg>
)");
}

} // namespace picturemaker
