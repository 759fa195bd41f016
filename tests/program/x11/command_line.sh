#!/usr/bin/env bash
# The command line: --version and --help answer without a display; anything
# else is refused with one line and status 2, before any window opens.
source "$(dirname "$0")/lib.sh"
unset DISPLAY WAYLAND_DISPLAY

run() { # run ARGS...: sets status, out, err
    status=0
    "$TAVREN" "$@" >"$scratch/out" 2>"$scratch/err" || status=$?
    out=$(cat "$scratch/out")
    err=$(cat "$scratch/err")
}

run --version
[ "$status" -eq 0 ] || fail "--version: status $status ($err)"
[ "$(cat "$scratch/out")" = "tavren 1.3.1" ] || fail "--version printed '$out'"
[ "$(wc -l <"$scratch/out")" -eq 1 ] || fail "--version printed more than one line"
[ -z "$err" ] || fail "--version wrote to stderr: $err"

run --help
[ "$status" -eq 0 ] || fail "--help: status $status ($err)"
[ "$(head -1 "$scratch/out")" = "Usage: tavren [options]" ] || fail "--help begins '$(head -1 "$scratch/out")'"
for option in --help --version --verbose TAVREN_LOG=1 tavren.txt; do
    grep -qF -- "$option" "$scratch/out" || fail "--help does not mention $option"
done
if grep -q -- '--help-all' "$scratch/out"; then fail "--help offers Qt's options"; fi

for bad in --bogus -x order.txt "--verbose extra" -platform; do
    # shellcheck disable=SC2086 # "--verbose extra" is two arguments
    run $bad
    [ "$status" -eq 2 ] || fail "'$bad': status $status, expected 2"
    [ -z "$out" ] || fail "'$bad' wrote to stdout: $out"
    [ "$(wc -l <"$scratch/err")" -eq 1 ] || fail "'$bad': not one line on stderr: $err"
    [[ "$err" == tavren:* ]] || fail "'$bad': the error does not name tavren: $err"
done
run order.txt
[[ "$err" == *"'order.txt'"* ]] || fail "the refusal does not name the argument: $err"
echo "PASS: --version, --help and refusals"
