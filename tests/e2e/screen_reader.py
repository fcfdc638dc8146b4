#!/usr/bin/python3
"""Plays Zelvora through the accessibility bus as a screen reader user
would: every step is a key press (xdotool), every check is what the bus
says and what it announces.

  screen_reader.py SOURCE_DIR DATA_FILE LANGUAGE(es|en) PUZZLE

Prints what a screen reader reads for a title, a board cell and a word;
exits 1 on the first thing that is not as a player needs it.
"""
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

source_dir, data_file, language, puzzle = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])


def fail(message):
    print(f"FAIL ({language}): {message}")
    sys.exit(1)


# ---- what the program should say, from its own catalogue and data ----

def catalogue():
    texts = {}
    pattern = re.compile(r'\{(\d+),\s*"((?:[^"\\]|\\.)*)",\s*"((?:[^"\\]|\\.)*)"\}', re.S)
    with open(f"{source_dir}/outside/MessageCatalogue.cpp", encoding="utf-8") as f:
        source = f.read()
    for number, spanish, english in pattern.findall(source):
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


text = catalogue()
data = puzzles()


def message(number, *values):
    said = text[number]
    for place, value in enumerate(values, 1):
        said = said.replace(f"%{place}", str(value))
    return said


def access_letter(number):
    return re.search(r"&(.)", text[number]).group(1).lower()


# ---- the bus ----

heard = []  # (event type, source, detail1) as announced


def on_event(event):
    heard.append((event.type, event.source, event.detail1))


pyatspi.Registry.registerEventListener(on_event, "focus:", "object:state-changed")


def pump(seconds):
    context = GLib.MainContext.default()
    end = time.time() + seconds
    while time.time() < end:
        while context.iteration(False):
            pass
        time.sleep(0.02)


def wait_for(what, seconds=10):
    end = time.time() + seconds
    while time.time() < end:
        pump(0.05)
        try:
            found = what()
        except Exception:  # an object went away under us: look again
            found = None
        if found:
            return found
    return None


def press(*keys):
    for key in keys:
        subprocess.run(["xdotool", "key", key], check=True)
        pump(0.15)


def program():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "zelvora":
            return app
    return None


def find(root, predicate):
    """Depth-first search, not into the cells of tables."""
    if root is None:
        return None
    if predicate(root):
        return root
    if root.getRole() == pyatspi.ROLE_TABLE:
        return None
    for i in range(root.childCount):
        found = find(root.getChildAtIndex(i), predicate)
        if found:
            return found
    return None


def table_named(name):
    return lambda: find(program(), lambda a: a.getRole() == pyatspi.ROLE_TABLE and a.name == name)


def states(accessible):
    return accessible.getState()


def focused_cell(table):
    for i in range(table.childCount):
        cell = table.getChildAtIndex(i)
        if states(cell).contains(pyatspi.STATE_FOCUSED):
            return cell
    return None


def announced(kind, name, detail=1):
    """An event of `kind` about a cell named `name` has been heard."""
    for event_type, source, detail1 in heard:
        try:
            if event_type.startswith(kind) and source.name == name and detail1 == detail:
                return source
        except Exception:
            continue
    return None


def last_focus():
    """What the reader last heard focused."""
    for event_type, source, detail1 in reversed(heard):
        if event_type.startswith("focus"):
            return source
    return None


def reading(cell):
    """What a screen reader says for an object: its name and description."""
    return f"{cell.name!r} — {cell.description!r}"


samples = {}

# ---- choose a puzzle ----
def active_frame():
    return find(program(), lambda a: a.getRole() == pyatspi.ROLE_FRAME and
                states(a).contains(pyatspi.STATE_ACTIVE))


def seen():
    """What the bus shows of the program's windows, for a failure message."""
    app = program()
    if app is None:
        return "the program is not on the bus"
    return "; ".join(f"{w.getRoleName()} {w.name!r} {[pyatspi.stateToString(s) for s in w.getState().getStates()]}"
                     for w in app)


def bring_up():
    """The window manager may take a new window late: ask again until it is active."""
    for attempt in range(15):
        if wait_for(active_frame, 2):
            return True
        for how in ("windowactivate", "windowfocus"):
            subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Zelvora", how],
                           stderr=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
    return False


