#pragma once

#include "recorder/takes/LevelTrack.h"

#include <cstddef>

namespace quizzolo::recorder {

// Where the words of a take lie, told apart from the room around them. A voice close to
// the microphone is louder than anything else that talks: the words are the bursts that
// hold voice within closeDb of the take's loudest voice; chatter, a scrape or a slam
// before or after them is left out.
struct WordSpan {
    std::size_t from = 0, to = 0; // windows [from, to), from the first word to the last
    double loudestDb = -1000;     // the loudest voice
    double roomDb = -140;         // the room's typical level
    double roomVoiced = 0;        // the share of the room's windows that hold voice (chatter)
    std::size_t apartAt = 0;      // a sound kept inside that stands apart from the words; 0 for none
    bool noisy = false;           // the room is heard: a word's soft start lies under it
    bool nearVoices = false;      // children nearly as loud: a word's soft end sinks under them too
    bool empty() const { return to <= from; }
};

// Music has no voice to look for: all its sound counts, judged by loudness alone.
WordSpan findWords(const LevelTrack &track, bool music);

// Closeness: how far under the loudest voice a sound still counts as the speaker's in a
// quiet room; in a noisy one, how far over the room.
constexpr double closeDb = 14.0;
// Sound over the room's typical level by this much stands out of it.
constexpr double overRoomDb = 8.0;
// A room whose sound is mostly voice is children, not a fan.
constexpr double voicesInRoom = 0.5;

} // namespace quizzolo::recorder
