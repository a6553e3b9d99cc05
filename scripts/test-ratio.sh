#!/usr/bin/env bash
# Non-blank lines of the tests against those of the product code, and their ratio.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { git ls-files -- "$@" | grep -E '\.(cpp|h|py|sh)$' | xargs -r cat | grep -cv '^[[:space:]]*$'; }
tests=$(count tests)
code=$(count app engine db util ui)
awk -v t="$tests" -v c="$code" 'BEGIN { printf "tests %d, code %d, ratio %.2f\n", t, c, t / c }'
