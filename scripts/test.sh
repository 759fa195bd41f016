#!/usr/bin/env bash
# Installs what is needed, checks the layout of the sources, builds everything
# with warnings as errors, and runs every test: the headless behaviour tests,
# the X11 and D-Bus backends on a private virtual desktop, the end-to-end runs
# of the built program, the headless tests once more under AddressSanitizer and
# UndefinedBehaviorSanitizer, the fuzz targets for a bounded time, and the
# Windows build's tests under Wine. A step that finds nothing to run fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-format.sh
scripts/build.sh
# As many tests at once as the machine has cores; the tests that need the
# desktop to themselves take its RESOURCE_LOCK and run one at a time anyway.
scripts/with-desktop.sh ctest --test-dir build --output-on-failure --no-tests=error -j"$(nproc)"
scripts/sanitize.sh
scripts/fuzz.sh
scripts/build-windows.sh
scripts/with-desktop.sh scripts/test-windows.sh
