// Sounds and files the recorder's tests make.
#pragma once

#include "recorder/AudioFile.h"
#include "recorder/ClipStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cmath>
#include <functional>
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
    std::vector<std::int16_t> s(static_cast<std::size_t>(clipRate()), 0);
    const std::vector<float> voice = tenth(0.5);
    for (std::size_t i = 0; i < voice.size() * 5; ++i)
        s[clipRate() / 5 + i] = static_cast<std::int16_t>(voice[i % voice.size()] * 32767);
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
