#include "recorder/takes/WordSpan.h"

#include <algorithm>
#include <vector>

namespace quizzolo::recorder {

namespace {

constexpr std::size_t leastVoicedWindows = 10; // fewer: the detector heard no voice at all (a tone)
constexpr std::size_t closeWindows = 3;        // the speaker's voice in a burst, 30 ms at least
constexpr double quietRoomDb = -55.0;          // a room this quiet is silence to the listener
constexpr double roomShare = 0.3;              // the room is heard in a third of a take at least
constexpr double noisyCapDb = 10.0;
constexpr double noisyWordsDb = 8.0;
constexpr std::size_t apartWindows = 20; // 0.2 s of room between a sound and the words
// A burst this near the words, even a short one, belongs to them when nearly as loud: in
// a noisy room the unstressed end of "otto" or the "cin" of "cinquanta" sinks under the
// room and splits off, softer than the words' own loudness test asks.
constexpr std::size_t nearWordsWindows = 20;
constexpr double nearWordsDb = 12.0;
// A sentence apart, as in "Peccato! Alla prossima!", lasts this long; a slam or a scrape
// heard apart from the words is shorter.
constexpr std::size_t sentenceWindows = 45;
// Children talking nearly as loud as the speaker, as in a loud class: her loudest stands
// this little over the room's typical level.
constexpr double nearVoiceDb = 16.0;
constexpr std::size_t heldWindows = 5;  // 50 ms: a syllable's level, not a single glottal pulse
constexpr double coreOverRoomDb = 6.0;  // the louder syllables stand this far over the room...
constexpr double coreUnderLoudDb = 4.0; // ...and this near her loudest, as no child's do
constexpr double stillOverRoomDb = 4.0; // a soft syllable still stands this far over the room
constexpr std::size_t dipWindows = 6;   // a stop consonant's silence, filled by the room
// Children's voices rise and fall: the room's typical level stands this far over its
// quietest moments; a hiss or a hum stays flat.
constexpr double steadyShare = 0.05, voicesRiseDb = 2.0;

// The level held over a syllable's length around each window.
std::vector<double> syllableLevels(const LevelTrack &track)
{
    const std::size_t n = track.size(), half = heldWindows / 2;
    std::vector<double> held(n);
    for (std::size_t w = 0; w < n; ++w)
        held[w] = track.powerMeanDb(w >= half ? w - half : 0, std::min(n, w + half + 1));
    return held;
}

// Her words, among children nearly as loud: from the first to the last of her louder
// syllables, reaching out over softer ones that still stand over the room. False for a
// steady noise, which no syllable rises out of: that is judged as noise, not as children.
bool findNearVoice(const LevelTrack &track, WordSpan &span)
{
    const std::vector<double> held = syllableLevels(track);
    const double room = LevelTrack::percentileOf(held, roomShare),
                 loudest = *std::max_element(held.begin(), held.end());
    if (room - LevelTrack::percentileOf(held, steadyShare) < voicesRiseDb)
        return false;
    const double core = std::max(room + coreOverRoomDb, loudest - coreUnderLoudDb);
    const double still = room + stillOverRoomDb;
    std::size_t from = held.size(), to = 0;
    for (std::size_t w = 0; w < held.size(); ++w) {
        if (held[w] >= core) {
            from = std::min(from, w);
            to = w + 1;
        }
    }
    if (to == 0)
        return true;
    std::size_t dip = 0;
    for (std::size_t w = from; w-- > 0 && dip <= dipWindows;) {
        dip = held[w] >= still ? 0 : dip + 1;
        from = dip == 0 ? w : from;
    }
    dip = 0;
    for (std::size_t w = to; w < held.size() && dip <= dipWindows; ++w) {
        dip = held[w] >= still ? 0 : dip + 1;
        to = dip == 0 ? w + 1 : to;
    }
    span.from = from;
    span.to = to;
    span.noisy = span.nearVoices = true;
    return true;
}

struct Judge {
    const LevelTrack &track;
    bool usesVoice;
    bool voice(std::size_t w) const { return !usesVoice || track.voiced(w); }
    // The voice's level held for 30 ms: the first instant of a slam or a click does not count.
    double heldDb(std::size_t w) const
    {
        const std::size_t last = track.size() - 1;
        return std::min({track.levelDb(w), track.levelDb(w > 0 ? w - 1 : w), track.levelDb(std::min(w + 1, last))});
    }
    double loudestIn(std::size_t from, std::size_t to) const
    {
        double loudest = -1000;
        for (std::size_t w = from; w < to; ++w)
            if (voice(w))
                loudest = std::max(loudest, heldDb(w));
        return loudest;
    }
    std::size_t closeIn(const Burst &b, double closeFromDb) const
    {
        std::size_t n = 0;
        for (std::size_t w = b.from; w < b.to; ++w)
            n += voice(w) && track.levelDb(w) > closeFromDb;
        return n;
    }
};

} // namespace

WordSpan findWords(const LevelTrack &track, bool music)
{
    WordSpan span;
    if (track.size() == 0)
        return span;
    const Judge judge{track, !music && track.voicedCount() >= leastVoicedWindows};
    const double floor = music ? -1000 : track.floorDb(); // music's quiet passages are no room noise
    // The loudest voice, once more without the clicks that the first look counted.
    double loudest = judge.loudestIn(0, track.size());
    if (loudest <= -1000)
        return span;
    const std::vector<Burst> first = withoutClicks(soundBursts(track, LevelTrack::soundThresholdDb(loudest, floor)));
    if (first.empty())
        return span;
    loudest = -1000;
    for (const Burst &b : first)
        loudest = std::max(loudest, judge.loudestIn(b.from, b.to));
    if (loudest <= -1000)
        return span;
    span.loudestDb = loudest;

    // In a noisy room the words are what stands out of the room's typical level; the
    // cap keeps a take that is nearly all words from judging its own soft parts as room.
    span.roomDb = track.percentileDb(roomShare);
    const bool noisy = span.roomDb > quietRoomDb;
    const double close = noisy ? std::min(span.roomDb + overRoomDb, loudest - noisyCapDb) : loudest - closeDb;
    std::size_t room = 0, roomVoiced = 0;
    for (std::size_t w = 0; w < track.size(); ++w) {
        if (track.levelDb(w) <= close) {
            ++room;
            roomVoiced += track.voiced(w);
        }
    }
    span.roomVoiced = room == 0 ? 0.0 : static_cast<double>(roomVoiced) / static_cast<double>(room);
    if (!music && noisy && span.roomVoiced >= voicesInRoom && loudest - span.roomDb < nearVoiceDb &&
        findNearVoice(track, span))
        return span;
    // Children further off reach the speaker's level less often than her own words do.
    const double wordsApartDb = noisy ? noisyWordsDb : closeDb;
    const double threshold = std::max(LevelTrack::soundThresholdDb(loudest, floor), noisy ? close : -1000.0);
    const std::vector<Burst> bursts = soundBursts(track, threshold);
    // Each burst judged once: a word, or nearly as loud as one (it joins a word close by).
    std::vector<bool> isWord(bursts.size()), nearlyWord(bursts.size());
    for (std::size_t i = 0; i < bursts.size(); ++i) {
        const bool held = judge.closeIn(bursts[i], close) >= closeWindows;
        const double burstLoudest = judge.loudestIn(bursts[i].from, bursts[i].to);
        isWord[i] = !isClick(bursts[i]) && held && burstLoudest >= loudest - wordsApartDb;
        nearlyWord[i] = held && burstLoudest >= loudest - nearWordsDb;
    }
    const auto nearWord = [&](std::size_t i) {
        const Burst &b = bursts[i];
        return nearlyWord[i] &&
               ((i > 0 && isWord[i - 1] && b.from - bursts[i - 1].to <= nearWordsWindows) ||
                (i + 1 < bursts.size() && isWord[i + 1] && bursts[i + 1].from - b.to <= nearWordsWindows));
    };
    std::vector<Burst> words;
    for (std::size_t i = 0; i < bursts.size(); ++i)
        if (isWord[i] || nearWord(i))
            words.push_back(bursts[i]);
    if (words.empty())
        return span;
    span.from = words.front().from;
    span.to = words.back().to;
    span.noisy = noisy;
    // A sound at either end, standing apart from the rest of the words and as loud, may
    // be a scrape or a slam as well as a word: the detector hears both as voice.
    const auto apart = [&](const Burst &b, std::size_t gap) {
        return gap >= apartWindows && b.to - b.from < sentenceWindows;
    };
    if (words.size() > 1 && apart(words.front(), words[1].from - words.front().to))
        span.apartAt = words.front().from;
    else if (words.size() > 1 && apart(words.back(), words.back().from - words[words.size() - 2].to))
        span.apartAt = words.back().from;
    return span;
}

} // namespace quizzolo::recorder
