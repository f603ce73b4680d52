#!/usr/bin/env bash
# scripts/check-includes on a copy of the layer folders: it passes as they are, and fails, naming
# the arrow, once a file includes upwards.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$root"/{platform,text,processing,run,ui,cli,resources} "$work"
check() { "$root/scripts/check-includes" "$work" "$root/scripts/include-arrows.txt" 2>&1; }

check >/dev/null || { echo "FAIL: the copy as it is was refused"; exit 1; }
cases=(
  "text/variables.cpp|run/search_worker.h|text may not include run/search_worker.h"
  "processing/confirmation.cpp|run/search_worker.h|processing may not include run/search_worker.h"
  "text/regex/regex_matcher.cpp|processing/confirmation.h|text may not include processing/confirmation.h"
  "platform/file_fault.cpp|text/variables.h|platform may not include text/variables.h"
  "run/record/run_types.h|run/search_worker.h|run/record may not include run/search_worker.h"
)
for entry in "${cases[@]}"; do
  IFS='|' read -r file include message <<<"$entry"
  cp "$root/$file" "$work/$file"
  printf '#include "%s"\n' "$include" >>"$work/$file"
  output=$(check) && { echo "FAIL: $file including $include passed"; exit 1; }
  [[ $output == *"$message"* ]] || { echo "FAIL: expected '$message', got: $output"; exit 1; }
  cp "$root/$file" "$work/$file"
done
echo "PASS"
