#include "app/ResourceLoader.h"

#include <QBitmap>
#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QtEndian>
#include <QtTest>

using namespace quizzolo;

namespace {

const QRgb kPanelBlue = qRgb(0, 0, 255);

enum class Metal { Copper, Gold, SilverCentre };

QByteArray resourceBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 le32(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}
quint16 le16(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

// Non-blue pixels along the middle row and along the middle column.
std::pair<int, int> measuredDiameters(const QImage &image)
{
    int across = 0, down = 0;
    for (int i = 0; i < image.width(); ++i) {
        across += image.pixel(i, image.height() / 2) != kPanelBlue;
        down += image.pixel(image.width() / 2, i) != kPanelBlue;
    }
    return {across, down};
}

// Average colour of the coin's pixels no farther than `reach` (Manhattan) from the centre.
QColor averageColour(const QImage &image, int reach)
{
    qint64 r = 0, g = 0, b = 0, n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p != kPanelBlue && qAbs(x - image.width() / 2) + qAbs(y - image.height() / 2) <= reach)
                r += qRed(p), g += qGreen(p), b += qBlue(p), ++n;
        }
    return n == 0 ? QColor() : QColor(int(r / n), int(g / n), int(b / n));
}

bool isSet(const QBitmap &bitmap, QPoint at)
{
    return qGray(bitmap.toImage().pixel(at)) < 128;
}

int countSet(const QBitmap &bitmap, const QBitmap &alsoSetIn = QBitmap())
{
    int n = 0;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            n += isSet(bitmap, {x, y}) && (alsoSetIn.isNull() || isSet(alsoSetIn, {x, y}));
    return n;
}

} // namespace

class TestResources : public QObject {
    Q_OBJECT

