#!/usr/bin/env bash
# On a private X server: records "sette per" in the recorder (SDL's disk driver plays a
# raw file as the microphone), then lets the trainer ask a question of the 7 table (the
# disk driver keeps what it plays) and looks for the new take, sample for sample.
#   record_and_hear.sh RECORDER TRAINER
# Exit 77 (skipped) when Xvfb, xdotool or python3 is missing.
set -euo pipefail

recorder="$1" trainer="$2"
for tool in Xvfb xdotool python3; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is missing"
    exit 77
  fi
done

work="$(mktemp -d "${TMPDIR:-/tmp}/quizzolo-voice.XXXXXX")"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  for log in "$work"/*.log; do
    echo "--- $(basename "$log")"
    cat "$log"
  done
  exit 1
}

unset QT_QPA_PLATFORM WAYLAND_DISPLAY DISPLAY
display=""
for n in $(seq 50 99); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do
    if DISPLAY=":$n" xdotool getdisplaygeometry >/dev/null 2>&1; then
      display=":$n"
      break 2
    fi
    kill -0 "${pids[-1]}" 2>/dev/null || break # another took this number
    sleep 0.1
  done
done
[ -n "$display" ] || fail "no Xvfb display could start"
export DISPLAY="$display"
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime" XDG_DATA_HOME="$work/data" SDL_AUDIODRIVER=disk

window_of() { # pid
  local w=""
  for _ in $(seq 100); do
    w="$(xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -n 1 || true)"
    [ -n "$w" ] && break
    sleep 0.1
  done
  echo "$w"
}

# The "voice": 0.3 s of silence, 0.6 s of a 660 Hz tone, then silence (S16 mono 22050 Hz).
python3 - "$work/microphone.raw" <<'PY'
import math, struct, sys
rate = 22050
samples = [0] * int(0.3 * rate)
samples += [int(9000 * math.sin(2 * math.pi * 660 * i / rate)) for i in range(int(0.6 * rate))]
samples += [0] * int(2.5 * rate)
open(sys.argv[1], "wb").write(struct.pack("<%dh" % len(samples), *samples))
PY

SDL_DISKAUDIOFILEIN="$work/microphone.raw" SDL_DISKAUDIOFILE="$work/recorder-out.raw" \
  "$recorder" >"$work/recorder.log" 2>&1 &
pids+=($!)
window="$(window_of "${pids[-1]}")"
[ -n "$window" ] || fail "the recorder's window did not appear"
sleep 0.5
# It opens small enough for a netbook's 1024x600 screen, status line included.
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" -le 1024 ] && [ "$HEIGHT" -le 560 ] || fail "the recorder opens at ${WIDTH}x${HEIGHT}, too big for 1024x600"
xdotool windowfocus --sync "$window" 2>/dev/null
# From "uno per" down to "sette per", then Alt+R records until a second of quiet.
xdotool key Down Down Down Down Down Down alt+r
take="$work/data/quizzolo/voce/voxa7.wav"
for _ in $(seq 100); do
  [ -s "$take" ] && break
  sleep 0.1
done
[ -s "$take" ] || fail "no take saved as $take"
kill "${pids[-1]}"

SDL_DISKAUDIOFILE="$work/trainer-out.raw" "$trainer" >"$work/trainer.log" 2>&1 &
pids+=($!)
window="$(window_of "${pids[-1]}")"
[ -n "$window" ] || fail "the trainer's window did not appear"
sleep 0.5
xdotool mousemove --window "$window" 57 358 click 1 # the 7 table
xdotool mousemove --window "$window" 200 230 click 1 # Chiedimi una operazione
sleep 2.5
kill "${pids[-1]}"

python3 - "$take" "$work/trainer-out.raw" "$(dirname "$trainer")/voxa7.wav" <<'PY'
import sys, wave
def frames(path):
    with wave.open(path) as w:
        return w.readframes(w.getnframes())
take = frames(sys.argv[1])
heard = open(sys.argv[2], "rb").read()
at = heard.find(take)
print("take: %.2f s; trainer played %.2f s; take found at %s" % (len(take) / 44100, len(heard) / 44100,
      "%.2f s" % (at / 44100) if at >= 0 else "nowhere"))
if at < 0 or at % 2:
    sys.exit("FAIL: the trainer did not play the new take")
if heard.find(frames(sys.argv[3])) >= 0:
    sys.exit("FAIL: the trainer also played the program's own 'sette per'")
PY
echo "the trainer spoke the recorded take"
