#!/usr/bin/env bash
# Every clip of the recorder said by espeak-ng (Italian, peak -9 dBFS) in the rooms of
# rooms.sh, each tried as a take three ways: pressed and let go (the take ends by itself
# or at the time limit), held down while speaking (let go 0.2-0.5 s after the words) and
# stopped by hand with Esc 0.4 s after the words. Prints one table row per room and way:
# takes that stopped by themselves, kept, kept with a warning, trimmed to the words within
# 0.15 s at both ends, kept with other sound beyond that and no warning, kept with a
# word's start cut (by more than 0.02 s), refused, and the refusals by message.
#   noise_table.sh TRIAL [ROOM...]   TRIAL is the quizzolo-take-trial program; rooms by name
# Rooms: chatter-40, chatter-35, chatter-30 (dBFS RMS), scrape, slam (0.25-0.3 s before or
# after the words in a quiet room), fan, quiet. TAKES=hold,auto picks the ways.
set -euo pipefail
trial="$1"
shift
rooms=("$@")
[ ${#rooms[@]} -gt 0 ] || rooms=(quiet chatter-40 chatter-35 chatter-30 scrape slam fan)
IFS=, read -r -a ways <<<"${TAKES:-auto,hold,hand}"
work="$(mktemp -d "${TMPDIR:-/tmp}/quizzolo-takes.XXXXXX")"
trap 'rm -rf "$work"' EXIT
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bash "$here/rooms.sh" "$work/rooms" 2>/dev/null

# The words, trimmed of espeak's silence; the anthem a tune of 3.2 s.
n=0
while IFS=$'\t' read -r name role words; do
  if [ "$role" = anthem ]; then
    sox -n -r 22050 -c 1 -b 16 "$work/e.wav" synth 0.4 pluck E4 : synth 0.4 pluck E4 : synth 0.4 pluck F4 : \
      synth 0.4 pluck G4 : synth 0.4 pluck G4 : synth 0.4 pluck F4 : synth 0.4 pluck E4 : synth 0.4 pluck D4
  else
    espeak-ng -v it -w "$work/e.wav" "$words"
  fi
  sox "$work/e.wav" -r 22050 "$work/w_$name.wav" silence 1 0.005 0.1% reverse silence 1 0.005 0.1% reverse gain -n -9
  echo "$name $n $(soxi -D "$work/w_$name.wav")" >>"$work/clips"
  n=$((n + 1))
done < <("$trial" list)

# One take: the room from its start, the words after a lead, a noise beside them.
scene() { # room clip index seconds-of-words
  local room="$1" clip="$2" i="$3" dur="$4" lead bed level=-200 extra=()
  lead="$(awk -v i="$i" 'BEGIN { print 0.3 + 0.1 * (i % 4) }')"
  case "$room" in
  chatter-*) bed=chatter level="-${room#chatter-}" ;;
  scrape | slam)
    bed=quiet
    # Alternately before and after the words, 0.25-0.3 s away from them.
    local gap at
    gap="$(awk -v i="$i" 'BEGIN { print 0.25 + 0.05 * (i % 2) }')"
    if [ $((i % 2)) -eq 0 ]; then
      at="$(awk -v l="$lead" -v g="$gap" -v n="$(soxi -D "$work/rooms/$room.wav")" 'BEGIN { print l + 0.6 - g - n }')"
      lead="$(awk -v l="$lead" 'BEGIN { print l + 0.6 }')"
    else
      at="$(awk -v l="$lead" -v d="$dur" -v g="$gap" 'BEGIN { print l + d + g }')"
    fi
    extra=(-v 1 "|sox $work/rooms/$room.wav -p pad $at")
    ;;
  *) bed="$room" ;;
  esac
  local gain=0 from
  [ "$bed" = chatter ] && gain=$((level + 20))
  from="$(awk -v i="$i" 'BEGIN { print (i * 1.1) % 4 * 1.3 }')" # each take hears other children
  sox -m -v 1 "|sox $work/rooms/$bed.wav -p trim $from gain $gain" -v 1 "|sox $work/w_$clip.wav -p pad $lead" \
    "${extra[@]+"${extra[@]}"}" -t raw -e signed -b 16 -c 1 -r 22050 "$work/scene.raw" 2>/dev/null
  echo "$lead"
}

printf "| room | way | takes | stopped by themselves | kept | with a warning | trimmed within 0.15 s | other sound kept silently | word cut | refused: messages |\n"
printf "|---|---|---|---|---|---|---|---|---|---|\n"
for room in "${rooms[@]}"; do
  : >"$work/rows"
  while read -r clip i dur; do
    lead="$(scene "$room" "$clip" "$i" "$dur")"
    for way in "${ways[@]}"; do
      case "$way" in
      auto) out="$("$trial" take "$clip" "$work/scene.raw" auto)" ;;
      hold) out="$("$trial" take "$clip" "$work/scene.raw" hold "$(awk -v l="$lead" -v d="$dur" -v i="$i" 'BEGIN { print l + d + 0.2 + 0.1 * (i % 4) }')")" ;;
      hand) out="$("$trial" take "$clip" "$work/scene.raw" hand "$(awk -v l="$lead" -v d="$dur" 'BEGIN { print l + d + 0.4 }')")" ;;
      esac
      printf "%s\t%s\t%s\t%s\t%s\n" "$way" "$clip" "$lead" "$dur" "$out" >>"$work/rows"
      [ -z "${VERBOSE:-}" ] || printf "%s %s %s\t%s\t%s\t%s\n" "$room" "$way" "$clip" "$lead" "$dur" "$out" >&2
    done
  done <"$work/clips"
  for way in "${ways[@]}"; do
    awk -F'\t' -v room="$room" -v way="$way" '
      $1 != way { next }
      {
        takes++
        if ($5 == "quiet") stopped++
        if ($7 == "kept") {
          kept++
          if ($12 != "") warned++
          start = $9 + 0.03; end = $10 - 0.06 # the margins the recorder keeps around the words
          if (start - $3 <= 0.15 && $3 - start <= 0.15 && end - ($3 + $4) <= 0.15 && ($3 + $4) - end <= 0.15) trimmed++
          else if ($12 == "" && (start < $3 - 0.15 || end > $3 + $4 + 0.15)) silent++
          if (start > $3 + 0.02) cut++
        } else {
          refused++
          m = $12; sub(/[:.,(].*/, "", m); why[m]++
        }
      }
      END {
        text = ""
        for (m in why) text = text sprintf("%s%d «%s…»", text == "" ? "" : "; ", why[m], m)
        printf "| %s | %s | %d | %d | %d | %d | %d | %d | %d | %d %s |\n", room, way, takes, stopped, kept, warned, trimmed, silent, cut, refused, text
      }' "$work/rows"
  done
done
