#!/usr/bin/env bash
# The sounds of a classroom for noise_table.sh, made by espeak-ng and sox into DIR, all
# mono 16-bit at 22,050 Hz, 40 s long where they are rooms:
#   chatter.wav  five child-pitched voices talking over each other, at -20 dBFS RMS
#   fan.wav      a fan's hiss and hum, quiet.wav a microphone's own hiss
#   scrape.wav   a chair dragged on the floor (0.5 s), slam.wav a door slammed (0.4 s)
#   rooms.sh DIR
set -euo pipefail
dir="$1"
rate=22050
mkdir -p "$dir"
cd "$dir"
make() { sox -n -r "$rate" -c 1 -b 16 "$@"; }

rms_of() { sox "$1" -n stats 2>&1 | awk '/RMS lev dB/ { print $4 }'; }
at_rms() { # in out dBFS
  sox "$1" "$2" gain "$(awk -v t="$3" -v r="$(rms_of "$1")" 'BEGIN { print t - r }')"
}

sentences=(
  "Maestra, posso andare in bagno?"
  "Guarda il mio disegno, è bellissimo!"
  "Dammi la gomma, per favore."
  "Chi ha preso la mia matita rossa?"
  "Oggi a pranzo c'è la pasta al pomodoro."
  "Io ho finito, e tu?"
  "No, tocca a me, tocca a me!"
  "Domani andiamo al parco con la nonna."
  "Il mio cane si chiama Rocco."
  "Facciamo a gara a chi arriva primo?"
  "Ma io non ho capito niente."
  "Mi presti il quaderno a righe?"
)
# Each voice says the sentences in its own order with pauses of its own, child-pitched
# and quick, until 40 seconds are filled.
RANDOM=7
voices=()
for v in 1 2 3 4 5; do
  parts=()
  total=0
  i=$((v * 3))
  while awk -v t="$total" 'BEGIN { exit !(t < 41) }'; do
    espeak-ng -v "it+f$(((v % 5) + 1))" -p $((70 + v * 6)) -s $((165 + v * 8)) -w "s$v.$i.wav" "${sentences[$((i % ${#sentences[@]}))]}"
    sox "s$v.$i.wav" -r "$rate" "p$v.$i.wav" pitch $((300 + v * 40)) pad 0 "0.$((RANDOM % 9 + 1))"
    parts+=("p$v.$i.wav")
    total="$(awk -v t="$total" -v d="$(soxi -D "p$v.$i.wav")" 'BEGIN { print t + d }')"
    i=$((i + 1))
  done
  sox "${parts[@]}" "v$v.wav" pad "0.$v" trim 0 41
  voices+=(-v 0.3 "v$v.wav")
  rm -f s"$v".*.wav p"$v".*.wav
done
sox -m "${voices[@]}" -e floating-point mix.wav
sox mix.wav trimmed.wav trim 1 # all five talking from the start
at_rms trimmed.wav chatter.wav -20
rm -f mix.wav trimmed.wav v?.wav

make n.wav synth 40 pinknoise lowpass 2500 synth 40 sine amod 100 0 vol 0.6
make h.wav synth 40 sine 100 vol 0.15
sox -m n.wav h.wav f.wav
at_rms f.wav fan.wav -42
make q.wav synth 40 whitenoise
at_rms q.wav quiet.wav -72
rm -f n.wav h.wav f.wav q.wav

# The chair: a rough squeal whose pitch wanders, fading in and out; the door: a thud
# and a rattle dying away, louder than the voice.
make s.wav synth 0.5 sawtooth 260-420 synth 0.5 brownnoise amod 30 lowpass 2000 tremolo 23 60 fade 0.08 0.5 0.15
sox s.wav scrape.wav gain -n -10
make t.wav synth 0.4 brownnoise synth 0.4 sine amod 70 lowpass 900 fade 0 0.4 0.38
make r.wav synth 0.4 whitenoise bandpass 1800 600 fade 0 0.4 0.3
sox -m t.wav r.wav d.wav
sox d.wav slam.wav gain -n -4
rm -f s.wav t.wav r.wav d.wav
