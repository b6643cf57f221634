#include "engine/ClipNames.h"

#include "common/ClipCatalogue.h"

#include <QDir>
#include <cstdlib>

namespace quizzolo {

ClipNames::ClipNames(QString folder) : folder_(std::move(folder)) {}

QString numberText(int number)
{
    return QString::number(std::abs(number));
}

QString ClipNames::path(const QString &clipName) const
{
    return folder_ + QDir::separator() + fileNameOf(clipName);
}

QString ClipNames::voxa(int number) const
{
    return path(firstFactorClip(number));
}
QString ClipNames::va(int number) const
{
    return path(secondFactorClip(number));
}
QString ClipNames::dig() const
{
    return path(QStringLiteral("voxa_dig"));
}
QString ClipNames::esatto() const
{
    return path(QStringLiteral("voxa_esatto"));
}
QString ClipNames::ripeti() const
{
    return path(QStringLiteral("voxa_ripeti"));
}
QString ClipNames::anthem() const
{
    return path(QStringLiteral("anthem1"));
}

} // namespace quizzolo
