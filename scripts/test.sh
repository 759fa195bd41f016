#!/usr/bin/env bash
# Installs what is needed, checks the layout of the sources, builds everything
# with warnings as errors, and runs every test: the headless behaviour tests,
# the X11 and D-Bus backends on a private virtual desktop, the end-to-end runs
# of the built program, the fuzz targets for a bounded time, and the Windows
# build's tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-format.sh
scripts/build.sh
scripts/with-desktop.sh ctest --test-dir build --output-on-failure -j2
scripts/fuzz.sh
scripts/build-windows.sh
scripts/with-desktop.sh scripts/test-windows.sh
