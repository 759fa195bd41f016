#!/usr/bin/env bash
# Checks that Windows programs import only DLLs that every Windows system has,
# so that they run from an unpacked zip with nothing installed beside them
# (no libstdc++-6.dll, libgcc_s_seh-1.dll or libwinpthread-1.dll).
# Usage: check-windows-imports.sh PROGRAM.exe...   (OBJDUMP names the objdump to use)
set -euo pipefail
objdump="${OBJDUMP:-x86_64-w64-mingw32-objdump}"
system='^(kernel32|user32|gdi32|shell32|comdlg32|comctl32|ole32|oleaut32|advapi32|msvcrt|uxtheme|imm32|shlwapi|version|dwmapi|winmm|ws2_32|api-ms-win-[a-z0-9-]+)\.dll$'
status=0
for program in "$@"; do
    imports=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p')
    [ -n "$imports" ] || { echo "$program: no imports found (not a PE file?)" >&2; status=1; continue; }
    foreign=0
    while read -r dll; do
        if ! tr '[:upper:]' '[:lower:]' <<<"$dll" | grep -Eq "$system"; then
            echo "$program imports $dll, which is not a system DLL" >&2
            foreign=1
        fi
    done <<<"$imports"
    if [ $foreign -eq 0 ]; then
        echo "$program: system DLLs only ($(tr '\n' ' ' <<<"$imports"))"
    else
        status=1
    fi
done
exit $status
