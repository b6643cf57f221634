#!/usr/bin/env bash
# Words spoken by espeak-ng over room noise made by sox, with and without clicks, tried
# through the recorder's disk microphone and through its import. For each case it prints
# how the take ended, whether it was kept and how far the kept part's ends lie from the
# word's (positive: kept before the word's start or after its end).
#   noise_table.sh TRIAL    TRIAL is the quizzolo-take-trial program
# Levels are RMS in dBFS (the word's over the word alone); SNR is their difference.
set -euo pipefail
trial="$1" level=-20
work="$(mktemp -d "${TMPDIR:-/tmp}/quizzolo-noise.XXXXXX")"
trap 'rm -rf "$work"' EXIT
export SDL_DISKAUDIODELAY=2 # ten times faster than real time
lead=0.5

rms_of() { sox "$1" -n stats 2>&1 | awk '/RMS lev dB/ { print $4 }'; }
at_level() { # in out dBFS: the file's RMS brought to dBFS
  sox "$1" "$2" gain "$(awk -v t="$3" -v r="$(rms_of "$1")" 'BEGIN { print t - r }')"
}

word() { # clip words: the word trimmed of espeak's silence, at the word level
  espeak-ng -v it -w "$work/e.wav" "$2"
  sox "$work/e.wav" "$work/t.wav" silence 1 0.005 0.1% reverse silence 1 0.005 0.1% reverse
  at_level "$work/t.wav" "$work/w_$1.wav" "$level"
}

noise() { # kind dBFS: six seconds of it
  sox -n -r 22050 -c 1 -b 16 "$work/n.wav" synth 6 "$1" vol 0.5
  at_level "$work/n.wav" "$work/noise.wav" "$2"
}

clicks() { # where: none, before, after or both; a key press (15 ms) and a tap (40 ms)
  local dur="$1"
  sox -n -r 22050 -c 1 -b 16 "$work/key.wav" synth 0.015 whitenoise fade 0 0.015 0.013 gain -3
  sox -n -r 22050 -c 1 -b 16 "$work/tap.wav" synth 0.04 sine 180 fade 0 0.04 0.035 gain -6
  local parts=()
  case "$2" in
  before | both) parts+=(-v 1 "|sox $work/key.wav -p pad 0.2") ;;
  esac
  case "$2" in
  after | both) parts+=(-v 1 "|sox $work/tap.wav -p pad $(awk -v d="$dur" -v l="$lead" 'BEGIN { print l + d + 0.4 }')") ;;
  esac
  [ "${#parts[@]}" -eq 0 ] || printf "%s\n" "${parts[@]}"
}

row() { # clip words kind noise-dBFS clicks [word-dBFS]
  level="${6:--20}"
  word "$1" "$2"
  noise "$3" "$4"
  local dur
  dur="$(soxi -D "$work/w_$1.wav")"
  local extra=()
  mapfile -t extra < <(clicks "$dur" "$5")
  sox -m -v 1 "$work/noise.wav" -v 1 "|sox $work/w_$1.wav -p pad $lead" "${extra[@]+"${extra[@]}"}" "$work/mix.wav"
  sox "$work/mix.wav" -t raw -e signed -b 16 -c 1 "$work/mix.raw"
  local r i
  r="$("$trial" record "$1" "$work/mix.raw" 2>/dev/null)"
  i="$("$trial" import "$1" "$work/mix.wav" 2>/dev/null)"
  awk -F'\t' -v clip="$1" -v kind="$3" -v n="$4" -v l="$level" -v c="$5" -v d="$dur" -v ws="$lead" -v r="$r" -v i="$i" '
    function show(line,   f, s) {
      split(line, f, "\t")
      s = sprintf("%-5s %4.1fs %-7s", f[1], f[2], f[3])
      if (f[3] == "kept")
        s = s sprintf(" %+.2f %+.2f", ws - f[5], f[6] - (ws + d))
      else
        s = s sprintf(" %-11s", "")
      return s sprintf(" %5.1f", f[7])
    }
    BEGIN {
      printf "%-7s %-10s %4d %3d %-6s | %s | %s", clip, kind, n, l - n, c, show(r), show(i)
      split(r, a, "\t"); split(i, b, "\t")
      printf " | %s\n", (a[8] != "" ? a[8] : b[8])
    }'
}

echo "clip    noise     dBFS SNR clicks | record: end captured result startErr endErr snr | import: result startErr endErr snr | message"
row va8 otto pinknoise -48 none -17 # a word at -17 dBFS in a quiet classroom
row va8 otto pinknoise -45 none -17
row voxa8 "otto per" pinknoise -60 both
for kind in pinknoise brownnoise whitenoise; do
  for n in -80 -60 -55 -50 -45 -40 -35 -30; do
    row va8 otto "$kind" "$n" none
  done
done
for n in -80 -50 -45 -40; do
  for c in before after both; do
    row va8 otto pinknoise "$n" "$c"
    row voxa7 "sette per" pinknoise "$n" "$c"
  done
  row voxa50 cinquanta pinknoise "$n" none
  row voxa_esatto "Esatto!" pinknoise "$n" none
done
