#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the running window over AT-SPI as a screen reader does and lists its unnamed controls.

Run inside dbus-run-session on an X display: "atspi_names.py -- PROGRAM ARGS..." starts the
accessibility bus and the program, presses each page's tab through the tab's own AT-SPI action
and walks the objects showing. Prints "PAGE controls unnamed" per page, then each unnamed
control; exits 1 when any is unnamed, 2 when the window or a tab did not turn up. Controls are
counted by the rule of tst_accessibility.cpp (a filler without children is a painted widget).
"""
import os
import subprocess
import sys
import time

CONTROLS = {"push button", "toggle button", "check box", "radio button", "page tab", "slider",
            "spin button", "combo box", "text", "entry", "list", "tree", "table",
            "tree table", "progress bar", "image", "icon"}


def wait_for(find, seconds):
    for _ in range(int(seconds * 5)):
        found = find()
        if found is not None:
            return found
        time.sleep(0.2)
    return None


def controls(obj, found):
    import pyatspi
    for child in obj:
        if child is None or not child.getState().contains(pyatspi.STATE_SHOWING):
            continue
        role = child.getRoleName()
        if role in CONTROLS or (role == "filler" and child.childCount == 0):
            found.append(child)
        controls(child, found)
    return found


def read_pages(desktop, name):
    app = wait_for(lambda: next((a for a in desktop if a is not None and a.name == name
                                 and a.childCount > 0), None), 30)
    if app is None:
        print("the window did not appear")
        return 2
    unnamed_total = 0
    for page in ["LIGHTING", "CUSTOMIZE", "DPI", "MACRO"]:
        tab = wait_for(lambda: next((c for c in controls(app, []) if c.name == page
                                    and c.getRoleName() == "page tab"),
                                   None), 10)
        if tab is None:
            print(f"no tab {page}")
            return 2
        tab.queryAction().doAction(0)
        time.sleep(1.0)  # the page shows and its objects reach the bus
        found = controls(app, [])
        unnamed = [c for c in found if not c.name.strip()]
        unnamed_total += len(unnamed)
        print(f"{page} {len(found)} {len(unnamed)}")
        for c in unnamed:
            print(f"  {c.getRoleName()} in {c.parent.getRoleName()} '{c.parent.name}'")
    return 1 if unnamed_total else 0


def main():
    program = sys.argv[sys.argv.index("--") + 1:]
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                           stderr=subprocess.DEVNULL)
    time.sleep(1)
    import pyatspi  # talks to the bus just started
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    app = subprocess.Popen(program, env=env)
    try:
        return read_pages(pyatspi.Registry.getDesktop(0), os.path.basename(program[-1]))
    finally:
        app.terminate()
        app.wait(10)
        bus.terminate()


if __name__ == "__main__":
    sys.exit(main())
