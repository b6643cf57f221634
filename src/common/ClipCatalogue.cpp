#include "common/ClipCatalogue.h"

#include <QFile>
#include <QMap>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace quizzolo {

namespace {

struct Catalogue {
    int rate = 0;
    QMap<QString, RoleLimits> limits;
    std::vector<ClipEntry> clips;
};

const QMap<QString, ClipRole> roles = {{QStringLiteral("number"), ClipRole::Number},
                                       {QStringLiteral("prompt"), ClipRole::Prompt},
                                       {QStringLiteral("praise"), ClipRole::Praise},
                                       {QStringLiteral("anthem"), ClipRole::Anthem}};

[[noreturn]] void broken(const QString &why)
{
    // The list is built into the program: a broken one is a build fault, not a user's.
    std::fprintf(stderr, "quizzolo: elenco delle voci non valido: %s\n", why.toLocal8Bit().constData());
    std::abort();
}

Catalogue read()
{
    QFile file(QStringLiteral(":/clips/catalogue.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        broken(QStringLiteral("manca"));
    Catalogue c;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f[0] == QLatin1String("rate") && f.size() == 2)
            c.rate = f[1].toInt();
        else if (f[0] == QLatin1String("role") && f.size() == 5 && roles.contains(f[1]))
            c.limits.insert(f[1], {f[2].toDouble(), f[3].toDouble()});
        else if (f[0] == QLatin1String("clip") && f.size() == 7 && roles.contains(f[3]))
            c.clips.push_back({f[1], f[2], f[5], roles.value(f[3]), f[4] == QLatin1String("segue"),
                               f[6] == QLatin1String("-") ? QStringList() : f[6].split(QLatin1Char(' '))});
        else
            broken(line);
    }
    if (c.rate <= 0 || c.limits.size() != roles.size() || c.clips.empty())
        broken(QStringLiteral("incompleto"));
    return c;
}

const Catalogue &catalogue()
{
    static const Catalogue c = read();
    return c;
}

} // namespace

const std::vector<ClipEntry> &clipCatalogue()
{
    return catalogue().clips;
}

const ClipEntry *findClip(const QString &name)
{
    for (const ClipEntry &e : clipCatalogue()) {
        if (e.name == name)
            return &e;
    }
    return nullptr;
}

QString fileNameOf(const QString &clipName)
{
    return clipName + QStringLiteral(".wav");
}

RoleLimits limitsOf(ClipRole role)
{
    return catalogue().limits.value(roles.key(role));
}

double longestClipSeconds()
{
    double longest = 0;
    for (const RoleLimits &l : catalogue().limits)
        longest = std::max(longest, l.maxSeconds);
    return longest;
}

int clipRate()
{
    return catalogue().rate;
}

// Numbers are named by their plain digits, without sign.
QString firstFactorClip(int factor)
{
    return QStringLiteral("voxa") + QString::number(std::abs(factor));
}

QString secondFactorClip(int factor)
{
    return QStringLiteral("va") + QString::number(std::abs(factor));
}

QStringList productClips(int product)
{
    // From 20 on a product is always said as tens and units; below, as one word.
    if (product < 20)
        return {secondFactorClip(product)};
    const int tens = product / 10 * 10;
    const int units = product - tens;
    if (units == 0)
        return {firstFactorClip(tens)};
    return {firstFactorClip(tens), secondFactorClip(units)};
}

} // namespace quizzolo
