// Sounds and files the recorder's tests make.
#pragma once

#include "recorder/files/AudioFile.h"
#include "recorder/files/ClipStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <unistd.h>

namespace quizzolo::recorder {

// 0.1 s of a 190 Hz tone reaching the given peak, or of silence.
inline std::vector<float> tenth(double peak)
{
    std::vector<float> s(static_cast<std::size_t>(clipRate() / 10));
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<float>(peak * std::sin(2 * M_PI * 190 * static_cast<double>(i) / clipRate()));
    return s;
}

// Sound as `plan` says: "s0.5,v0.7,c0.3,k0.02" is 0.5 s of silence, 0.7 s of voice (a buzz with
// harmonics swelling like syllables of 0.3 s, up to `peak`), 0.3 s of children further off (18 dB
// softer), a key's click of 20 ms. "m": a murmur far off (26 dB softer); "C": two children nearby,
// higher and nearly as loud; "p": a loud plosive's flat peak. Under it all a steady hiss noiseDb
// below the voice (0: none), clipped as a converter clips.
inline std::vector<float> spoken(const QString &plan, double noiseDb = 0, double peak = 0.5, int rate = clipRate())
{
    const double voiceRms = peak * 0.2885; // of the buzz and the swell below, over whole syllables
    const double hiss = noiseDb > 0 ? voiceRms * std::pow(10.0, -noiseDb / 20) * std::sqrt(3.0) : 0;
    std::minstd_rand random(7);
    std::vector<float> out;
    for (const QString &part : plan.split(QLatin1Char(','))) {
        const double seconds = part.mid(1).toDouble();
        for (int i = 0; i < static_cast<int>(seconds * rate); ++i) {
            const double t = static_cast<double>(i) / rate;
            double v = hiss * (2.0 * random() / std::minstd_rand::max() - 1);
            const QChar kind = part.front();
            const auto buzz = [t](double f0, double syllable) {
                return (0.05 + 0.95 * std::pow(std::sin(M_PI * t / syllable), 2)) *
                       (std::sin(2 * M_PI * f0 * t) + 0.5 * std::sin(4 * M_PI * f0 * t) +
                        0.25 * std::sin(2 * M_PI * 5 * f0 * t)) /
                       1.75;
            };
            if (kind == QLatin1Char('v') || kind == QLatin1Char('c') || kind == QLatin1Char('m'))
                v += (kind == QLatin1Char('c')   ? peak / 8
                      : kind == QLatin1Char('m') ? peak / 20
                                                 : peak) *
                     buzz(180, 0.3);
            else if (kind == QLatin1Char('C'))
                v += peak / 3 * (buzz(290, 0.22) + buzz(340, 0.17));
            else if (part.front() == QLatin1Char('p')) // a flat peak, as a loud plosive gives
                v = 1;
            else if (part.front() == QLatin1Char('k'))
                v += 0.6 * std::sin(2 * M_PI * 2500 * t) * (1 - t / seconds);
            out.push_back(static_cast<float>(std::clamp(v, -1.0, 1.0)));
        }
    }
    return out;
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return QDir().mkpath(QFileInfo(path).path()) && f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What `work` writes to stderr.
inline QByteArray stderrOf(const std::function<void()> &work)
{
    QTemporaryFile capture;
    if (!capture.open())
        return {};
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(capture.handle(), STDERR_FILENO);
    work();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    capture.seek(0);
    return capture.readAll();
}

// A spoken word as a clip file: 0.2 s quiet, 0.5 s of voice, 0.3 s quiet.
inline QByteArray word()
{
    std::vector<std::int16_t> s;
    for (float v : spoken(QStringLiteral("s0.2,v0.5,s0.3")))
        s.push_back(static_cast<std::int16_t>(std::lround(v * 32767)));
    return encodeClip(s);
}

inline QStringList ownClips(const ClipStore &store)
{
    QStringList own;
    for (const ClipEntry &c : clipCatalogue())
        if (store.source(c.name) == VoiceFolders::Source::User)
            own << c.name;
    return own;
}

} // namespace quizzolo::recorder
