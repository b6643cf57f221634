#pragma once

#include <QByteArray>
#include <QImage>

namespace picturemaker {

// The program icon at size x size pixels: a white window with a cyan title bar,
// a grey drop shadow and a black outline, snapped to whole pixels at every size.
QImage paintIcon(int size);

// The same drawing as an SVG for desktop menus; renders to exactly paintIcon(32).
QByteArray iconSvg();

} // namespace picturemaker
