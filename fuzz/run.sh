#!/usr/bin/env bash
# Fuzzes one of the project's readers of files: bash fuzz/run.sh [RUNS] [TARGET]
#   clip_loading (default)    the trainer's voice clip loading, seeds in fuzz/voice_corpus
#   voice_import              the recorder's import of a file, seeds in fuzz/voice_corpus
#   pack_reading              the recorder's reading of a voice pack, seeds in fuzz/pack_corpus
# RUNS defaults to 200000 inputs; FUZZ_TIME=SECONDS runs for that long instead. Builds into a
# temporary folder with Debian's clang; exits non-zero on a crash, a sanitizer report or a
# broken property. FUZZ_SEED picks another deterministic run (default 1).
set -euo pipefail

runs="${1:-200000}"
target="${2:-clip_loading}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
cxx="${CXX_FUZZ:-clang++}"

work="$(mktemp -d)"
keep=0
cleanup() { [ "$keep" -eq 1 ] || rm -rf "$work"; }
trap cleanup EXIT

case "$target" in
  clip_loading)
    sources=("$root/src/common/sound/ClipDecoder.cpp" "$root/src/common/RegularFile.cpp")
    modules=(Qt6Core sdl2 sndfile)
    corpus="$here/voice_corpus"
    max_len=65536
    ;;
  voice_import | pack_reading)
    # The clip catalogue is built into the programs: the same here, through Qt's resource compiler.
    rcc="$(pkg-config --variable=libexecdir Qt6Core)/rcc"
    [ -x "$rcc" ] || rcc=/usr/lib/qt6/libexec/rcc
    printf '<RCC><qresource prefix="/clips"><file alias="catalogue.tsv">%s</file></qresource></RCC>\n' \
      "$root/resources/clips/catalogue.tsv" >"$work/catalogue.qrc"
    "$rcc" --name catalogue "$work/catalogue.qrc" -o "$work/catalogue.cpp"
    sources=("$work/catalogue.cpp" "$root/src/common/ClipCatalogue.cpp" "$root/src/common/RegularFile.cpp"
      "$root"/src/recorder/files/{AudioFile,MediaDecoder,FileSafety}.cpp
      "$root"/src/recorder/takes/{TakeProcessing,SpeechEnd,LevelTrack,WordSpan,VoiceDetector}.cpp)
    modules=(Qt6Core sndfile samplerate libavformat libavcodec libswresample libavutil webrtc-audio-processing)
    corpus="$here/voice_corpus"
    max_len=65536
    if [ "$target" = pack_reading ]; then
      sources+=("$root/src/common/VoiceFolders.cpp" "$root"/src/recorder/imports/{VoicePack,BatchImport}.cpp
        "$root/src/recorder/files/ClipStore.cpp")
      modules+=(libarchive Qt6Gui)
      corpus="$here/pack_corpus"
    fi
    ;;
  *)
    echo "fuzz: unknown target $target" >&2
    exit 64
    ;;
esac
existing=()
for s in "${sources[@]}"; do [ -f "$s" ] && existing+=("$s"); done

# Qt is built for position-independent code; the target needs -fPIC to use its headers.
"$cxx" -std=c++20 -O1 -g -fPIC -Wall -Wextra \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer \
  -I"$root/src" $(pkg-config --cflags "${modules[@]}") \
  "$here/fuzz_$target.cpp" "${existing[@]}" \
  $(pkg-config --libs "${modules[@]}") -o "$work/fuzz_$target"

# libFuzzer adds what it finds to its first corpus folder: give it a copy.
mkdir -p "$work/corpus" "$work/artifacts"
cp "$corpus"/* "$work/corpus/"

limit=(-runs="$runs")
[ -n "${FUZZ_TIME:-}" ] && limit=(-max_total_time="$FUZZ_TIME")
status=0
ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" \
LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$here/lsan_suppressions.txt:print_suppressions=0}" \
UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
  "$work/fuzz_$target" "${limit[@]}" -seed="${FUZZ_SEED:-1}" -max_len="$max_len" -rss_limit_mb=512 \
  -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" || status=$?

if [ "$status" -ne 0 ] || [ -n "$(ls -A "$work/artifacts")" ]; then
  keep=1
  echo "fuzz: failure (status $status); inputs kept in $work/artifacts" >&2
  exit 1
fi
ran="$runs inputs"
[ -n "${FUZZ_TIME:-}" ] && ran="$FUZZ_TIME s"
echo "fuzz $target: $ran, no crash, no sanitizer report, no broken property"
