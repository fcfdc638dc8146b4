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

from game_texts import catalogue, puzzles

source_dir, data_file, language, speech_file, orca_log, window = sys.argv[1:7]
record_only = os.environ.get("ZELVORA_ORCA_RECORD") == "1"
puzzle = 2


text, data = catalogue(source_dir, language), puzzles(data_file)
game = data[puzzle]
columns = int(game["CantAncho"])
letters = game["Letras"]
words = game["Palabras"].split(" ")
solution = {int(game["Solucion"][i:i + 3]) for i in range(0, len(game["Solucion"]), 3)}


def access_letter(number):
    return re.search(r"&(.)", text[number]).group(1).lower()


# ---- keys, pressed as a person presses them ----

def xdotool(*arguments):
    subprocess.run(["xdotool", *arguments], check=True, timeout=10)


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


def listen(least=1.0, quiet=0.6, most=5.0, until=None):
    """What was said after a step, once speech has been quiet a while (and,
    with until, once that text was heard: a window opening on a loaded
    machine can take longer than the quiet spell), and when the last line
    came (seconds after the key)."""
    start = last = time.time()
    said = []
    while time.time() - start < most:
        lines = [line for line in spoken.new().splitlines() if line.strip()]
        if lines:
            said += lines
            last = time.time()
            listen.last = last
        awaited = until is None or until.lower() in normal(" ".join(said)).lower()
        if awaited and time.time() - start >= least and time.time() - last >= quiet:
            break
        time.sleep(0.05)
    output = re.findall(r"SPEECH OUTPUT: '(.*)'", logged.new())
    return said, output


steps = []  # (name, said)
failures = []


def step(name, *chords, least=1.0, until=None):
    pressed = time.time()
    for chord in chords:
        press(chord)
        time.sleep(0.05)
    listen.last = None
    said, _ = listen(least, most=15.0 if until else 5.0,
                     until=normal(until) if until else None)
    steps.append((name, said))
    late = f" (last line {listen.last - pressed:.2f} s after the key)" if listen.last else ""
    print(f"[{language}] {name}: {' | '.join(said) if said else '(nothing)'}{late}", flush=True)
    return said


def normal(line):
    """A line as the synthesizer was given it, without the pauses Orca adds."""
    return re.sub(r"\s+", " ", line).strip().rstrip(".").strip()


def heard_in_order(name, said, *texts):
    """Each text begins a line of its own (Orca may add a role), in this order."""
    lines = [normal(line) for line in said]
    at = 0
    for wanted in texts:
        wanted = normal(wanted)
        while at < len(lines) and lines[at] != wanted and not lines[at].startswith(wanted + " "):
            at += 1
        if at == len(lines):
            failures.append(f"{name}: {wanted!r} not heard (in order) in {lines}")
            return
        at += 1


def heard(name, said, pattern):
    if not re.search(pattern, " | ".join(said)):
        failures.append(f"{name}: {pattern!r} not heard in {said}")


def one_letter(name, said, letter):
    """Only the letter reached is read, not its row."""
    letters = [normal(line) for line in said if len(normal(line)) == 1]
    if letters != [letter]:
        failures.append(f"{name}: letters read {letters}, expected only {letter!r}")


def message(number, *values):
    said = text[number]
    for place, value in enumerate(values, 1):
        said = said.replace(f"%{place}", str(value))
    return said


def plain(number):
    return text[number].replace("&", "").removesuffix("...")


# ---- the game ----

# windowactivate --sync can wait forever for a window manager's answer.
for attempt in range(20):
    try:
        if subprocess.run(["xdotool", "windowactivate", "--sync", window],
                          stderr=subprocess.DEVNULL, timeout=3).returncode == 0:
            break
    except subprocess.TimeoutExpired:
        pass
    time.sleep(0.1)
start = step("start", least=3.0)
menu = step("Alt+menu", f"alt+{access_letter(10404)}")
chooser = step("choose puzzle", access_letter(10405), least=1.5, until=text[11210])
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
viewer = step("show solution", access_letter(10410), least=1.5,
              until=message(11202, puzzle, game["Titulo"]))
