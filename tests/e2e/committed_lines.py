"""Follows the Windows test target's log ("char <hex>" lines among others) and
writes each line the target committed with Enter to a log of its own, as the
Linux test target logs them: the text before each carriage return, backspaces
applied, line feeds (Ctrl+Enter in an edit control) left out.

    committed_lines.py TARGET_LOG LINES    (runs until it is ended)
"""
import sys
import time

target_log, lines_path = sys.argv[1], sys.argv[2]
line = []
pending = b""
with open(target_log, "rb") as source, open(lines_path, "a", encoding="utf-8") as out:
    while True:
        chunk = source.read()
        if not chunk:
            time.sleep(0.02)
            continue
        pending += chunk
        *entries, pending = pending.split(b"\n")
        for entry in entries:
            kind, _, value = entry.decode("utf-8").strip().partition(" ")
            if kind != "char":
                continue
            code = int(value, 16)
            if code == 0x0D:
                out.write("".join(line) + "\n")
                out.flush()
                line = []
            elif code == 0x08:
                line = line[:-1]
            elif code != 0x0A:
                line.append(chr(code))
