#!/usr/bin/env bash
# Prints the share of test code: non-blank lines of .cpp/.h under tests/ and fuzz/ against
# all other .cpp/.h of the project (build folders left out). Fails outside 0.20-0.40.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

count() { # find arguments...
    find . \( -path './build*' -o -path './.git' \) -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) "$@" -print0 |
        xargs -0 -r cat | grep -cv '^[[:space:]]*$' || true
}

tests=$(count \( -path './tests/*' -o -path './fuzz/*' \))
code=$(count -not -path './tests/*' -not -path './fuzz/*')
share=$(awk -v t="$tests" -v c="$code" 'BEGIN { printf "%.3f", c ? t / c : 0 }')
echo "test share: $tests test lines for $code lines of code = $share (band 0.20-0.40)"
awk -v s="$share" 'BEGIN { exit !(s >= 0.20 && s <= 0.40) }' || {
    echo "test share $share is outside 0.20-0.40" >&2
    exit 1
}
