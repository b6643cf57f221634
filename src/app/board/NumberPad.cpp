#include "app/board/NumberPad.h"

#include "app/Widgets.h"

namespace quizzolo {

namespace {

constexpr int columns = 2;

struct PadKey {
    const char *name;
    const char *caption;
    int key;
    const char *text;
};

// In reading order, two to a row; the two actions last, INVIO at the bottom right.
constexpr std::array<PadKey, 12> padKeys{{
    {"1", "1", Qt::Key_1, "1"},
    {"2", "2", Qt::Key_2, "2"},
    {"3", "3", Qt::Key_3, "3"},
    {"4", "4", Qt::Key_4, "4"},
    {"5", "5", Qt::Key_5, "5"},
    {"6", "6", Qt::Key_6, "6"},
    {"7", "7", Qt::Key_7, "7"},
    {"8", "8", Qt::Key_8, "8"},
    {"9", "9", Qt::Key_9, "9"},
    {"0", "0", Qt::Key_0, "0"},
    {"cancella", "\u2190", Qt::Key_Backspace, "\b"},
    {"invio", "INVIO", Qt::Key_Return, "\r"},
}};

} // namespace

NumberPad::NumberPad(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tastierino"));
    setAccessibleName(QStringLiteral("Tastierino"));
    for (std::size_t i = 0; i < padKeys.size(); ++i) {
        const PadKey &k = padKeys[i];
        auto *button = new CaptionButton(QString::fromUtf8(k.caption), this);
        button->setObjectName(QString::fromLatin1(k.name));
        button->setFocusPolicy(Qt::NoFocus);
        if (k.key == Qt::Key_Backspace)
            button->setAccessibleName(QStringLiteral("Cancella l'ultima cifra"));
        if (k.key == Qt::Key_Return)
            button->setFaceColor(QColor(0, 255, 0));
        const int code = k.key;
        const QString text = QString::fromLatin1(k.text);
        connect(button, &QPushButton::clicked, this, [this, code, text] { emit tapped(code, text); });
        keys_[i] = button;
    }
}

QSize NumberPad::sizeFor(int keyPx, int gapPx)
{
    const int rows = static_cast<int>(padKeys.size()) / columns;
    return {columns * keyPx + (columns - 1) * gapPx, rows * keyPx + (rows - 1) * gapPx};
}

void NumberPad::arrange(int keyPx, int gapPx, const QFont &font)
{
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        const int column = static_cast<int>(i) % columns, row = static_cast<int>(i) / columns;
        keys_[i]->setGeometry(column * (keyPx + gapPx), row * (keyPx + gapPx), keyPx, keyPx);
        QFont f = font;
        if (padKeys[i].key == Qt::Key_Return)
            f.setPixelSize(font.pixelSize() * 2 / 3); // five letters in one key's width
        keys_[i]->setFont(f);
    }
    resize(sizeFor(keyPx, gapPx));
}

QPushButton *NumberPad::key(const QString &name) const
{
    return findChild<QPushButton *>(name, Qt::FindDirectChildrenOnly);
}

} // namespace quizzolo
