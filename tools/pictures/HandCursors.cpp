#include "HandCursors.h"

#include <QtGlobal>

#include <array>

namespace picturemaker {
namespace {

// Cursors are two-colour pixel art, so they are drawn pixel by pixel rather than painted:
// '#' black outline, '.' white fill, ' ' transparent.
using PixelArt = std::array<const char *, 32>;

constexpr PixelArt kOpenHand{
    "                                ", "                                ", "             ###                ",
    "            #...###             ", "         ####...#...#           ", "        #...#...#...#           ",
    "        #...#...#...####        ", "        #...#...#...#...#       ", "        #...#...#...#...#       ",
    "        #...#...#...#...#       ", "   ###  #...#...#...#...#       ", "  #...# #...#...#...#...#       ",
    "  #....##...#...#...#...#       ", "   #....................#       ", "    #...................#       ",
    "     #..................#       ", "      #.................#       ", "       #................#       ",
    "        #...............#       ", "        #...............#       ", "        #...............#       ",
    "        #...............#       ", "         #.............#        ", "         #.............#        ",
    "          #...........#         ", "          #...........#         ", "          #############         ",
    "                                ", "                                ", "                                ",
    "                                ", "                                ",
};

constexpr PixelArt kClosedHand{
    "                                ", "                                ", "                                ",
    "                                ", "                                ", "                                ",
    "                                ", "                                ", "                                ",
    "         ### ### ###            ", "        #...#...#...####        ", "        #...#...#...#...#       ",
    "        #...#...#...#...#       ", "     ####...............#       ", "    #...#...............#       ",
    "    #....#..............#       ", "    #.....#.............#       ", "     #.....#............#       ",
    "      #.....#...........#       ", "       #................#       ", "        #...............#       ",
    "        #...............#       ", "         #.............#        ", "         #.............#        ",
    "          #...........#         ", "          #...........#         ", "          #############         ",
    "                                ", "                                ", "                                ",
    "                                ", "                                ",
};

QImage monoImage()
{
    // Index 0 white, index 1 black: QBitmap reads black pixels as set bits.
    QImage image(32, 32, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    return image;
}

HandCursor fromArt(int id, QPoint hotSpot, const PixelArt &art)
{
    HandCursor cursor{id, hotSpot, monoImage(), monoImage()};
    for (int y = 0; y < 32; ++y) {
        const QByteArray row(art[y]);
        if (row.size() != 32)
            qFatal("cursor %d: row %d is %lld pixels wide, not 32", id, y, static_cast<long long>(row.size()));
        for (int x = 0; x < 32; ++x) {
            const char c = row.at(x);
            if (c == '#')
                cursor.bitmap.setPixel(x, y, 1);
            if (c == '#' || c == '.')
                cursor.mask.setPixel(x, y, 1);
        }
    }
    return cursor;
}

} // namespace

HandCursor openHand()
{
    return fromArt(101, QPoint(16, 15), kOpenHand);
}

HandCursor closedHand()
{
    return fromArt(102, QPoint(15, 17), kClosedHand);
}

} // namespace picturemaker
