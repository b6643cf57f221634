#!/usr/bin/env bash
# Checks a folder of Quizzolo voice clips, e.g. one a teacher filled with
# their own recordings.
#
# Usage: tools/clips/check_clips.sh FOLDER
#
# Errors (exit status 1): a clip is missing, unreadable, not a WAV file, not
# 8/16-bit integer PCM with 1 or 2 channels, empty, or sox cannot decode it.
# Warnings (exit status stays 0):
#   - silent:      peak below -60 dBFS
#   - very quiet:  peak below -20 dBFS, or RMS over the whole clip below
#                  -40 dBFS; well recorded speech peaks around -3..-12 dBFS
#                  with an RMS around -15..-30 dBFS (lower with long pauses)
#   - very long:   over its role's limit in resources/clips/catalogue.tsv;
#                  the program waits for each clip, so long ones slow the game
#   - cut by the anthem: the praise (voxa_esatto) over its warning length; at
#                  the 20th right answer the anthem starts one second after it
#   - sox reported a problem while decoding (e.g. a truncated file)

set -euo pipefail

if ! command -v sox >/dev/null 2>&1 || ! command -v soxi >/dev/null 2>&1; then
    echo "error: sox/soxi not found; install them with: sudo apt-get install sox" >&2
    exit 1
fi
if [ $# -ne 1 ]; then
    echo "usage: $0 FOLDER" >&2
    exit 1
fi
DIR="${1%/}"
if [ ! -d "$DIR" ]; then
    echo "error: '$DIR' is not a folder" >&2
    exit 1
fi

# The clips, their roles and each role's length limits come from the one clip list.
CATALOGUE="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../resources/clips" && pwd)/catalogue.tsv"
CLIPS=()          # name:role
declare -A LIMIT WARN_OVER
while IFS=$'\t' read -r kind a b c _; do
    case "$kind" in
        role) LIMIT[$a]=$b; WARN_OVER[$a]=$c ;;
        clip) CLIPS+=("$a:$c") ;;
    esac
