#!/usr/bin/env bash
# Regenerates the spoken clips of Quizzolo (resources/clips/) and the
# fallback beep (resources/sounds/default_beep.wav) with espeak-ng and sox.
#
# Usage: tools/clips/make_clips.sh [OUTDIR]
#   OUTDIR defaults to resources/clips/ in the repository.
#
# Voice settings, chosen for a 7-year-old listener:
#   -v it+f4   Italian rules with the "female4" variant. The other female
#              variants add breath noise (f2, f3, f5) or roughness (f1, f2,
#              f3), which blurs consonants; f4 only adds a light echo.
#              A female voice in this range sounds like a teacher.
#   -s 140     words per minute, a fifth slower than espeak's default 175:
#              easy to follow for a child still sounding out numbers, while
#              words stay whole ("cinquanta" still sounds like one word).
#   -p 60      pitch; gives a median F0 of about 195 Hz: warm, not squeaky
#              (it+f3 or -p 70 push it above 220 Hz).
# The espeak-ng mbrola voices would sound nicer but need non-free data that
# a plain Debian install lacks, so the script sticks to the built-in voice.
#
# Clips that are followed by another clip ("venti" + "sei", "tre per" + "sei")
# end in a comma, which makes espeak use the rising continuation tune instead
# of the falling end-of-sentence one, so the joined numbers sound natural.
#
# Post-processing with sox: leading/trailing silence trimmed (threshold 0.5%,
# about -46 dBFS). espeak pads with digital silence, so the start loses at
# most 3 ms; at the end only the faint echo f4 adds after the last syllable
# (about 25 dB below the speech) goes, which keeps "cinquanta" + "sei" tight.
# Then a 5/10 ms fade against clicks, peak normalised to -3 dBFS, written as
# 16-bit mono PCM WAV at 22050 Hz. Output is byte-identical from run to run.

set -euo pipefail

VOICE="it+f4"
RATE=140
PITCH=60
SRATE=22050

need() {
    if ! command -v "$1" >/dev/null 2>&1; then
        echo "error: '$1' not found; install it with: sudo apt-get install $2" >&2
        exit 1
    fi
}
need espeak-ng espeak-ng
need sox sox
if ! espeak-ng --voices=it 2>/dev/null | grep -q 'roa/it'; then
    echo "error: espeak-ng has no Italian voice; install it with: sudo apt-get install espeak-ng-data" >&2
    exit 1
fi

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
OUT="${1:-$ROOT/resources/clips}"
SOUNDS="$ROOT/resources/sounds"
mkdir -p "$OUT" "$SOUNDS"

# -R: fixed seed for dither and the pluck noise, so every run writes the same bytes
sox() { command sox -R "$@"; }

TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT

count=0

# say NAME TEXT: speak TEXT into $OUT/NAME.wav
say() {
    local name="$1" text="$2"
    espeak-ng -v "$VOICE" -s "$RATE" -p "$PITCH" -w "$TMP/raw.wav" -- "$text"
    sox "$TMP/raw.wav" -r "$SRATE" -c 1 -b 16 -e signed-integer "$OUT/$name.wav" \
        silence 1 0.05 0.5% reverse silence 1 0.05 0.5% fade q 0.01 reverse \
        fade q 0.005 gain -n -3
    count=$((count + 1))
    echo "  $name.wav  \"$text\""
}

units=(uno due tre quattro cinque sei sette otto nove)
tens=(venti trenta quaranta cinquanta sessanta settanta ottanta)

echo "Writing clips to $OUT"
for i in 1 2 3 4 5 6 7 8 9; do
    say "voxa$i" "${units[i-1]} per,"
    say "va$i" "${units[i-1]}"
done
for i in 0 1 2 3 4 5 6; do
    say "voxa$(( (i + 2) * 10 ))" "${tens[i]},"
done
say va10 "dieci"
say va12 "dodici"
say va14 "quattordici"
say va15 "quindici"
say va16 "sedici"
say va18 "diciotto"
say voxa_dig "Scrivi il risultato e premi il tasto invio."
# "Bravo" would be wrong for a girl; praise that fits everyone.
say voxa_esatto "Esatto! Benissimo!"
say voxa_ripeti "No, riprova!"

# --- anthem1.wav: the "Ode to Joy" theme (Beethoven), D major --------------
# Beethoven marks the theme Allegro assai, half note = 80, i.e. 160 quarter
# notes a minute; at that pace the 8 bars last 12 s, short enough for a reward.
BPM=160
beat=$(awk -v b="$BPM" 'BEGIN { printf "%.6f", 60 / b }')

