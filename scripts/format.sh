#!/usr/bin/env bash
# Formats the project's C++ sources in place with the repository's .clang-format.
# With --check, changes nothing and lists the files that differ (exit 1 if any).
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h')
if [[ "${1:-}" == "--check" ]]; then
  bad=()
  for f in "${files[@]}"; do
    clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
  done
  if ((${#bad[@]})); then
    echo "Not formatted (run scripts/format.sh):" >&2
    printf '  %s\n' "${bad[@]}" >&2
    exit 1
  fi
  echo "format: ${#files[@]} files formatted"
else
  clang-format -i "${files[@]}"
fi
