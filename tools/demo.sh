#!/usr/bin/env bash
# Headless demo: runs the real trainer on a private X server, uses it as a child would,
# and keeps screenshots and the recorded voice in a new folder /tmp/quizzolo-demo.XXXXXX.
#   bash tools/demo.sh [BUILD_DIR | EXECUTABLE]     (default: build)
# Needs Xvfb, xauth, xdotool, imagemagick and sox (bash tools/dev.sh installs them).
set -euo pipefail

target="${1:-build}"
if [ -f "$target" ] && [ -x "$target" ]; then
  exe="$target"
else
  exe="$target/src/quizzolo"
fi
if [ ! -x "$exe" ]; then
  echo "demo: $exe non esiste: compila prima (bash tools/dev.sh start)" >&2
  exit 1
fi
missing=()
for tool in Xvfb xauth xdotool import sox; do
  command -v "$tool" >/dev/null || missing+=("$tool")
done
if [ ${#missing[@]} -ne 0 ]; then
  echo "demo: mancano ${missing[*]} (apt-get install xvfb xauth xdotool imagemagick sox)" >&2
  exit 1
fi

out="$(mktemp -d /tmp/quizzolo-demo.XXXXXX)"
work="$(mktemp -d /tmp/quizzolo-demo-work.XXXXXX)"
xvfb_pid=""
app_pid=""

stop_process() { # pid
  [ -n "$1" ] && kill -0 "$1" 2>/dev/null || return 0
  kill "$1" 2>/dev/null || true
  for _ in $(seq 30); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}
cleanup() {
  stop_process "$app_pid"
  stop_process "$xvfb_pid"
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A private display with its own cookie; the first free number from 99 on. -noreset: the
# readiness probe below is the first client, and a server reset when it leaves would
# refuse the trainer's connection.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export XAUTHORITY="$work/Xauthority"
: >"$XAUTHORITY"
cookie="$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')"
for n in $(seq 99 199); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  xauth -q add ":$n" . "$cookie"
  Xvfb ":$n" -auth "$XAUTHORITY" -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    if DISPLAY=":$n" xdotool getdisplaygeometry >/dev/null 2>&1; then
      export DISPLAY=":$n"
      break 2
    fi
    kill -0 "$xvfb_pid" 2>/dev/null || break # lost the race for this number
    sleep 0.1
  done
  stop_process "$xvfb_pid"
  xvfb_pid=""
done
if [ -z "${DISPLAY:-}" ]; then
  echo "demo: impossibile avviare Xvfb" >&2
  cat "$work/xvfb.log" >&2 || true
  exit 1
fi

# SDL's disk driver writes what the sound card would play, in real time.
mkdir -m 700 "$work/runtime"
XDG_RUNTIME_DIR="$work/runtime" SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/voce.raw" \
  "$exe" >"$out/quizzolo.log" 2>&1 &
app_pid=$!

# --onlyvisible: Qt also owns a hidden helper window.
window=""
for _ in $(seq 150); do
  window="$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | head -n 1 || true)"
  [ -n "$window" ] && break
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "demo: la finestra di Quizzolo non è comparsa" >&2
  cat "$out/quizzolo.log" >&2
  exit 1
fi
sleep 1 # first paint
eval "$(xdotool getwindowgeometry --shell "$window")" # X Y WIDTH HEIGHT

alive() {
  kill -0 "$app_pid" 2>/dev/null && return 0
  local status=0
  wait "$app_pid" || status=$?
  app_pid=""
  echo "demo: Quizzolo è terminato prima della fine della demo (stato $status)" >&2
  cat "$out/quizzolo.log" >&2
  exit 1
}
shot() { # name
  alive
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$1.png"
}
click() { # x y, relative to the window
  alive
  xdotool mousemove --window "$window" "$1" "$2" click 1
}

# Positions inside the 800x600 window (the layout's twips / 15).
ask=(200 230)      # Chiedimi una operazione
result=(650 240)   # Fammi vedere il risultato
sequence=(281 360) # Operazioni di seguito, senza il risultato / Ferma le operazioni di seguito
stop=(740 558)     # STOP

shot 00-avvio
click "${ask[@]}"
sleep 2.5
shot 01-domanda
click "${result[@]}"
sleep 2.5
shot 02-risultato
click "${sequence[@]}"
sleep 3
shot 03-di-seguito
sleep 3
click "${sequence[@]}"
sleep 1
shot 04-fermato
click "${stop[@]}"
sleep 1
shot 05-vuoi-uscire
xdotool key Return # «Sì» is the default answer
for _ in $(seq 30); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
stop_process "$app_pid"
app_pid=""
[ -s "$out/quizzolo.log" ] || rm -f "$out/quizzolo.log"

# The device is opened as 22050 Hz, mono, signed 16-bit (native = little-endian here).
if [ ! -s "$work/voce.raw" ]; then
  echo "demo: nessun suono registrato" >&2
  exit 1
fi
sox -t raw -r 22050 -e signed-integer -b 16 -c 1 -L "$work/voce.raw" "$out/voce.wav"

# How much speech: the overall RMS and the stretches of sound between pauses of 0.3 s.
seconds="$(soxi -D "$out/voce.wav")"
rms="$(sox "$out/voce.wav" -n stat 2>&1 | awk '/^RMS +amplitude/ { print $3 }')"
mkdir "$work/parts"
sox "$out/voce.wav" "$work/parts/part.wav" silence 1 0.05 1% 1 0.3 1% : newfile : restart
spoken=0
for part in "$work"/parts/part*.wav; do
  [ -e "$part" ] || continue
  awk -v d="$(soxi -D "$part")" 'BEGIN { exit !(d >= 0.1) }' && spoken=$((spoken + 1))
done

echo "Demo di Quizzolo: $out"
find "$out" -type f -printf "%9s  %f\n" | sort -k 2
printf 'voce.wav: %.1f s, RMS %s, %d tratti parlati\n' "$seconds" "$rms" "$spoken"
if [ "$spoken" -eq 0 ]; then
  echo "demo: la registrazione è muta" >&2
  exit 1
fi