  private slots:
    void coin_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("diameter");
        QTest::addColumn<Metal>("metal");
        QTest::newRow("101 one cent") << 101 << 65 << Metal::Copper;
        QTest::newRow("102 two cents") << 102 << 75 << Metal::Copper;
        QTest::newRow("103 five cents") << 103 << 85 << Metal::Copper;
        QTest::newRow("104 ten cents") << 104 << 79 << Metal::Gold;
        QTest::newRow("105 twenty cents") << 105 << 89 << Metal::Gold;
        QTest::newRow("106 fifty cents") << 106 << 96 << Metal::Gold;
        QTest::newRow("107 one euro") << 107 << 93 << Metal::SilverCentre;
    }

    void coin()
    {
        QFETCH(int, id);
        QFETCH(int, diameter);
        QFETCH(Metal, metal);
        const QPixmap pixmap = loadBitmap(id, 1.0);
        QCOMPARE(pixmap.size(), QSize(100, 100));
        QCOMPARE(pixmap.devicePixelRatio(), 1.0);

        // The embedded file itself: a plain uncompressed 24-bit BMP.
        const QByteArray bmp = resourceBytes(resourcePath(ResourceKind::Bitmap, id));
        QCOMPARE(bmp.size(), 30054);
        QCOMPARE(bmp.left(2), QByteArray("BM"));
        QCOMPARE(le32(bmp, 2), 30054u);
        QCOMPARE(le32(bmp, 10), 54u); // pixels right after the two headers
        QCOMPARE(le32(bmp, 14), 40u); // BITMAPINFOHEADER
        QCOMPARE(qint32(le32(bmp, 18)), 100);
        QCOMPARE(qint32(le32(bmp, 22)), 100); // positive: bottom-up rows
        QCOMPARE(le16(bmp, 28), quint16(24));
        QCOMPARE(le32(bmp, 30), 0u); // BI_RGB

        // One coin of the right size, centred on the panel's exact blue.
        const QImage image = QImage::fromData(bmp);
        for (QPoint corner : {QPoint(0, 0), QPoint(99, 0), QPoint(0, 99), QPoint(99, 99)})
            QCOMPARE(QColor(image.pixel(corner)), QColor(kPanelBlue));
        QVERIFY(image.pixel(50, 50) != kPanelBlue);
        const auto [across, down] = measuredDiameters(image);
        QVERIFY2(qAbs(across - diameter) <= 4, qPrintable(QString::number(across)));
        QVERIFY2(qAbs(down - diameter) <= 4, qPrintable(QString::number(down)));

        // Told apart by colour too.
        const QColor body = averageColour(image, 100);
        const QColor middle = averageColour(image, 20);
        if (metal == Metal::Copper)
            QVERIFY2(body.green() < body.red() * 0.75, qPrintable(body.name()));
        if (metal == Metal::Gold)
            QVERIFY2(body.green() > body.red() * 0.75 && body.blue() < body.green() * 0.6, qPrintable(body.name()));
        if (metal == Metal::SilverCentre)
            QVERIFY2(qAbs(middle.red() - middle.blue()) < 30 && body.blue() < body.green() * 0.8,
                     qPrintable(middle.name() + body.name()));
    }

    void sharpCoinForHighDpi_data() { coin_data(); }
    void sharpCoinForHighDpi()
    {
        QFETCH(int, id);
        QFETCH(int, diameter);
        const QPixmap pixmap = loadBitmap(id, 2.0);
        QCOMPARE(pixmap.size(), QSize(200, 200));
        QCOMPARE(pixmap.deviceIndependentSize(), QSizeF(100, 100));
        const QImage image = pixmap.toImage();
        QCOMPARE(QColor(image.pixel(0, 0)), QColor(kPanelBlue));
        QCOMPARE(QColor(image.pixel(199, 199)), QColor(kPanelBlue));
        const auto [across, down] = measuredDiameters(image);
        QVERIFY2(qAbs(across - 2 * diameter) <= 8, qPrintable(QString::number(across)));
        QVERIFY2(qAbs(down - 2 * diameter) <= 8, qPrintable(QString::number(down)));
    }

    void handCursor_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QPoint>("hotSpot");
        QTest::newRow("101 open hand") << 101 << QPoint(16, 15);
        QTest::newRow("102 closed hand") << 102 << QPoint(15, 17);
    }

    void handCursor()
    {
        QFETCH(int, id);
        QFETCH(QPoint, hotSpot);
        const QCursor cursor = loadCursor(id);
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        QCOMPARE(cursor.hotSpot(), hotSpot);
        const QBitmap ink = cursor.bitmap();
        const QBitmap shown = cursor.mask();
        QCOMPARE(ink.size(), QSize(32, 32));
        QCOMPARE(shown.size(), QSize(32, 32));
        const int black = countSet(ink);
        QVERIFY(black > 0);
        QVERIFY(countSet(shown) > black);       // white fill inside the outline
        QVERIFY(countSet(shown) < 32 * 32 / 2); // mostly transparent
        QCOMPARE(countSet(ink, shown), black);  // no black outside the mask (it would invert the screen)
        QVERIFY(isSet(shown, hotSpot) && !isSet(ink, hotSpot)); // the hot spot is on the white palm
    }

    void theTwoHandsDiffer()
    {
        QVERIFY(loadCursor(101).bitmap().toImage() != loadCursor(102).bitmap().toImage());
        QVERIFY(loadCursor(101).mask().toImage() != loadCursor(102).mask().toImage());
    }

    void sameIdDiffersByKind()
    {
        // Bitmap 101 is the one-cent coin, cursor 101 the open hand.
        QCOMPARE(loadBitmap(101, 1.0).size(), QSize(100, 100));
        QCOMPARE(loadCursor(101).shape(), Qt::BitmapCursor);
        QCOMPARE(loadCursor(101).bitmap().size(), QSize(32, 32));
    }

    void unknownId_data()
    {
        QTest::addColumn<int>("id");
        QTest::newRow("id 0") << 0;
        QTest::newRow("id 100") << 100;
        QTest::newRow("id 108") << 108;
        QTest::newRow("id -1") << -1;
    }

    void unknownId()
    {
        QFETCH(int, id);
        QVERIFY(loadBitmap(id).isNull());
        QVERIFY(loadBitmap(id, 2.0).isNull());
        QCOMPARE(loadCursor(id).shape(), Qt::ArrowCursor);
    }

    void programIcon_data()
    {
        QTest::addColumn<int>("size");
        for (int size : {16, 32, 48, 64, 128, 256})
            QTest::newRow(qPrintable(QStringLiteral("%1 px").arg(size))) << size;
    }

    void programIcon()
    {
        QFETCH(int, size);
        const QIcon icon = quizzolo::programIcon();
        QVERIFY(icon.availableSizes().contains(QSize(size, size)));
        const QImage image = icon.pixmap(QSize(size, size), 1.0).toImage();
        QCOMPARE(image.size(), QSize(size, size));
        // A white window, cyan title bar, black outline and grey shadow, on transparency.
        const auto at = [&](double x, double y) { return QColor::fromRgba(image.pixel(int(x * size), int(y * size))); };
        QCOMPARE(at(0, 0).alpha(), 0);
        QCOMPARE(at(0.45, 0.6), QColor(Qt::white));
        QCOMPARE(at(0.45, 6.5 / 32), QColor(0, 216, 240));
        QCOMPARE(at(2.5 / 32, 0.6), QColor(Qt::black));
        QCOMPARE(at(0.88, 0.86), QColor(128, 128, 128));
    }

    void contactSheet()
    {
        // For a person to look at: the coins as the reward places show them, the hands enlarged.
        constexpr int kPlace = 134, kGap = 10, kHand = 4 * 32;
        QImage sheet(7 * (kPlace + kGap) + kGap, kPlace + kHand + 3 * kGap, QImage::Format_RGB32);
        sheet.fill(kPanelBlue);
        QPainter painter(&sheet);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        for (int i = 0; i < 7; ++i)
            painter.drawPixmap(QRect(kGap + i * (kPlace + kGap), kGap, kPlace, kPlace), loadBitmap(101 + i, 1.0));
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        for (int i = 0; i < 2; ++i) {
            const QCursor hand = loadCursor(101 + i);
            QImage shown(32, 32, QImage::Format_RGB32);
            shown.fill(QColor(255, 200, 230)); // pink stands for transparent
            QPainter handPainter(&shown);
            handPainter.setClipRegion(QRegion(hand.mask()));
            handPainter.fillRect(shown.rect(), Qt::white);
            handPainter.setClipRegion(QRegion(hand.bitmap()));
            handPainter.fillRect(shown.rect(), Qt::black);
            handPainter.end();
            painter.drawImage(QRect(kGap + i * (kHand + kGap), kPlace + 2 * kGap, kHand, kHand), shown);
        }
        painter.end();

        // Enlarged, each picture's blue still merges with the panel around it.
        for (int i = 0; i < 7; ++i) {
            const int left = kGap + i * (kPlace + kGap);
            QCOMPARE(QColor(sheet.pixel(left, kGap)), QColor(kPanelBlue));
            QCOMPARE(QColor(sheet.pixel(left + kPlace - 1, kGap + kPlace - 1)), QColor(kPanelBlue));
        }
        const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/contact-sheet.png");
        QVERIFY2(sheet.save(path), qPrintable(path));
        QCOMPARE(QImage(path).size(), sheet.size());
        qInfo("contact sheet: %s", qPrintable(path));
    }
};

QTEST_MAIN(TestResources)
#include "test_resources.moc"
