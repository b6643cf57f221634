#include "common/TerminalText.h"

namespace quizzolo {

QByteArray terminalText(const QString &text)
{
    QString safe;
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            safe += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            safe += c;
    }
    return safe.toLocal8Bit();
}

} // namespace quizzolo