def x_focus():
    said = []
    for command in (["xdotool", "getwindowfocus", "getwindowname"],
                    ["xprop", "-root", "_NET_ACTIVE_WINDOW"],
                    ["xdotool", "search", "--onlyvisible", "--name", "."]):
        found = subprocess.run(command, capture_output=True, text=True)
        said.append((found.stdout.strip() or found.stderr.strip()).replace("\n", " "))
    return " | ".join(said)


if not bring_up():
    fail(f"the program's window is not active on the accessibility bus ({seen()}); "
         f"X focus: {x_focus()!r}")


def from_menu(menu, item, appears):
    """Runs a menu command by its access letters; what `appears` finds."""
    for attempt in range(3):  # a key pressed while the machine is busy may be lost
        press(f"alt+{access_letter(menu)}")
        pump(0.3)
        press(access_letter(item))
        found = wait_for(appears, 5)
        if found:
            return found
        press("Escape")
    return None


chooser = from_menu(10404, 10405, table_named(message(11210)))
if not chooser:
    fail(f"no table named {message(11210)!r} (the list of puzzles)")
titles = [chooser.getChildAtIndex(i).name for i in range(chooser.childCount)]
expected = [f"{n} - {data[n]['Titulo']}" for n in sorted(data)]
if titles != expected:
    fail(f"the chooser reads {titles[:3]}..., expected {expected[:3]}...")
if chooser.description != message(11211, "", "", len(expected)):
    fail(f"the chooser's description is {chooser.description!r}")
table = chooser.queryTable()
if table.nRows != len(expected) or table.nColumns != 1:
    fail(f"the chooser's table is {table.nColumns}x{table.nRows}")
heard.clear()
press(*["Down"] * (puzzle - 1))
title = f"{puzzle} - {data[puzzle]['Titulo']}"
if puzzle > 1 and not wait_for(lambda: announced("object:state-changed:focused", title)):
    fail(f"moving to {title!r} in the chooser was not announced")
samples["chooser"] = reading(chooser)
samples["title"] = reading(chooser.getChildAtIndex(puzzle - 1))
heard.clear()
press("Return")

# ---- the board: a table of letters ----
columns, rows = int(data[puzzle]["CantAncho"]), int(data[puzzle]["CantAlto"])
letters = data[puzzle]["Letras"]
board = wait_for(table_named(message(11200, puzzle, data[puzzle]["Titulo"])))
if not board:
    fail(f"no board table named {message(11200, puzzle, data[puzzle]['Titulo'])!r}")
grid = board.queryTable()
if (grid.nColumns, grid.nRows, board.childCount) != (columns, rows, columns * rows):
    fail(f"the board is {grid.nColumns}x{grid.nRows} with {board.childCount} cells")
names = "".join(grid.getAccessibleAt(r, c).name for r in range(rows) for c in range(columns))
if names != letters:
    fail(f"the board reads {names!r}, the puzzle has {letters!r}")
if board.description != message(11201, 0, columns, rows):
    fail(f"the board's description is {board.description!r}")
first = wait_for(lambda: focused_cell(board))
if not first or first.name != letters[0]:
    fail(f"the first letter is not the focused cell after choosing ({seen()}); X: {x_focus()}")
# What the reader says on coming back to the board: its first letter.
if not wait_for(lambda: last_focus() is not None and last_focus().getRole() == pyatspi.ROLE_TABLE_CELL
                and last_focus().name == letters[0] and last_focus().parent.name == board.name):
    focus = last_focus()
    fail(f"after choosing, the reader last heard {focus.getRoleName() if focus else None} "
         f"{focus.name if focus else ''!r}, not the board's first letter")

# ---- move with the arrows: each new cell is announced ----
heard.clear()
press("Right", "Down")
target = grid.getAccessibleAt(1, 1)  # row 2, column 2
if not wait_for(lambda: announced("object:state-changed:focused", target.name) and
                states(target).contains(pyatspi.STATE_FOCUSED)):
    fail(f"moving to row 2, column 2 was not announced ({[h[0] for h in heard]})")
if target.description != message(11205, message(11204), 2, 2):
    fail(f"row 2, column 2 reads {reading(target)}")

# ---- mark and unmark by keyboard ----
heard.clear()
press("space")
if not wait_for(lambda: announced("object:state-changed:checked", target.name)):
    fail(f"marking was not announced ({[h[0] for h in heard]})")
if not states(target).contains(pyatspi.STATE_CHECKED):
    fail("the marked cell is not checked on the bus")
