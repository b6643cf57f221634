#include "engine/ClipNames.h"

#include <QDir>
#include <cstdlib>

namespace quizzolo {

ClipNames::ClipNames(QString folder) : folder_(std::move(folder)) {}

QString numberText(int number)
{
    return QString::number(std::abs(number));
}

QString ClipNames::file(const QString &name) const
{
    return folder_ + QDir::separator() + name;
}

QString ClipNames::voxa(int number) const
{
    return file(QStringLiteral("voxa") + numberText(number) + QStringLiteral(".wav"));
}
QString ClipNames::va(int number) const
{
    return file(QStringLiteral("va") + numberText(number) + QStringLiteral(".wav"));
}
QString ClipNames::dig() const
{
    return file(QStringLiteral("voxa_dig.wav"));
}
QString ClipNames::esatto() const
{
    return file(QStringLiteral("voxa_esatto.wav"));
}
QString ClipNames::ripeti() const
{
    return file(QStringLiteral("voxa_ripeti.wav"));
}
QString ClipNames::anthem() const
{
    return file(QStringLiteral("anthem1.wav"));
}

} // namespace quizzolo
