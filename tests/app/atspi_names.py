#!/usr/bin/python3
"""Reads the running window as a screen reader does, over AT-SPI, and lists its unnamed
controls page by page.

Run inside dbus-run-session on an X display: starts the accessibility bus, then the command
after "--" (the program, under the virtual mouse), presses each page's tab through the tab's
own AT-SPI action and walks the objects showing. Prints one line per page, "PAGE controls
unnamed", then one line per unnamed control; exits 1 when any control has no name, 2 when the
window or a tab did not turn up.

A control is an object a user acts on or reads a state from (buttons, boxes, sliders,
fields, lists, progress bars, pictures), or a painted widget of our own with nothing inside
(a filler without children). Labels are named by their text; containers are not controls.
"""
import os
import subprocess
import sys
import time

PAGES = ["LIGHTING", "CUSTOMIZE", "DPI", "MACRO"]
CONTROL_ROLES = {
    "push button", "toggle button", "check box", "radio button", "slider", "spin button",
    "combo box", "text", "entry", "list", "tree", "table", "tree table", "progress bar",
    "image", "icon",
}


def wait_for(find, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found is not None:
            return found
        time.sleep(0.2)
    return None


def main():
    program = sys.argv[sys.argv.index("--") + 1:]
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                           stderr=subprocess.DEVNULL)
    app_process = None
    try:
        time.sleep(1)
        import pyatspi  # connects to the bus just started

        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
        app_process = subprocess.Popen(program, env=env)
        name = os.path.basename(program[-1])
        desktop = pyatspi.Registry.getDesktop(0)

        def window():
            for app in desktop:
                if app is not None and app.name == name and app.childCount > 0:
                    return app
            return None

        app = wait_for(window, 30)
        if app is None:
            print("the window did not appear")
            return 2

        def walk(obj, found):
            for child in obj:
                if child is None or not child.getState().contains(pyatspi.STATE_SHOWING):
                    continue
                role = child.getRoleName()
                if role in CONTROL_ROLES or (role == "filler" and child.childCount == 0):
                    found.append(child)
                walk(child, found)
            return found

        def tab(title):
            return next((c for c in walk(app, []) if c.getRoleName() in (
                "push button", "toggle button") and c.name == title), None)

        unnamed_total = 0
        for page in PAGES:
            button = wait_for(lambda: tab(page), 10)
            if button is None:
                print(f"no tab {page}")
                return 2
            button.queryAction().doAction(0)
            # The page shows once its first control is read as showing.
            time.sleep(1.0)
            controls = walk(app, [])
            unnamed = [c for c in controls if not c.name.strip()]
            unnamed_total += len(unnamed)
            print(f"{page} {len(controls)} {len(unnamed)}")
            for c in unnamed:
                print(f"  {c.getRoleName()} in {c.parent.getRoleName()} '{c.parent.name}'")
        return 1 if unnamed_total else 0
    finally:
        if app_process is not None:
            app_process.terminate()
            try:
                app_process.wait(10)
            except subprocess.TimeoutExpired:
                app_process.kill()
        bus.terminate()


if __name__ == "__main__":
    sys.exit(main())
