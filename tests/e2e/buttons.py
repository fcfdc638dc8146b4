#!/usr/bin/python3
"""Prints the push buttons of one of a program's dialogs as the
accessibility bus shows them: one line per button, "x y width height name",
in screen pixels.

    buttons.py PID TITLE_REGEX

Only dialogs and message boxes are searched, and tables are not entered (a
board has hundreds of cells). Exits 1 when no such dialog is found."""
import re
import sys

import pyatspi

WINDOW_ROLES = (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG, pyatspi.ROLE_FRAME)


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for index in range(desktop.childCount):
        app = desktop.getChildAtIndex(index)
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:  # an application that went away meanwhile
            continue
    return None


def buttons(node, depth=0):
    found = []
    if depth > 8:
        return found
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is None:
            continue
        role = child.getRole()
        if role == pyatspi.ROLE_PUSH_BUTTON:
            box = child.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            found.append((box.x, box.y, box.width, box.height, child.name))
        elif role in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE):
            continue
        elif role == pyatspi.ROLE_PANEL and "Table" in pyatspi.listInterfaces(child):
            continue  # the board: a group of letter cells
        else:
            found.extend(buttons(child, depth + 1))
    return found


def main():
    pid, title = int(sys.argv[1]), re.compile(sys.argv[2])
    app = application(pid)
    if app is None:
        print("no application with process %d on the bus" % pid, file=sys.stderr)
        return 1
    for index in range(app.childCount):
        window = app.getChildAtIndex(index)
        if window is None or window.getRole() not in WINDOW_ROLES:
            continue
        if not title.search(window.name or ""):
            continue
        found = buttons(window)
        if found:
            for x, y, width, height, name in found:
                print(x, y, width, height, name)
            return 0
    print("no window titled %s with buttons" % sys.argv[2], file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
