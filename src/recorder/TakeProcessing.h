#pragma once

#include "common/ClipCatalogue.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace quizzolo::recorder {

// Quiet around speech, for ending a take and for trimming it alike: this far below the
// loudest moment, or below the floor. Room or phone hiss that ends a take is also trimmed.
constexpr double quietBelowLoudestDb = -30.0;
constexpr double quietFloorDb = -45.0;

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
    bool ok() const { return refusal.isEmpty(); }
    QString warningText() const; // " Attenzione: ..." for each warning, or empty
};

// Seconds as the user reads them: "0,7".
QString secondsText(double seconds);

// Mixes to mono, converts to clipRate(), trims the silence at both ends, levels to the
// loudness of the program's clips, fades in and out; refuses a take that is silent,
// too quiet, clipped or too long for the clip's role.
ProcessedTake processTake(const Audio &in, ClipRole role);

double decibels(double amplitude);

} // namespace quizzolo::recorder