done <"$CATALOGUE"
if [ ${#CLIPS[@]} -eq 0 ]; then
    echo "error: no clips listed in $CATALOGUE" >&2
    exit 1
fi
MIN_PEAK_DB=-20
MIN_RMS_DB=-40
SILENT_DB=-60

# lt A B: true when number A < number B ("-inf" counts as very small)
lt() {
    awk -v a="$1" -v b="$2" 'BEGIN {
        if (a ~ /inf/) a = -1e9
        if (b ~ /inf/) b = -1e9
        exit !(a + 0 < b + 0)
    }'
}

# stat_value LABEL STATS_TEXT: first column (overall) of a `sox stats` line
stat_value() {
    awk -v l="$1" 'index($0, l) == 1 { sub(l, ""); print $1; exit }' <<<"$2"
}

ok=0; missing=0; bad=0; warnings=0; total=0

printf '%-16s %8s %9s %9s  %s\n' "file" "seconds" "peak dB" "rms dB" "notes"
for entry in "${CLIPS[@]}"; do
    name="${entry%%:*}.wav"; kind="${entry#*:}"
    total=$((total + 1))
    file="$DIR/$name"

    if [ ! -e "$file" ]; then
        hint=""
        other=$(find "$DIR" -maxdepth 1 -iname "$name" -print -quit 2>/dev/null || true)
        [ -n "$other" ] && hint=" (found '$(basename "$other")': names must be lower case)"
        printf '%-16s %8s %9s %9s  ERROR missing%s\n' "$name" "-" "-" "-" "$hint"
        missing=$((missing + 1)); continue
    fi
    if [ ! -r "$file" ] || [ ! -f "$file" ]; then
        printf '%-16s %8s %9s %9s  ERROR not a readable file\n' "$name" "-" "-" "-"
        bad=$((bad + 1)); continue
    fi

    type=$(soxi -t "$file" 2>/dev/null || true)
    if [ "$type" != "wav" ]; then
        printf '%-16s %8s %9s %9s  ERROR not a WAV file%s\n' "$name" "-" "-" "-" "${type:+ (sox sees \"$type\")}"
        bad=$((bad + 1)); continue
    fi
    enc=$(soxi -e "$file" 2>/dev/null || true)
    bits=$(soxi -b "$file" 2>/dev/null || true)
    chans=$(soxi -c "$file" 2>/dev/null || true)
    rate=$(soxi -r "$file" 2>/dev/null || true)
    secs=$(soxi -D "$file" 2>/dev/null || echo 0)
    problem=""
    case "$enc" in
        "Signed Integer PCM"|"Unsigned Integer PCM") ;;
        *) problem="encoding '$enc', need integer PCM" ;;
    esac
    [ -z "$problem" ] && [ "$bits" != 8 ] && [ "$bits" != 16 ] && problem="$bits-bit, need 8 or 16 bit"
    [ -z "$problem" ] && [ "$chans" != 1 ] && [ "$chans" != 2 ] && problem="$chans channels, need mono or stereo"
    [ -z "$problem" ] && ! lt 0 "$secs" && problem="no audio in it"

    err=$(mktemp)
    # sox prints the stats, and any decoding trouble, on stderr
    if [ -z "$problem" ] && ! sox "$file" -n stats 2>"$err"; then
        problem="sox cannot decode it: $(grep -m1 -i 'fail' "$err" || head -n1 "$err")"
    fi
    stats=$(cat "$err")
    if [ -n "$problem" ]; then
        rm -f "$err"
        printf '%-16s %8.2f %9s %9s  ERROR %s\n' "$name" "$secs" "-" "-" "$problem"
        bad=$((bad + 1)); continue
    fi

    # decoded length, which is shorter than the header claims if the file is cut
    secs=$(stat_value "Length s" "$stats")
    peak=$(stat_value "Pk lev dB" "$stats")
    rms=$(stat_value "RMS lev dB" "$stats")
    notes=()
    if grep -q '^sox WARN' "$err"; then
        notes+=("WARN sox: $(grep -m1 '^sox WARN' "$err" | sed 's/^sox WARN [^:]*: //')")
    fi
    rm -f "$err"
    if lt "$peak" "$SILENT_DB"; then
        notes+=("WARN silent")
    elif lt "$peak" "$MIN_PEAK_DB" || lt "$rms" "$MIN_RMS_DB"; then
        notes+=("WARN very quiet")
    fi
    limit=${LIMIT[$kind]}; warn=${WARN_OVER[$kind]}
    if lt "$limit" "$secs"; then
        notes+=("WARN very long (over $limit s)")
    elif lt 0 "$warn" && lt "$warn" "$secs"; then
        notes+=("WARN over $warn s: the anthem cuts it at the 20th right answer")
    fi

    info="${rate} Hz ${bits}-bit $([ "$chans" = 1 ] && echo mono || echo stereo)"
    if [ ${#notes[@]} -gt 0 ]; then
        warnings=$((warnings + ${#notes[@]}))
        for n in "${notes[@]}"; do info="$info; $n"; done
    fi
    printf '%-16s %8.2f %9s %9s  %s\n' "$name" "$secs" "$peak" "$rms" "$info"
    ok=$((ok + 1))
done

echo "thresholds: quiet = peak < $MIN_PEAK_DB dBFS or RMS < $MIN_RMS_DB dBFS;" \
     "long: $(for r in "${!LIMIT[@]}"; do printf '%s > %s s, ' "$r" "${LIMIT[$r]}"; done)as listed in $CATALOGUE"
if [ $((missing + bad)) -eq 0 ]; then
    echo "OK: $ok/$total clips present and playable in $DIR, $warnings warning(s)"
    exit 0
fi
echo "FAILED: $ok/$total clips usable in $DIR, $missing missing, $bad unplayable, $warnings warning(s)"
exit 1
