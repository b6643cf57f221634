#!/usr/bin/env bash
# Prints which floor of src/ includes which, and fails on an #include that points up
# or sideways: common <- engine <- modes <- app, and common <- recorder.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../src"

allowed() { # floor -> the floors it may include
    case "$1" in
        common) echo "common" ;;
        engine) echo "engine common" ;;
        modes) echo "modes engine common" ;;
        app | main.cpp) echo "app modes engine common" ;;
        recorder) echo "recorder common" ;;
    esac
}

status=0
declare -A arrows=()
while IFS=: read -r file _ line; do
    from="${file%%/*}"
    to="$(sed -n 's/^#include "\([a-z]*\)\/.*/\1/p' <<<"$line")"
    [ -n "$to" ] || continue
    arrows["$from -> $to"]=1
    if ! grep -qw "$to" <<<"$(allowed "$from")"; then
        echo "wrong way: $file includes $to/ (${line#\#include })" >&2
        status=1
    fi
done < <(grep -rn '^#include "' --include='*.cpp' --include='*.h' .  | sed 's#^\./##')
printf '%s\n' "${!arrows[@]}" | grep -v '^\(.*\) -> \1$' | sort
exit $status
