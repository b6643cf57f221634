#pragma once

#include "engine/Controls.h"

#include <QFont>
#include <QRect>

class QWidget;

namespace quizzolo {

class ScaledLayout;

// Arial, or (after prepareApplication) a font with its metrics where Arial is missing,
// at `scale` times its size on the designed window.
QFont designFont(double pointSize, bool bold, bool underline = false, double scale = 1);

// Application-wide settings the window is designed for: name, version, style, fonts.
void prepareApplication();

// Creates every control of the window with its layout values and stacking order; the
// positions, sizes and fonts (in twips and points) go through `layout`, which keeps them
// for any later scale.
Controls buildControls(QWidget *window, ScaledLayout &layout);

// The credit sentence and the two link texts lying over its third and fourth lines.
struct Credits {
    QString author; // initial and surname
    QString email;
    QString web;      // as shown
    QString sentence; // wraps so that author starts line 3 and web starts line 4
};
Credits credits();

} // namespace quizzolo
