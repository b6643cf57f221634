#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   bash tools/dev.sh start   install what is missing, build, start the trainer
#   bash tools/dev.sh test    install what is missing, build, run every test
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n libgl-dev
  libsdl2-dev libsndfile1-dev libsamplerate0-dev libwebrtc-audio-processing-dev fonts-liberation2
  libavformat-dev libavcodec-dev libswresample-dev libavutil-dev libarchive-dev zip unzip ffmpeg
  espeak-ng sox
  xvfb xauth x11-utils xdotool imagemagick
  desktop-file-utils appstream valgrind clang clang-format libclang-rt-14-dev dpkg-dev file
)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installo i pacchetti mancanti: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() { # build-dir extra-cmake-args...
  local dir="$1"; shift
  cmake -S . -B "$dir" -G Ninja -DQUIZZOLO_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j2
}

run_tests() { # build-dir
  local runtime
  runtime="$(mktemp -d)"
  XDG_RUNTIME_DIR="$runtime" ctest --test-dir "$1" --output-on-failure -j2
}

case "${1:-}" in
  start)
    install_missing
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      if [ -x tools/demo.sh ]; then
        exec bash tools/demo.sh build
      fi
      echo "quizzolo: nessun display grafico (DISPLAY non impostato): impossibile aprire la finestra" >&2
      exit 2
    fi
    exec ./build/src/quizzolo
    ;;
  test)
    install_missing
    bash tools/test_share.sh
    echo "== build normale =="
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    run_tests build
    echo "== build con AddressSanitizer e UndefinedBehaviorSanitizer =="
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DQUIZZOLO_SANITIZE=ON
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 run_tests build-asan
    ;;
  *)
    echo "uso: bash tools/dev.sh start|test" >&2
    exit 64
    ;;
esac
