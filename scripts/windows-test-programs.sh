#!/usr/bin/env bash
# Prints the Windows test programs (*_tests.exe) that ctest runs in the build
# directory BUILD, one a line: the programs the tests zip must hold.
# Usage: scripts/windows-test-programs.sh BUILD
set -euo pipefail
ctest --test-dir "$1" --show-only=json-v1 | python3 -c '
import json, os, sys
programs = {os.path.basename(argument)
            for test in json.load(sys.stdin)["tests"]
            for argument in test.get("command", [])
            if argument.endswith("_tests.exe")}
print("\n".join(sorted(programs)))'
