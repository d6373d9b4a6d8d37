#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over the project's own C++ sources, using the
# compile commands of the configured `default` build. Without arguments it checks the files that
# differ from main (committed or not), with --since REF those that differ from REF; with --all,
# every source file (what CI does).
# Fails, listing the warnings, when clang-tidy reports any.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/default
[[ -f $build/compile_commands.json ]] || cmake --preset default >/dev/null
# XOM_LINT_FOLDERS narrows the check to some top-level folders (a regular expression).
folders=${XOM_LINT_FOLDERS:-'Common|juxcommoncode|hostsdk|platform|qtdialogs|tools|resources|builds|tests|bench'}
if [[ "${1:-}" == "--all" ]]; then
  mapfile -t files < <(git ls-files '*.cpp' | grep -E "^($folders)/")
else
  base=main
  [[ "${1:-}" == "--since" ]] && base=$2
  mapfile -t files < <({ git diff --name-only "$base" -- '*.cpp'; git ls-files --others --exclude-standard '*.cpp'; } |
                       sort -u | grep -E "^($folders)/" || true)
fi
# Only files the build compiles have compile commands (fuzz targets live in their own preset).
known=$(grep -o '"file": "[^"]*"' $build/compile_commands.json | sed 's/"file": "//; s/"$//')
checked=()
for f in "${files[@]}"; do
  [[ -f $f ]] && grep -qxF "$PWD/$f" <<<"$known" && checked+=("$PWD/$f")
done
if ((${#checked[@]} == 0)); then
  echo "lint: no files to check"
  exit 0
fi
# A file whose key (its preprocessed text with every header, its flags, the checks, the tool's
# version) passed before is not checked again; XOM_LINT_NO_CACHE=1 checks everything.
cache=${XDG_CACHE_HOME:-$HOME/.cache}/xom-lint
mkdir -p "$cache"
log=$(mktemp)
keys=$(mktemp)
trap 'rm -f "$log" "$keys"' EXIT
python3 scripts/lint_keys.py $build "${checked[@]}" >"$keys" || : >"$keys"
todo=()
for f in "${checked[@]}"; do
  key=$(awk -v f="$f" '$2 == f { print $1; exit }' "$keys")
  if [[ -z ${XOM_LINT_NO_CACHE:-} && -n $key && -e $cache/$key ]]; then continue; fi
  todo+=("$f")
done
jobs=$(nproc)
if ((${#todo[@]})); then
  printf '%s\n' "${todo[@]}" |
    xargs -P "$jobs" -n 4 clang-tidy -p $build --quiet >"$log" 2>/dev/null || true
fi
if grep -qE '(warning|error): ' "$log"; then
  grep -E -A3 '(warning|error): ' "$log" >&2
  echo "lint: clang-tidy found $(grep -cE '(warning|error): ' "$log") problems" >&2
  exit 1
fi
awk '{ print $1 }' "$keys" | (cd "$cache" && xargs -r touch)
echo "lint: ${#checked[@]} files clean ($((${#checked[@]} - ${#todo[@]})) unchanged since they last passed)"
