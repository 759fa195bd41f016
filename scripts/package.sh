#!/usr/bin/env bash
# Builds Tavren's Debian package: installs what is needed, builds, and writes
# dist/tavren_<version>_<architecture>.deb, printing its path.
#   scripts/package.sh                       build into build/, package into dist/
#   scripts/package.sh --from BUILD OUTDIR   package an existing build (the tests)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ "${1:-}" = "--from" ]; then
    build="$(cd "$2" && pwd)"
    mkdir -p "$3"
    out="$(cd "$3" && pwd)"
else
    "$root/scripts/install-deps.sh"
    "$root/scripts/build.sh"
    build="$root/build"
    out="$root/dist"
    mkdir -p "$out"
fi
# CPack's staging tree stays in the build directory, out of dist/.
staging="$build/package"
rm -rf "$staging"
cpack --config "$build/CPackConfig.cmake" -B "$staging" >"$build/package.log" 2>&1 ||
    { cat "$build/package.log" >&2; exit 1; }
shopt -s nullglob
debs=("$staging"/*.deb)
[ ${#debs[@]} -eq 1 ] || { echo "cpack made ${#debs[@]} packages" >&2; exit 1; }
cp "${debs[0]}" "$out/"
echo "$out/$(basename "${debs[0]}")"