if target.description != message(11205, message(11203), 2, 2):
    fail(f"the marked cell reads {reading(target)}")
if board.description != message(11201, 1, columns, rows):
    fail(f"after a mark the board's description is {board.description!r}")
samples["board"] = reading(board)
samples["cell"] = reading(target)
heard.clear()
press("space")
if not wait_for(lambda: announced("object:state-changed:checked", target.name, 0)):
    fail("unmarking was not announced")
if states(target).contains(pyatspi.STATE_CHECKED) or \
        target.description != message(11205, message(11204), 2, 2):
    fail(f"the unmarked cell reads {reading(target)}")
press("space")  # marked again: the program keeps it

# ---- cross a word out in the list ----
words = data[puzzle]["Palabras"].split(" ")
word_list = wait_for(table_named(message(11206)))
if not word_list:
    fail(f"no table named {message(11206)!r}")
header = word_list.getChildAtIndex(0)
if header.getRole() != pyatspi.ROLE_TABLE_COLUMN_HEADER or header.name != message(10200):
    fail(f"the list's heading reads {header.getRoleName()} {header.name!r}")
heard.clear()
press("Tab")  # the list, reached by the keyboard, makes its first word current
word = word_list.queryTable().getAccessibleAt(0, 0)
if word.name != words[0]:
    fail(f"the first word reads {word.name!r}, expected {words[0]!r}")
if not wait_for(lambda: announced("object:state-changed:focused", word.name)):
    fail("reaching the first word was not announced")
heard.clear()
press("space")
if not wait_for(lambda: announced("object:state-changed:checked", word.name)):
    fail("crossing the word out was not announced")
if word.description != message(11212, message(11208), 1):
    fail(f"the crossed-out word reads {reading(word)}")
if word_list.description != message(11207, 1, "", len(words)):
    fail(f"the list's description is {word_list.description!r}")
samples["list"] = reading(word_list)
samples["word"] = reading(word)

# ---- read the solution ----
solution = from_menu(10408, 10410, table_named(message(11202, puzzle, data[puzzle]["Titulo"])))
if not solution:
    fail("the solution did not open as a table")
solved = {int(data[puzzle]["Solucion"][i:i + 3]) for i in range(0, len(data[puzzle]["Solucion"]), 3)}
shown = solution.queryTable()
for index in range(1, columns * rows + 1):
    cell = shown.getAccessibleAt((index - 1) // columns, (index - 1) % columns)
    marked = states(cell).contains(pyatspi.STATE_CHECKED)
    if marked != (index in solved) or (cell.name == letters[index - 1]) != marked:
        fail(f"solution cell {index} reads {reading(cell)}")
samples["solution cell"] = reading(shown.getAccessibleAt(
    (min(solved) - 1) // columns, (min(solved) - 1) % columns))
press("Escape")
if not wait_for(lambda: not table_named(message(11202, puzzle, data[puzzle]["Titulo"]))()):
    fail("the solution did not close with Escape")

# ---- the settings dialog: swatches say their row and colour ----
def dialog_named(name):
    return lambda: find(program(), lambda a: a.getRole() == pyatspi.ROLE_DIALOG and a.name == name)


settings = from_menu(10404, 10406, dialog_named(text[10700]))
if not settings:
    fail("the settings dialog did not open")
background = message(11220, text[10702])  # "Fondo: rojo %2..." with the colour still open
swatch = find(settings, lambda a: a.getRole() == pyatspi.ROLE_LABEL and
              a.name.startswith(background.split("%")[0]))
if not swatch or not re.fullmatch(re.escape(background).replace("%2", r"\d+").replace("%3", r"\d+")
                                  .replace("%4", r"\d+"), swatch.name):
    fail(f"the background swatch reads {swatch.name if swatch else None!r}")
button = find(settings, lambda a: a.getRole() == pyatspi.ROLE_PUSH_BUTTON and a.name == text[10708])
if not button or button.description != text[10702]:
    fail("the colour buttons are not named from their tooltips")
samples["swatch"] = f"{swatch.name!r}; button {button.name!r} — {button.description!r}"
press("Escape")
if not wait_for(lambda: not dialog_named(text[10700])()):
    fail("the settings dialog did not close with Escape")

for what, said in samples.items():
    print(f"{language} {what}: {said}")
print(f"PASS ({language})")
