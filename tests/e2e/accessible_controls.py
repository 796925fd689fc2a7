#!/usr/bin/python3
"""Finds a running program's controls as a screen reader finds them, on the desktop's
accessibility bus (Debian's python3-pyatspi).

Usage: accessible_controls.py PROGRAM SECONDS CONTROL...

Each CONTROL is "role: name", as AT-SPI names the role; a control on a tool bar is
"tool bar role: name". Exits 0 once the program shows every CONTROL; after SECONDS, prints
what is missing and everything it found, and exits 1.
"""
import sys
import time

import pyatspi


def controls(node, inside=""):
    for child in node:
        if child is None:
            continue
        role = child.getRoleName()
        yield f"{inside}{role}: {child.name}"
        yield from controls(child, "tool bar " if role == "tool bar" else "")


def found_in(program):
    for application in pyatspi.Registry.getDesktop(0):
        if application is not None and application.name == program:
            return set(controls(application))
    return set()


def main(program, seconds, *wanted):
    deadline = time.monotonic() + float(seconds)
    while True:
        try:
            found = found_in(program)
        except Exception as error:  # a window may come or go while it is walked
            found = {f"(the walk failed: {error})"}
        missing = [control for control in wanted if control not in found]
        if not missing:
            return 0
        if time.monotonic() > deadline:
            print("missing:", *missing, "found:", *sorted(found), sep="\n  ", file=sys.stderr)
            return 1
        time.sleep(0.2)


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
