#!/usr/bin/env bash
# Regenerates the spoken clips of Quizzolo (resources/clips/) and the
# fallback beep (resources/sounds/default_beep.wav) with espeak-ng and sox.
#
# Usage: tools/clips/make_clips.sh [OUTDIR]
#   OUTDIR defaults to resources/clips/ in the repository.
#
# Voice: espeak-ng's Italian with Klatt synthesis and a female pitch, i.e.
# a small variant file written below (klatt 4, gender female, pitch 142 200,
# formant 0 120 80 150) and loaded with --path from a temporary copy of
# espeak-ng's data folder, so nothing is installed system-wide.
#   Why Klatt: an offline speech recogniser run over the number clips heard
#   9-11 of 22 right with the Klatt voices (9 with this female one) against
#   about 1 with the old "f4" voice and 3-6 with the other variants. The
#   female pitch costs next to nothing and sounds like a teacher. The
#   Klatt voices also have no echo, so nothing trails after the last word.
# Paces (words a minute) are per role in the clip catalogue:
#   185      numbers: "quattro per" + "quattro", the longest question, must
#            be spoken within 1.3 s of the click (1.26 s at 185 wpm, 1.32 s
#            at espeak's default 175).
#   170      sentences: a little slower, they are heard less often and carry
#            the instructions; "Benissimo!" still ends well within 1.0 s.
# The output depends on the espeak-ng version (Debian 12: 1.51).
#
# Clips that are followed by another clip ("venti" + "sei", "tre per" + "sei")
# end in a comma, which makes espeak use the rising continuation tune instead
# of the falling end-of-sentence one, so the joined numbers sound natural.
#
# One sox chain per clip: peak-normalise to -3 dBFS, trim everything below
# -45 dBFS at both ends (espeak pads with about 12 ms of digital silence in
# front and 300 ms behind; the Klatt voice falls silent at once after the
# last sound, so this leaves no tail), fade 5 ms in and 10 ms out against
# clicks, normalise again, write 16-bit mono PCM WAV at 22050 Hz.
# Output is byte-identical from run to run.

set -euo pipefail

VARIANT=quizzolo

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
# Names, words, roles, the pace of each role and the rate: the one clip list.
CATALOGUE="$ROOT/resources/clips/catalogue.tsv"
SRATE="$(awk -F'\t' '$1 == "rate" { print $2 }' "$CATALOGUE")"
declare -A PACE
while IFS=$'\t' read -r kind role _ _ wpm; do
    [ "$kind" = role ] && PACE[$role]=$wpm
done <"$CATALOGUE"
OUT="${1:-$ROOT/resources/clips}"
SOUNDS="$ROOT/resources/sounds"
mkdir -p "$OUT" "$SOUNDS"

# -R: fixed seed for dither and the pluck noise, so every run writes the same bytes
sox() { command sox -R "$@"; }

TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT

# espeak-ng prints "... Data at: /usr/lib/x86_64-linux-gnu/espeak-ng-data"
DATA="$(espeak-ng --version | sed -n 's/.*Data at: *//p')"
if [ ! -d "$DATA/voices/!v" ]; then
    echo "error: espeak-ng's data folder not found (got '$DATA')" >&2
    exit 1
fi
mkdir -p "$TMP/espeak"
cp -R "$DATA" "$TMP/espeak/espeak-ng-data"
cat >"$TMP/espeak/espeak-ng-data/voices/!v/$VARIANT" <<'VOICE'
name quizzolo
language variant
klatt 4
gender female
pitch 142 200
formant 0 120 80 150
VOICE
# an unknown variant silently falls back to the plain voice: make sure it loaded
if ! espeak-ng --path="$TMP/espeak" --voices=variant | grep -q "!v/$VARIANT"; then
    echo "error: espeak-ng did not load the voice variant from $TMP/espeak" >&2
    exit 1
fi

count=0

# say RATE NAME TEXT: speak TEXT at RATE words a minute into $OUT/NAME.wav
say() {
    local rate="$1" name="$2" text="$3"
    espeak-ng --path="$TMP/espeak" -v "it+$VARIANT" -s "$rate" -w "$TMP/raw.wav" -- "$text"
    sox "$TMP/raw.wav" -r "$SRATE" -c 1 -b 16 -e signed-integer "$OUT/$name.wav" \
        gain -n -3 silence 1 0.005 -45d reverse silence 1 0.005 -45d fade q 0.01 reverse \
        fade q 0.005 gain -n -3
    count=$((count + 1))
    echo "  $name.wav  \"$text\""
}

echo "Writing clips to $OUT"
ANTHEM=""
while IFS=$'\t' read -r kind name _ role tone words _; do
    [ "$kind" = clip ] || continue
    if [ "$role" = anthem ]; then
        ANTHEM="$name"
        continue
    fi
    # a comma gives the rising tune of a number that goes on ("sette per," + "otto")
    [ "$tone" = segue ] && words="$words,"
    say "${PACE[$role]}" "$name" "$words"
done <"$CATALOGUE"

# --- the anthem: the "Ode to Joy" theme (Beethoven), D major --------------
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
sox "$TMP/mix.wav" -r "$SRATE" -c 1 -b 16 -e signed-integer "$OUT/$ANTHEM.wav" \
    pad 0 0.8 reverb 25 50 60 fade q 0.02 reverse fade q 0.8 reverse gain -n -3
count=$((count + 1))
echo "  $ANTHEM.wav  (Ode to Joy, $BPM bpm)"

# --- default_beep.wav: soft rising two-tone, played when a clip is missing --
sox -n -r "$SRATE" -c 1 -b 16 "$TMP/b1.wav" synth 0.125 sine 660 fade h 0.01 -0 0.04
sox -n -r "$SRATE" -c 1 -b 16 "$TMP/b2.wav" synth 0.125 sine 880 fade h 0.01 -0 0.05
sox "$TMP/b1.wav" "$TMP/b2.wav" -e signed-integer "$SOUNDS/default_beep.wav" gain -n -9
echo "Writing $SOUNDS/default_beep.wav"

echo "Done: $count clips in $OUT"
