#include "common/TerminalText.h"

#include <QList>

namespace quizzolo {

namespace {

bool reversesText(char32_t c)
{
    return (c >= 0x202a && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069) || c == 0x200e || c == 0x200f;
}

} // namespace

QByteArray terminalText(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (c == '\\')
            shown += QStringLiteral("\\\\");
        else if (c == '\n')
            shown += QStringLiteral("\\n");
        else if (c == '\t')
            shown += QStringLiteral("\\t");
        else if (c == 0x1b)
            shown += QStringLiteral("\\e");
        else if (c < 0x20 || c == 0x7f)
            shown += QStringLiteral("\\x%1").arg(static_cast<uint>(c), 2, 16, QLatin1Char('0'));
        else if ((c >= 0x80 && c < 0xa0) || reversesText(c))
            shown += QStringLiteral("\\u%1").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0'));
        else
            shown += QString::fromUcs4(&c, 1);
    }
    return shown.toLocal8Bit();
}

} // namespace quizzolo
