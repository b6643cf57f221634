#pragma once

#include <QImage>
#include <QPoint>

namespace picturemaker {

struct HandCursor {
    int id; // the cursor id the trainer asks for
    QPoint hotSpot;
    QImage bitmap; // 1 bit: black where the outline is black
    QImage mask;   // 1 bit: black where the cursor is opaque (outline and white fill)
};

// 101 open hand, 102 closed grabbing hand; 32 x 32, two colours and transparency.
HandCursor openHand();
HandCursor closedHand();

} // namespace picturemaker
