#include "app/ResourceLoader.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QImage>
#include <QPoint>

#include <array>

namespace quizzolo {

namespace {

constexpr int kFirstCoin = 101;
constexpr int kLastCoin = 107;

struct HandCursor {
    int id;
    QPoint hotSpot; // inside the palm, so the click point barely moves between the two hands
};

constexpr std::array<HandCursor, 2> kHands{{
    {101, QPoint(16, 15)}, // open hand
    {102, QPoint(15, 17)}, // closed, grabbing hand
}};

const HandCursor *findHand(int id)
{
    for (const auto &hand : kHands)
        if (hand.id == id)
            return &hand;
    return nullptr;
}

} // namespace

QString resourcePath(ResourceKind kind, int id)
{
    switch (kind) {
    case ResourceKind::Bitmap:
        if (id >= kFirstCoin && id <= kLastCoin)
            return QStringLiteral(":/pictures/coin%1.bmp").arg(id);
        break;
    case ResourceKind::Cursor:
        if (findHand(id) != nullptr)
            return QStringLiteral(":/pictures/cursor%1.png").arg(id);
        break;
    }
    return {};
}

QPixmap loadBitmap(int id)
{
    // Pixmaps cannot exist without a GUI application; Qt would abort.
    if (qGuiApp == nullptr)
        return {};
    return loadBitmap(id, qGuiApp->devicePixelRatio());
}

QPixmap loadBitmap(int id, qreal devicePixelRatio)
{
    const QString path = resourcePath(ResourceKind::Bitmap, id);
    if (path.isEmpty() || qGuiApp == nullptr)
        return {};
    if (devicePixelRatio > 1) {
        QPixmap sharp(QStringLiteral(":/pictures/coin%1@2x.png").arg(id));
        if (!sharp.isNull()) {
            // Same 100 x 100 layout size as the plain picture, twice the detail.
            sharp.setDevicePixelRatio(sharp.width() / 100.0);
            return sharp;
        }
    }
    return QPixmap(path);
}

QCursor loadCursor(int id, double scale)
{
    const HandCursor *hand = findHand(id);
    if (hand == nullptr || qGuiApp == nullptr)
        return QCursor(Qt::ArrowCursor);
    // Two-colour pictures: the bitmap holds the black outline, the mask everything opaque.
    QImage picture(resourcePath(ResourceKind::Cursor, id));
    QImage outline(QStringLiteral(":/pictures/cursor%1-mask.png").arg(id));
    if (picture.isNull() || outline.isNull())
        return QCursor(Qt::ArrowCursor);
    QPoint hotSpot = hand->hotSpot;
    if (scale != 1) {
        // Two colours enlarge cleanly pixel by pixel; the hot spot stays in the palm.
        const QSize size = picture.size() * scale;
        picture = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        outline = outline.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        hotSpot = (QPointF(hotSpot) * scale).toPoint();
    }
    return QCursor(QBitmap::fromImage(picture), QBitmap::fromImage(outline), hotSpot.x(), hotSpot.y());
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/pictures/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace quizzolo
