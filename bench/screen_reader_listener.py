#!/usr/bin/python3
"""Listens on the accessibility bus as a screen reader does, so that the
program's bridge really sends its events: registers for focus, state and
property changes and, like a reader about to speak, reads the name and
description of what each event is about. Prints "listening" when ready and
runs until killed. Used by bench/run.sh."""
import signal

import pyatspi
from gi.repository import GLib

heard = 0


def on_event(event):
    global heard
    heard += 1
    try:
        event.source.name, event.source.description
    except Exception:
        pass


pyatspi.Registry.registerEventListener(
    on_event, "focus:", "object:state-changed", "object:property-change",
    "object:children-changed")
GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, lambda: pyatspi.Registry.stop() or False)
print("listening", flush=True)
try:
    pyatspi.Registry.start()
finally:
    print(f"heard {heard} events", flush=True)
