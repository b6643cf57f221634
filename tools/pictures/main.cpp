// quizzolo-picture-maker OUTDIR: draws every picture the trainer embeds into OUTDIR.
#include "CoinPainter.h"
#include "HandCursors.h"
#include "IconPainter.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

namespace {

bool failed = false;

void fail(const QString &message)
{
    std::fprintf(stderr, "quizzolo-picture-maker: %s\n", qPrintable(message));
    failed = true;
}

void save(const QImage &image, const QDir &dir, const QString &name, const char *format)
{
    const QString path = dir.filePath(name);
    if (!image.save(path, format))
        fail(QStringLiteral("cannot write %1").arg(path));
    else
        std::printf("%s\n", qPrintable(path));
}

// The trainer's bitmaps are plain 24-bit BMPs; RGB888 makes Qt write exactly that.
void writeCoins(const QDir &dir)
{
    for (const auto &coin : picturemaker::coinDesigns()) {
        const QImage small = picturemaker::paintCoin(coin, 100).convertToFormat(QImage::Format_RGB888);
        const QString name = QStringLiteral("coin%1.bmp").arg(coin.id);
        save(small, dir, name, "BMP");
        if (QFileInfo(dir.filePath(name)).size() != 30054)
            fail(name + QStringLiteral(" is not a 30054-byte 24-bit BMP"));
        save(picturemaker::paintCoin(coin, 200), dir, QStringLiteral("coin%1@2x.png").arg(coin.id), "PNG");
    }
}

void writeCursors(const QDir &dir)
{
    for (const auto &hand : {picturemaker::openHand(), picturemaker::closedHand()}) {
        save(hand.bitmap, dir, QStringLiteral("cursor%1.png").arg(hand.id), "PNG");
        save(hand.mask, dir, QStringLiteral("cursor%1-mask.png").arg(hand.id), "PNG");
        // The hot spot belongs on the white palm, where a click visibly lands.
        if (hand.mask.pixelIndex(hand.hotSpot) != 1 || hand.bitmap.pixelIndex(hand.hotSpot) != 0)
            fail(QStringLiteral("cursor %1: hot spot is not on the white fill").arg(hand.id));
    }
}

void writeIcon(const QDir &dir)
{
    for (int size : {16, 32, 48, 64, 128, 256})
        save(picturemaker::paintIcon(size), dir, QStringLiteral("icon-%1.png").arg(size), "PNG");

    const QByteArray svg = picturemaker::iconSvg();
    QFile file(dir.filePath(QStringLiteral("icon.svg")));
    if (!file.open(QIODevice::WriteOnly) || file.write(svg) != svg.size())
        fail(QStringLiteral("cannot write %1").arg(file.fileName()));
    else
        std::printf("%s\n", qPrintable(file.fileName()));

    // Keep the hand-written SVG honest: it must be the same drawing as the PNGs.
    QImage rendered(32, 32, QImage::Format_ARGB32);
    rendered.fill(Qt::transparent);
    QPainter painter(&rendered);
    QSvgRenderer(svg).render(&painter);
    painter.end();
    if (rendered != picturemaker::paintIcon(32))
        fail(QStringLiteral("icon.svg does not match icon-32.png"));
}

// Windows wants one .ico for the executable: PNG-compressed entries, which every
// Windows since Vista reads, at the sizes Explorer asks for.
void writeWindowsIcon(const QDir &dir)
{
    const int sizes[] = {16, 32, 48, 256};
    QList<QByteArray> images;
    for (int size : sizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picturemaker::paintIcon(size).save(&buffer, "PNG");
        images << png;
    }
    QByteArray ico;
    QDataStream out(&ico, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(images.size());
    quint32 offset = 6 + 16 * images.size();
    for (int i = 0; i < images.size(); ++i) {
        const int size = sizes[i];
        out << quint8(size == 256 ? 0 : size) << quint8(size == 256 ? 0 : size) << quint8(0) << quint8(0) << quint16(1)
            << quint16(32) << quint32(images[i].size()) << offset;
        offset += images[i].size();
    }
    for (const QByteArray &png : images)
        out.writeRawData(png.constData(), static_cast<int>(png.size()));
    QFile file(dir.filePath(QStringLiteral("quizzolo.ico")));
    if (!file.open(QIODevice::WriteOnly) || file.write(ico) != ico.size())
        fail(QStringLiteral("cannot write %1").arg(file.fileName()));
    else
        std::printf("%s\n", qPrintable(file.fileName()));
}

} // namespace

int main(int argc, char *argv[])
{
    // Drawing needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quizzolo-picture-maker OUTDIR\n");
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral(".")))
        fail(QStringLiteral("cannot create %1").arg(dir.path()));
    else {
        writeCoins(dir);
        writeCursors(dir);
        writeIcon(dir);
        writeWindowsIcon(dir);
    }
    return failed ? 1 : 0;
}
