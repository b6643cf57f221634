#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace quizzolo {

// Pictures are asked for by kind and number; the same number names a different
// picture in each kind (bitmap 101 is the one-cent coin, cursor 101 the open hand).
enum class ResourceKind { Bitmap, Cursor };

// The embedded file (":/pictures/...") of that picture, or an empty string for an unknown id.
// For a bitmap it is the 100 x 100 BMP, for a cursor the bitmap half of the pair.
QString resourcePath(ResourceKind kind, int id);

// Coin 101..107 on the reward panel's blue, 100 x 100 device-independent pixels.
// Above a device pixel ratio of 1 it is the 200 x 200 drawing at ratio 2, so the
// enlarged coin stays sharp. A null pixmap for any other id.
QPixmap loadBitmap(int id);
QPixmap loadBitmap(int id, qreal devicePixelRatio);

// Hand cursor 101 (open) or 102 (closed, grabbing) with its hot spot, `scale` times its
// 32 x 32 pixels; the arrow for any other id.
QCursor loadCursor(int id, double scale = 1);

// The program icon with every size it is drawn at.
QIcon programIcon();

} // namespace quizzolo