# note NAME -> frequency in Hz (equal temperament, A4 = 440)
freq() {
    case "$1" in
        A2) echo 110.00 ;; D3) echo 146.83 ;;
        D4) echo 293.66 ;; E4) echo 329.63 ;; Fs4) echo 369.99 ;;
        G4) echo 392.00 ;; A4) echo 440.00 ;;
        *) echo "unknown note $1" >&2; exit 1 ;;
    esac
}

# render TRACK KIND "NOTE:BEATS ..." -> $TMP/TRACK.wav
render() {
    local track="$1" kind="$2" notes="$3" n=0 list=() tok name beats dur f f2 file
    for tok in $notes; do
        name="${tok%%:*}"; beats="${tok#*:}"
        dur=$(awk -v b="$beats" -v q="$beat" 'BEGIN { printf "%.6f", b * q }')
        f=$(freq "$name")
        n=$((n + 1))
        file="$TMP/$track-$(printf %03d "$n").wav"
        if [ "$kind" = melody ]; then
            # plucked string for the attack (low-passed: its 3rd harmonic is
            # harsh), a decaying sine pair (fundamental and a soft octave) to
            # carry the note: a soft music-box colour
            f2=$(awk -v f="$f" 'BEGIN { print f * 2 }')
            sox -n -r "$SRATE" -c 1 -b 16 "$TMP/p.wav" synth "$dur" pluck "$f" lowpass 900 vol 0.7
            sox -n -r "$SRATE" -c 1 -b 16 "$TMP/s1.wav" synth "$dur" sine "$f" fade l 0.005 -0 "$dur" vol 0.4
            sox -n -r "$SRATE" -c 1 -b 16 "$TMP/s2.wav" synth "$dur" sine "$f2" fade l 0.005 -0 "$dur" vol 0.08
            sox -m -v 1 "$TMP/p.wav" -v 1 "$TMP/s1.wav" -v 1 "$TMP/s2.wav" "$file" fade q 0.003 -0 0.03
        else
            # soft sustained bass kept well behind the tune; its octave keeps
            # it audible on small laptop speakers
            sox -n -r "$SRATE" -c 1 -b 16 "$file" synth "$dur" sine "$f" sine "$(awk -v f="$f" 'BEGIN { print f * 2 }')" \
                fade h 0.05 -0 0.15 vol 0.14
        fi
        list+=("$file")
    done
    sox "${list[@]}" "$TMP/$track.wav"
}

# 15-note phrase and its answer; the "x:1.5 y:0.5 z:2" ends are the dotted rhythm.
melody="Fs4:1 Fs4:1 G4:1 A4:1  A4:1 G4:1 Fs4:1 E4:1  D4:1 D4:1 E4:1 Fs4:1  Fs4:1.5 E4:0.5 E4:2
        Fs4:1 Fs4:1 G4:1 A4:1  A4:1 G4:1 Fs4:1 E4:1  D4:1 D4:1 E4:1 Fs4:1  E4:1.5 D4:0.5 D4:2"
# tonic / dominant under each half bar
bass="D3:2 D3:2  A2:2 A2:2  D3:2 D3:2  A2:2 A2:2
      D3:2 D3:2  A2:2 A2:2  D3:2 D3:2  A2:2 D3:2"

render melody melody "$melody"
render bass bass "$bass"
sox -m "$TMP/melody.wav" "$TMP/bass.wav" "$TMP/mix.wav"
sox "$TMP/mix.wav" -r "$SRATE" -c 1 -b 16 -e signed-integer "$OUT/anthem1.wav" \
    pad 0 0.8 reverb 25 50 60 fade q 0.02 reverse fade q 0.8 reverse gain -n -3
count=$((count + 1))
echo "  anthem1.wav  (Ode to Joy, $BPM bpm)"

# --- default_beep.wav: soft rising two-tone, played when a clip is missing --
sox -n -r "$SRATE" -c 1 -b 16 "$TMP/b1.wav" synth 0.125 sine 660 fade h 0.01 -0 0.04
sox -n -r "$SRATE" -c 1 -b 16 "$TMP/b2.wav" synth 0.125 sine 880 fade h 0.01 -0 0.05
sox "$TMP/b1.wav" "$TMP/b2.wav" -e signed-integer "$SOUNDS/default_beep.wav" gain -n -9
echo "Writing $SOUNDS/default_beep.wav"

echo "Done: $count clips in $OUT"
