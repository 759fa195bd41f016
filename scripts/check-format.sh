#!/usr/bin/env bash
# Checks every C and C++ file tracked by git against .clang-format and fails,
# naming the files, when one differs. The layout is the one Debian 12's
# clang-format (version 14) gives: other versions lay some constructs out
# differently, so the check uses that version by name (CLANG_FORMAT overrides).
# Fix a file with: clang-format-14 -i FILE
set -euo pipefail
cd "$(dirname "$0")/.."
format="${CLANG_FORMAT:-clang-format-14}"
command -v "$format" >/dev/null || {
    echo "check-format: $format is missing (scripts/install-deps.sh installs it)" >&2
    exit 1
}
mapfile -d '' files < <(git ls-files -z -- '*.c' '*.cpp' '*.h' '*.hpp')
((${#files[@]})) || { echo "check-format: no C or C++ files found" >&2; exit 1; }
# One batch of files per clang-format run; each difference is reported as
# "FILE:LINE:COL: error: code should be clang-formatted".
report=$(printf '%s\0' "${files[@]}" | xargs -0 -n 64 -P "$(nproc)" "$format" --dry-run --Werror 2>&1) || true
mapfile -t differing < <(sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: .*clang-format.*/\1/p' <<<"$report" | sort -u)
if ! ((${#differing[@]})) && grep -q . <<<"$report"; then
    echo "check-format: $format failed:" >&2
    echo "$report" >&2
    exit 1
fi
if ((${#differing[@]})); then
    echo "check-format: ${#differing[@]} of ${#files[@]} files differ from .clang-format ($format):" >&2
    printf '  %s\n' "${differing[@]}" >&2
    echo "check-format: fix with: $format -i FILE..." >&2
    exit 1
fi
echo "check-format: all ${#files[@]} C/C++ files follow .clang-format ($("$format" --version | grep -o 'version [0-9.]*'))"
