#!/bin/sh
# Runs inside a terminal: appends every byte the terminal hands on to LOGFILE
# the moment it arrives (no line editing, no echo), as a terminal IRC client
# reads its keyboard. Usage: tavren_term_reader.sh LOGFILE
stty -echo -icanon min 1 time 0
exec cat >>"$1"
