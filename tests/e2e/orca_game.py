#!/usr/bin/python3
"""Plays Zelvora by keys with Orca listening, and checks what Orca said
after each step: the text the synthesizer received, as a player hears it.

  orca_game.py SOURCE_DIR DATA_FILE LANGUAGE(es|en) SPEECH_FILE ORCA_LOG WINDOW

Prints every step with what was said; exits 1 when a step was not heard
as the player needs it (ZELVORA_ORCA_RECORD=1 only prints).
"""
import os
import re
import subprocess
import sys
import time

source_dir, data_file, language, speech_file, orca_log, window = sys.argv[1:7]
record_only = os.environ.get("ZELVORA_ORCA_RECORD") == "1"
puzzle = 2


def catalogue():
    texts = {}
    pattern = re.compile(r'\{(\d+),\s*"((?:[^"\\]|\\.)*)",\s*"((?:[^"\\]|\\.)*)"\}', re.S)
    with open(f"{source_dir}/outside/MessageCatalogue.cpp", encoding="utf-8") as f:
        for number, spanish, english in pattern.findall(f.read()):
            texts[int(number)] = spanish if language == "es" else english
    return texts


def puzzles():
    found, section = {}, None
    with open(data_file, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line.startswith("["):
                section = int(line[1:line.index("]")])
                found[section] = {}
            elif "=" in line and section is not None:
                key, value = line.split("=", 1)
                found[section][key] = value
    return found


text, data = catalogue(), puzzles()
game = data[puzzle]
columns = int(game["CantAncho"])
letters = game["Letras"]
words = game["Palabras"].split(" ")
solution = {int(game["Solucion"][i:i + 3]) for i in range(0, len(game["Solucion"]), 3)}


def access_letter(number):
    return re.search(r"&(.)", text[number]).group(1).lower()


# ---- keys, pressed as a person presses them ----

def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True)


def press(chord):
    *modifiers, key = chord.split("+")
    names = {"alt": "Alt_L", "shift": "Shift_L", "ctrl": "Control_L"}
    for modifier in modifiers:
        xdotool("keydown", names[modifier])
        time.sleep(0.05)
    xdotool("keydown", key)
    time.sleep(0.06)
    xdotool("keyup", key)
    for modifier in reversed(modifiers):
        time.sleep(0.05)
        xdotool("keyup", names[modifier])


# ---- what was said ----

class Tail:
    def __init__(self, path):
        self.path, self.offset = path, 0

    def new(self):
        try:
            with open(self.path, encoding="utf-8", errors="replace") as f:
                f.seek(self.offset)
                found = f.read()
                self.offset = f.tell()
                return found
        except FileNotFoundError:
            return ""


spoken, logged = Tail(speech_file), Tail(orca_log)


def listen(least=1.0, quiet=0.6, most=5.0):
    """What was said after a step, once speech has been quiet a while."""
    start = last = time.time()
    said = []
    while time.time() - start < most:
        lines = [line for line in spoken.new().splitlines() if line.strip()]
        if lines:
            said += lines
            last = time.time()
        if time.time() - start >= least and time.time() - last >= quiet:
            break
        time.sleep(0.05)
    output = re.findall(r"SPEECH OUTPUT: '(.*)'", logged.new())
    return said, output


steps = []  # (name, said)
failures = []


def step(name, *chords, least=1.0):
    for chord in chords:
        press(chord)
        time.sleep(0.05)
    said, _ = listen(least)
    steps.append((name, said))
    print(f"[{language}] {name}: {' | '.join(said) if said else '(nothing)'}", flush=True)
    return " | ".join(said)


def expect(name, said, *patterns, absent=()):
    for pattern in patterns:
        if not re.search(pattern, said, re.I):
            failures.append(f"{name}: {pattern!r} not heard in {said!r}")
    for pattern in absent:
        if re.search(pattern, said, re.I):
            failures.append(f"{name}: {pattern!r} heard in {said!r}")


# ---- the game ----

for attempt in range(20):
    if subprocess.run(["xdotool", "windowactivate", "--sync", window],
                      stderr=subprocess.DEVNULL).returncode == 0:
        break
    time.sleep(0.1)
start = step("start", least=3.0)
menu = step("Alt+menu", f"alt+{access_letter(10404)}")
chooser = step("choose puzzle", access_letter(10405), least=1.5)
title = step("Down in the chooser", "Down")
board = step("Enter", "Return", least=1.5)
right = step("Right", "Right")
down = step("Down", "Down")
mark = step("Space (mark)", "space")
unmark = step("Space (unmark)", "space")
step("Space (mark again)", "space")
arrive = step("Tab to the word list", "Tab")
word = step("Down in the list", "Down")
cross = step("Space (cross out)", "space")
restore = step("Space (restore)", "space")
step("Space (cross out again)", "space")
back = step("Shift+Tab to the board", "shift+Tab")
step("Alt+help menu", f"alt+{access_letter(10408)}")
viewer = step("show solution", access_letter(10410), least=1.5)
viewer_right = step("Right in the solution", "Right")
viewer_down = step("Down in the solution", "Down")
closed = step("Escape from the solution", "Escape", least=2.0)
step("Alt+options menu", f"alt+{access_letter(10404)}")
settings = step("settings", access_letter(10406), least=1.5)
tabs = [step(f"Tab {n} in the settings", "Tab") for n in range(1, 4)]
settings_closed = step("Escape from the settings", "Escape", least=2.0)

if not record_only:
    pass  # the expectations follow the behaviour being built

print(f"[{language}] {len(steps)} steps")
for failure in failures:
    print(f"FAIL ({language}): {failure}")
sys.exit(1 if failures else 0)
