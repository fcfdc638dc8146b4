"""The program's own texts and puzzles, read from its message catalogue and
its data file, for the tests that check what a player reads and hears."""
import re


def catalogue(source_dir, language):
    """Every catalogue text by number, in LANGUAGE (es or en)."""
    texts = {}
    pattern = re.compile(r'\{(\d+),\s*"((?:[^"\\]|\\.)*)",\s*"((?:[^"\\]|\\.)*)"\}', re.S)
    with open(f"{source_dir}/outside/MessageCatalogue.cpp", encoding="utf-8") as f:
        source = f.read()
    for number, spanish, english in pattern.findall(source):
        texts[int(number)] = spanish if language == "es" else english
    return texts


def puzzles(data_file):
    """Every puzzle of the data file by number, as its keys and values."""
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
