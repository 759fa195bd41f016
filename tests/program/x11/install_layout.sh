#!/usr/bin/env bash
# `cmake --install` into a fresh prefix puts the programs in bin/ and a valid
# desktop entry, icon and metainfo under share/.
source "$(dirname "$0")/lib.sh"

cmake --install "$TAVREN_BUILD" --prefix "$scratch/usr" >"$scratch/install.log" ||
    { cat "$scratch/install.log"; fail "cmake --install failed"; }
check_installed_programs "$scratch/usr"
check_installed_tree "$scratch/usr"
check_bus_services "$scratch/usr"
echo "PASS: installed tree"
