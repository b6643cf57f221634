#pragma once

#include "engine/Controls.h"

#include <QFont>
#include <QRect>

class QWidget;

namespace quizzolo {

// The window is designed in twips; 15 twips make one logical pixel.
int twipsToPixels(int twips);
QRect twipsRect(int left, int top, int width, int height);

// Arial, or (after prepareApplication) a font with its metrics where Arial is missing.
QFont designFont(double pointSize, bool bold, bool underline = false);

// Application-wide settings the window is designed for: name, version, style, fonts.
void prepareApplication();

// Creates every control of the window with its design values and stacking order.
Controls buildControls(QWidget *window);

// The credit sentence and the two link texts lying over its third and fourth lines.
struct Credits {
    QString author; // initial and surname
    QString email;
    QString web;      // as shown
    QString sentence; // wraps so that author starts line 3 and web starts line 4
};
Credits credits();

} // namespace quizzolo
