#include "PuzzleFault.h"

#include "outside/MessageCatalogue.h"

QString PuzzleFault::Text() const {
    if (puzzle.isEmpty())
        return line > 0 ? MessageCatalogue::Text(11301).arg(line).arg(what) : what;
    return MessageCatalogue::Text(11300).arg(puzzle, key, what);
}
