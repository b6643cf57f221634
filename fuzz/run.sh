#!/usr/bin/env bash
# Fuzzes the answer reading rule: bash fuzz/run.sh [RUNS]  (default 200000 inputs).
# Builds into a temporary folder with Debian's clang; exits non-zero on a crash, a
# sanitizer report or a reading that breaks one of the rule's properties. FUZZ_SEED picks
# another deterministic run (default 1).
set -euo pipefail

runs="${1:-200000}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
cxx="${CXX_FUZZ:-clang++}"

work="$(mktemp -d)"
keep=0
cleanup() { [ "$keep" -eq 1 ] || rm -rf "$work"; }
trap cleanup EXIT

# Qt is built for position-independent code; the target needs -fPIC to use its headers.
"$cxx" -std=c++20 -O1 -g -fPIC -Wall -Wextra \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer \
  -I"$root/src" $(pkg-config --cflags Qt6Core) \
  "$here/fuzz_answer_reading.cpp" "$root/src/modes/AnswerReading.cpp" \
  $(pkg-config --libs Qt6Core) -o "$work/fuzz_answer_reading"

# libFuzzer adds what it finds to its first corpus folder: give it a copy.
mkdir -p "$work/corpus" "$work/artifacts"
cp "$here"/corpus/* "$work/corpus/"

status=0
ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" \
UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
  "$work/fuzz_answer_reading" -runs="$runs" -seed="${FUZZ_SEED:-1}" -max_len=1024 \
  -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" || status=$?

if [ "$status" -ne 0 ] || [ -n "$(ls -A "$work/artifacts")" ]; then
  keep=1
  echo "fuzz: failure (status $status); inputs kept in $work/artifacts" >&2
  exit 1
fi
echo "fuzz: $runs inputs, no crash, no sanitizer report, no broken property"
