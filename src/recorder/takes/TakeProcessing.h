#pragma once

#include "common/ClipCatalogue.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace quizzolo::recorder {

// Where a take comes from, for advice that fits: a recording, one the time limit
// stopped, or a file.
enum class TakeSource { Recorded, RecordedUntilTimeLimit, Imported };

struct Audio {
    std::vector<float> samples; // interleaved, full scale at +-1
    int rate = 0;
    int channels = 0;
    double seconds() const;
};

struct ProcessedTake {
    std::vector<std::int16_t> samples; // mono at clipRate(); empty when refused
    QString refusal;                   // why it was refused, for the user
    QStringList warnings;              // kept, but worth a look
    double seconds = 0;
    double from = 0, to = 0;      // the part kept, in seconds of the input
    double speechOverNoiseDb = 0; // how far the voice stands above the room's noise
    bool soundApart = false;      // a noise apart from the words was kept: worth hearing
    bool ok() const { return refusal.isEmpty(); }
    QString warningText() const; // " Attenzione: ..." for each warning, or empty
};

// Seconds as the user reads them: "0,7".
QString secondsText(double seconds);

// Mixes to mono, converts to clipRate(), trims to the words (findWords) at both ends,
// levels to the loudness of the program's clips, fades in and out; refuses a take that
// is silent, too quiet, clipped, drowned in noise, cut off or too long for the clip's
// role, in words that fit the source.
ProcessedTake processTake(const Audio &in, ClipRole role, TakeSource source = TakeSource::Recorded);

double decibels(double amplitude);

} // namespace quizzolo::recorder