viewer_right = step("Right in the solution", "Right")
viewer_down = step("Down in the solution", "Down")
closed = step("Escape from the solution", "Escape", least=2.0)
step("Alt+options menu", f"alt+{access_letter(10404)}")
settings = step("settings", access_letter(10406), least=1.5, until=text[10708])
tabs = [step(f"Tab {n} in the settings", "Tab") for n in range(1, 4)]
settings_closed = step("Escape from the settings", "Escape", least=2.0)

# ---- what the player must have heard ----
on, off = text[11203], text[11204]
crossed, uncrossed = text[11208], text[11209]
board_name = message(11200, puzzle, game["Titulo"])
solution_name = message(11202, puzzle, game["Titulo"])
title = f"{text[10400]} {puzzle}"
# Our own texts never make the synthesizer say punctuation.
punctuation = r"punto y coma|dos puntos" if language == "es" else r"\bsemi\b|\bcolon\b"
for name, said in steps:
    if re.search(punctuation, " | ".join(said)):
        failures.append(f"{name}: punctuation spoken in {said}")

heard("start", start, re.escape(text[11213].split(".")[0]))
heard("start", start, re.escape(f"{plain(10404)}") + r".*" + re.escape(plain(10405)))
heard_in_order("Enter", board, board_name, letters[0], message(11205, off, 1, 1))
one_letter("Enter", board, letters[0])
heard_in_order("Right", right, letters[1], message(11205, off, 1, 2))
one_letter("Right", right, letters[1])
heard_in_order("Down", down, letters[columns + 1], message(11205, off, 2, 2))
one_letter("Down", down, letters[columns + 1])
heard_in_order("Space (mark)", mark, message(11205, on, 2, 2))
heard_in_order("Space (unmark)", unmark, message(11205, off, 2, 2))
heard_in_order("Tab to the word list", arrive, message(11206), words[0], message(11212, uncrossed, 1))
heard_in_order("Down in the list", word, words[1], message(11212, uncrossed, 2))
heard_in_order("Space (cross out)", cross, message(11225, message(11212, crossed, 2),
                                                      message(11207, 1, "", len(words))))
heard_in_order("Space (restore)", restore, message(11225, message(11212, uncrossed, 2),
                                                       message(11207, 0, "", len(words))))
heard_in_order("Shift+Tab to the board", back, board_name, letters[columns + 1],
               message(11205, on, 2, 2))
one_letter("Shift+Tab to the board", back, letters[columns + 1])
first = min(solution)
heard_in_order("show solution", viewer, solution_name, message(11205, text[11215], 1, 1))
heard_in_order("Right in the solution", viewer_right, message(11205, text[11215], 1, 2))
if columns + 2 in solution:
    heard_in_order("Down in the solution", viewer_down, letters[columns + 1],
                   message(11205, text[11214], 2, 2))
for name, said in (("Escape from the solution", closed), ("Escape from the settings", settings_closed)):
    lines = [normal(line) for line in said]
    titled = [i for i, line in enumerate(lines) if line.startswith(title)]
    if not titled or not any(line.startswith(normal(board_name)) for line in lines[titled[0]:]):
        failures.append(f"{name}: the window's title is not heard before the board in {lines}")
    heard_in_order(name, said, board_name, letters[columns + 1], message(11205, on, 2, 2))
    one_letter(name, said, letters[columns + 1])
rows = [text[number].rstrip(":") for number in (10702, 10703, 10704, 10705)]
swatch = re.escape(message(11220, rows[1])).replace("%2", "[^,]+")
for place in (3, 4, 5):
    swatch = swatch.replace(f"%{place}", r"\d+")
heard("settings", settings, swatch)
heard_in_order("settings", settings, text[10708])
for n, said in enumerate(tabs, 1):
    heard_in_order(f"Tab {n} in the settings", said, text[10708])
    heard(f"Tab {n} in the settings", said, "^" + r".*\| " + re.escape(rows[n]) + ", [^,|]+$")

if record_only:
    failures = []

print(f"[{language}] {len(steps)} steps")
for failure in failures:
    print(f"FAIL ({language}): {failure}")
sys.exit(1 if failures else 0)
